#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exports/exported_file.h"
#include "exports/unit_styles.h"
#include "model/array2d.h"
#include "model/display_surface.h"

namespace kalvenor {

// What a units grid shows: the unit of every display node (0 none) and how each unit looks.
struct UnitsGrid {
  const DisplaySurface& display;
  const Array2D<std::int16_t>& mapUnit;
  std::vector<UnitStyle> styles;
};

// Throws ExportError when no units grid can be written under this name: the format follows the
// extension, .asc or one that a GDAL raster driver creates, and must keep the unit codes as they
// are (JPEG and WebP are refused, naming a lossless format).
void checkUnitsGridName(const std::string& path);

// The files unitsGridFiles writes for `path` whatever the grid (a driver may add its own).
std::vector<std::string> unitsGridFileNames(const std::string& path);

// The files of a units grid at `path`, north up with a node at the centre of every pixel. An .asc
// is the ESRI ASCII grid with a .prj when the coordinate system is known; any other extension
// is written by the GDAL driver for it as bytes with NODATA 0, a palette, the unit names as
// category names and the coordinate system. A .vrt refers to a GeoTIFF beside it, PATH.tif, that
// holds its data. Every grid comes with PATH.aux.xml, which styles it for GDAL-based programs,
// and a QGIS style beside it (the name ending in .qml) that puts the units, without NODATA, in
// its legend. Every grid is read back as written before it is returned. Throws ExportError naming
// the file when GDAL fails or the grid does not read back the same.
ExportedFiles unitsGridFiles(const std::string& path, const UnitsGrid& grid);

}  // namespace kalvenor
