#pragma once

#include <cpl_string.h>
#include <ogr_spatialref.h>

#include <optional>
#include <string>

class GDALDriver;

namespace kalvenor {

// GeoJSON holds longitudes and latitudes on WGS 84 only, whatever else a file says.
bool holdsWgs84Only(const GDALDriver& driver);

// What a format must be told to keep a layer's geometries and names as they are.
CPLStringList vectorLayerOptions(const GDALDriver& driver);

// The coordinate system of a layer written to `path`: the display surface's (`srs`, WKT), none
// when it is unknown. A GeoPackage without one would call its coordinates degrees of latitude
// and longitude; it is given GeoPackage's undefined Cartesian system instead. GeoJSON gets the
// horizontal part only, so that converting to longitudes and latitudes keeps the heights as
// they are. Throws ExportError naming `path` when GDAL cannot read `srs`.
std::optional<OGRSpatialReference> vectorLayerSystem(const std::string& path,
                                                     const GDALDriver& driver,
                                                     const std::string& srs);

}  // namespace kalvenor
