#pragma once

#include <string>

#include "model/gdal_dataset.h"
#include "model/grid_header.h"

namespace kalvenor {

class GdalScope;

// A raster warped into another coordinate system, with the nodes it was warped onto and a
// sentence for the user saying what was done.
struct WarpedRaster {
  GdalDataset dataset;
  GridHeader nodes;
  std::string note;
};

// Warps `source`, a raster in geographic coordinates, into the projected system `wkt`: bilinear,
// cells about as large as the source's and rounded to two significant digits, nodes on whole
// multiples of the cell size, and no value wherever the source has none or does not reach.
// Nothing is computed before the values are read. Throws ReadError naming `path` when GDAL
// cannot warp it, or when the warped grid would have more than kMaxGridNodes nodes.
WarpedRaster warpRaster(const std::string& path, GDALDataset& source, const std::string& wkt,
                        const GdalScope& gdal);

}  // namespace kalvenor
