#pragma once

#include <algorithm>
#include <array>
#include <cmath>

#include "model/grid_header.h"

namespace kalvenor {

// The display grid laid out as a north-up raster: row 0 holds the northernmost nodes, column 0
// the westernmost, whichever way the grid is stored. Every node is the centre of its pixel, so
// the raster reaches half a spacing beyond the outer nodes.
class NorthUpGrid {
 public:
  explicit NorthUpGrid(const GridHeader& grid) : grid_(grid) {}

  int columns() const { return grid_.Nx; }
  int rows() const { return grid_.Ny; }
  double cellWidth() const { return std::abs(grid_.Dx); }
  double cellHeight() const { return std::abs(grid_.Dy); }

  // The node shown in a column or row: a negative spacing stores the grid from the other end.
  int i(int column) const { return grid_.Dx > 0 ? column + 1 : grid_.Nx - column; }
  int j(int row) const { return grid_.Dy > 0 ? grid_.Ny - row : row + 1; }

  // Centres of the outer nodes.
  double westX() const { return std::min(grid_.Xmin, grid_.xMax()); }
  double southY() const { return std::min(grid_.Ymin, grid_.yMax()); }
  double northY() const { return std::max(grid_.Ymin, grid_.yMax()); }

  // GDAL's affine transform: pixel corner (column, row) lies at (t0 + column t1, t3 + row t5).
  std::array<double, 6> geoTransform() const {
    return {westX() - cellWidth() / 2,   cellWidth(), 0.0,
            northY() + cellHeight() / 2, 0.0,         -cellHeight()};
  }

 private:
  GridHeader grid_;
};

}  // namespace kalvenor
