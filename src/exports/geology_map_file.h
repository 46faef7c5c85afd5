#pragma once

#include <string>
#include <vector>

#include "exports/exported_file.h"
#include "scene/geology_map.h"

namespace kalvenor {

// Throws ExportError when no GDAL vector format writes files with this name's extension.
void checkGeologyMapName(const std::string& path);

// Throws ExportError when the format of `path` holds longitudes and latitudes only (GeoJSON) and
// the map's coordinate system `srs` (WKT, none when empty) is unknown, so that the map cannot be
// converted to them.
void checkGeologyMapSystem(const std::string& path, const std::string& srs);

// The files geologyMapFiles writes for `path` whatever the map (a driver may add its own).
std::vector<std::string> geologyMapFileNames(const std::string& path);

// The geological map in the vector format of the extension of `path` (GeoPackage when it has
// none), in the map's coordinate system: the layer "units", one multipolygon per unit with the
// fields unit, name, color ("#rrggbb") and area_m2, and the layer "contacts", one line per
// contact line with boundary, name and length_m. A GeoPackage holds both layers and their QGIS
// styles in its layer_styles table, which QGIS loads with each layer; any other format holds the
// units at `path` and the contacts beside it, named with "_contacts" after the stem, each with
// its QGIS style beside it (the name ending in .qml). The styles class the features by unit and by
// boundary, in their colours and under their names. A file that is there is replaced whole.
// Throws ExportError naming the file when GDAL fails.
ExportedFiles geologyMapFiles(const std::string& path, const GeologyMap& map);

}  // namespace kalvenor
