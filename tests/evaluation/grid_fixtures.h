#pragma once

#include <functional>
#include <string>

#include "model/display_surface.h"
#include "model/grid_surface.h"
#include "model/logical_model.h"
#include "model/number_text.h"

namespace kalvenor {

inline GridSurface makeGrid(int nx, int ny, double xmin, double ymin, double dx, double dy,
                            const std::function<double(double, double)>& z) {
  GridSurface grid;
  grid.header() = {nx, ny, xmin, ymin, dx, dy};
  grid.z = Array2D<double>(1, nx, 1, ny);
  for (int i = 1; i <= nx; ++i) {
    for (int j = 1; j <= ny; ++j) grid.z(i, j) = z(xmin + (i - 1) * dx, ymin + (j - 1) * dy);
  }
  return grid;
}

// One boundary: unit 1 below it, unit 2 above it.
inline LogicalModel twoLayers() {
  LogicalModel model = allocateModel(1);
  model.modelCell(1, 1) = -1;
  model.modelCell(2, 1) = 1;
  buildUnitOfPattern(model);
  return model;
}

// The grid in the file format; values should be exactly representable in 15 digits.
inline std::string gridFileText(const GridSurface& grid) {
  std::string text = numberText(grid.Nx) + "," + numberText(grid.Ny) + "," + numberText(grid.Xmin) +
                     "," + numberText(grid.Ymin) + "," + numberText(grid.Dx) + "," +
                     numberText(grid.Dy) + "\n";
  for (int i = 1; i <= grid.Nx; ++i) {
    for (int j = 1; j <= grid.Ny; ++j) text += numberText(grid.z(i, j)) + "\n";
  }
  return text;
}

}  // namespace kalvenor
