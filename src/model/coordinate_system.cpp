#include "model/coordinate_system.h"

#include <ogr_spatialref.h>

#include "model/gdal_scope.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

OGRSpatialReference fromWkt(const std::string& wkt) {
  OGRSpatialReference system;
  system.importFromWkt(wkt.c_str());
  return system;
}

}  // namespace

std::string projectedSystemWkt(const std::string& text) {
  GdalScope gdal;
  OGRSpatialReference system;
  const char* const offline[] = {"ALLOW_NETWORK_ACCESS=NO", "ALLOW_FILE_ACCESS=NO", nullptr};
  if (text.empty() || system.SetFromUserInput(text.c_str(), offline) != OGRERR_NONE) {
    std::string problem = quotedFound(text) + " is not a coordinate system GDAL knows";
    if (!gdal.reason().empty()) problem += " (" + gdal.reason() + ")";
    throw CoordinateSystemError(problem +
                                "; give an EPSG code such as EPSG:6677, a WKT or a PROJ string");
  }
  if (!system.IsProjected()) {
    const char* name = system.GetName();
    throw CoordinateSystemError(quotedFound(text) + " (" + (name ? name : "unnamed") +
                                ") is not a projected system; name one in metres, such as "
                                "EPSG:6677, so that heights and distances share their unit");
  }
  char* wkt = nullptr;
  system.exportToWkt(&wkt);
  const std::string result = wkt ? wkt : "";
  CPLFree(wkt);
  return result;
}

bool isGeographic(const std::string& wkt) {
  if (wkt.empty()) return false;
  GdalScope gdal;
  return fromWkt(wkt).IsGeographic();
}

bool sameSystem(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return a.empty() && b.empty();
  GdalScope gdal;
  const OGRSpatialReference other = fromWkt(b);
  return fromWkt(a).IsSame(&other) != 0;
}

std::string linearUnitName(const std::string& wkt) {
  GdalScope gdal;
  const OGRSpatialReference system = fromWkt(wkt);
  const char* name = nullptr;  // points into `system`
  system.GetLinearUnits(&name);
  return name && *name ? name : "unit";
}

std::string systemName(const std::string& wkt) {
  GdalScope gdal;
  const OGRSpatialReference system = fromWkt(wkt);
  const char* name = system.GetName();
  return name && *name ? name : "an unnamed system";
}

}  // namespace kalvenor
