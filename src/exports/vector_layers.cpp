#include "exports/vector_layers.h"

#include <gdal_priv.h>

#include "exports/gdal_files.h"

namespace kalvenor {
bool holdsWgs84Only(const GDALDriver& driver) {
  return formatName(driver) == "GeoJSON" || formatName(driver) == "GeoJSONSeq";
}

CPLStringList vectorLayerOptions(const GDALDriver& driver) {
  CPLStringList options;
  // Shapefiles would store the names in an old code page; GDAL keeps them in UTF-8 if told.
  if (formatName(driver) == "ESRI Shapefile") options.SetNameValue("ENCODING", "UTF-8");
  // CSV leaves the geometry out unless it is asked for as a column of WKT, and without its
  // .csvt every field reads back as text.
  if (formatName(driver) == "CSV") {
    options.SetNameValue("GEOMETRY", "AS_WKT");
    options.SetNameValue("CREATE_CSVT", "YES");
  }
  // Longitudes and latitudes as RFC 7946 has them; GDAL converts the geometries to them.
  if (formatName(driver) == "GeoJSON") options.SetNameValue("RFC7946", "YES");
  return options;
}

std::optional<OGRSpatialReference> vectorLayerSystem(const std::string& path,
                                                     const GDALDriver& driver,
                                                     const std::string& srs) {
  if (!srs.empty()) {
    OGRSpatialReference system = coordinateSystem(path, srs);
    if (holdsWgs84Only(driver)) system.StripVertical();
    return system;
  }
  if (formatName(driver) != "GPKG") return std::nullopt;
  return coordinateSystem(path, R"(LOCAL_CS["Undefined cartesian SRS"])");
}

}  // namespace kalvenor
