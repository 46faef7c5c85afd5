#pragma once

#include <string>

#include "model/grid_surface.h"

namespace kalvenor {

// True when GDAL knows the file as a raster.
bool isGdalRaster(const std::string& path);

// Reads the single band of a raster GDAL opens. Every pixel centre is a node: node (i, j) lies at
// the centre of the pixel in column i and row j counted from the west and from the south, so a
// north-up raster's rows are turned over and the spacings are positive. A raster that says its
// values are point samples has its geotransform shifted by GDAL so that the samples sit at the
// pixel centres, and so becomes the same nodes. Values are read as doubles (float32 values stay
// exactly as they are), with the band's scale and offset applied; NODATA, masked and
// non-finite values are marked in `missing`. A raster in geographic coordinates is warped into
// `reading.srs`, and `note` says so. Throws ReadError naming the file, with GDAL's reason where it
// gave one, for a raster GDAL cannot read, one with more than one band or complex values, a
// rotated or sheared one, one without georeferencing, one of fewer than 2 or more than
// kMaxGridNodes nodes, one in geographic coordinates with no projected system to warp it into,
// and one where no node has a value.
GridSurface readRasterGrid(const std::string& path, const GridReading& reading);

// The coordinate system (WKT) readRasterGrid would give the grid, from the header alone: the
// raster's own, or `reading.srs` when it names none or is warped; "" when it cannot be opened.
std::string rasterSystem(const std::string& path, const GridReading& reading);

}  // namespace kalvenor
