#include "model/coordinate_system.h"

#include <ogr_spatialref.h>

#include <cstring>
#include <map>
#include <utility>

#include "model/gdal_scope.h"
#include "model/gdal_string.h"
#include "model/message_text.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

OGRSpatialReference fromWkt(const std::string& wkt) {
  OGRSpatialReference system;
  system.importFromWkt(wkt.c_str());
  return system;
}

std::string wktOf(const OGRSpatialReference& system) {
  char* wkt = nullptr;
  system.exportToWkt(&wkt);
  return takeGdalString(wkt);
}

// The EPSG systems GDAL finds equivalent to `system`, by code, each with its best confidence and
// its WKT. From 70 on GDAL's confidence means equivalent, only the names differing.
using Matches = std::map<std::string, std::pair<int, std::string>>;

void addMatches(const OGRSpatialReference& system, Matches& found) {
  constexpr int kEquivalent = 70;
  int count = 0;
  int* confidence = nullptr;
  OGRSpatialReferenceH* matches = system.FindMatches(nullptr, &count, &confidence);
  for (int n = 0; n < count; ++n) {
    const OGRSpatialReference& match = *OGRSpatialReference::FromHandle(matches[n]);
    const char* authority = match.GetAuthorityName(nullptr);
    const char* code = match.GetAuthorityCode(nullptr);
    if (!authority || !code || std::strcmp(authority, "EPSG") != 0) continue;
    const auto known = found.find(code);
    if (confidence[n] < kEquivalent ||
        (known != found.end() && known->second.first >= confidence[n])) {
      continue;
    }
    found[code] = {confidence[n], wktOf(match)};
  }
  OSRFreeSRSArray(matches);
  CPLFree(confidence);
}

// The WKT of the one EPSG system equivalent to `system` with the best confidence, or "" when
// there is none or several tie (a PROJ string without a datum matches several). A projection's
// axes count in either order, as they do for the grids: GDAL finds EPSG's plane systems of
// Japan, northing first, only from a definition in that order, so the other order is tried too.
std::string equivalentEpsgSystem(const OGRSpatialReference& system) {
  Matches found;
  addMatches(system, found);
  if (found.empty() && system.IsProjected()) {
    OGRAxisOrientation first = OAO_Other;
    system.GetAxis("PROJCS", 0, &first);
    OGRSpatialReference turned(system);
    if (first == OAO_North) {
      turned.SetAxes("PROJCS", "Easting", OAO_East, "Northing", OAO_North);
    } else {
      turned.SetAxes("PROJCS", "Northing", OAO_North, "Easting", OAO_East);
    }
    addMatches(turned, found);
  }
  const std::pair<int, std::string>* best = nullptr;
  bool tie = false;
  for (const auto& [code, match] : found) {
    if (!best || match.first > best->first) {
      best = &match;
      tie = false;
    } else if (match.first == best->first) {
      tie = true;
    }
  }
  return best && !tie ? best->second : "";
}

// The part that places points in the plane: a compound system's vertical part says nothing
// about where a node lies.
OGRSpatialReference horizontalPart(const std::string& wkt) {
  OGRSpatialReference system = fromWkt(wkt);
  if (system.IsCompound()) system.StripVertical();
  return system;
}

// A projection's axes as east and north, whichever order the system declares them in.
void eastNorth(OGRSpatialReference& system) {
  if (system.IsProjected()) system.SetAxes("PROJCS", "Easting", OAO_East, "Northing", OAO_North);
}

// The EPSG code of the system, "" when it names none.
std::string epsgCode(const OGRSpatialReference& system) {
  const char* authority = system.GetAuthorityName(nullptr);
  const char* code = system.GetAuthorityCode(nullptr);
  return authority && code && std::strcmp(authority, "EPSG") == 0 ? code : "";
}

}  // namespace

std::string projectedSystemWkt(const std::string& text) {
  GdalScope gdal;
  OGRSpatialReference system;
  const char* const offline[] = {"ALLOW_NETWORK_ACCESS=NO", "ALLOW_FILE_ACCESS=NO", nullptr};
  if (text.empty() || system.SetFromUserInput(text.c_str(), offline) != OGRERR_NONE) {
    const char* pattern =
        gdal.reason().empty()
            ? translated(
                  "{1} is not a coordinate system GDAL knows; give an EPSG code such as "
                  "EPSG:6677, a WKT or a PROJ string")
            : translated(
                  "{1} is not a coordinate system GDAL knows ({2}); give an EPSG code "
                  "such as EPSG:6677, a WKT or a PROJ string");
    throw CoordinateSystemError(fill(pattern, {quotedFound(text), gdal.reason()}));
  }
  if (!system.IsProjected()) {
    const char* name = system.GetName();
    throw CoordinateSystemError(
        fill(translated("{1} ({2}) is not a projected system; name one in metres, such as "
                        "EPSG:6677, so that heights and distances share their unit"),
             {quotedFound(text), name ? name : translated("unnamed")}));
  }
  return identifiedSystem(wktOf(system));
}

std::string identifiedSystem(const std::string& wkt) {
  if (wkt.empty()) return wkt;
  GdalScope gdal;
  OGRSpatialReference system = fromWkt(wkt);
  if (system.GetAuthorityName(nullptr)) return wkt;
  // Nodes are x east and y north whatever order the axes are declared in, so a system that
  // differs from EPSG's only by that order (an ESRI .prj) matches it.
  system.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  const std::string epsg = equivalentEpsgSystem(system);
  return epsg.empty() ? wkt : epsg;
}

bool isGeographic(const std::string& wkt) {
  if (wkt.empty()) return false;
  GdalScope gdal;
  return fromWkt(wkt).IsGeographic();
}

bool sameSystem(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return a.empty() && b.empty();
  GdalScope gdal;
  OGRSpatialReference first = horizontalPart(a);
  OGRSpatialReference second = horizontalPart(b);
  const std::string code = epsgCode(first);
  if (!code.empty() && code == epsgCode(second)) return true;
  eastNorth(first);
  eastNorth(second);
  const char* const equivalence[] = {"IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES",
                                     "CRITERION=EQUIVALENT_EXCEPT_AXIS_ORDER_GEOGCRS", nullptr};
  return first.IsSame(&second, equivalence) != 0;
}

std::string linearUnitName(const std::string& wkt) {
  GdalScope gdal;
  const OGRSpatialReference system = fromWkt(wkt);
  const char* name = nullptr;  // points into `system`
  system.GetLinearUnits(&name);
  return name && *name ? name : "";
}

std::string systemName(const std::string& wkt) {
  GdalScope gdal;
  const OGRSpatialReference system = fromWkt(wkt);
  const char* name = system.GetName();
  return name && *name ? name : translated("an unnamed system");
}

}  // namespace kalvenor
