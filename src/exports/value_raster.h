#pragma once

#include <string>
#include <vector>

#include "exports/exported_file.h"
#include "model/array2d.h"
#include "model/display_surface.h"

namespace kalvenor {

// A real value at every display node (NaN where there is none), such as a unit's thickness.
struct ValueGrid {
  const DisplaySurface& display;
  const Array2D<double>& values;
  std::string description;  // what the values are, as the band's description
};

// Throws ExportError when no value grid can be written under this name: .asc, or an extension a
// GDAL raster driver creates that holds 32-bit reals (PNG, JPEG and the like are refused, naming
// .tif and .asc), and not a .vrt, which would only point at data held elsewhere.
void checkValueGridName(const std::string& path);

// The files valueGridFiles writes for `path` whatever the grid (a driver may add its own).
std::vector<std::string> valueGridFileNames(const std::string& path);

// The files of a value grid at `path`, north up with a node at the centre of every pixel, as
// unitsGridFiles lays its grid out: an .asc is the ESRI ASCII grid (esriValueGrid) with a .prj
// when the coordinate system is known; any other extension is written by the GDAL driver for it
// as one band of 32-bit reals with NODATA kValueNoData, the description and the coordinate
// system, and read back: throws ExportError naming the file when GDAL fails or the grid does not
// read back as written.
ExportedFiles valueGridFiles(const std::string& path, const ValueGrid& grid);

}  // namespace kalvenor
