#pragma once

#include <memory>
#include <vector>

#include "evaluation/model_columns.h"
#include "grid_fixtures.h"
#include "model/display_surface.h"

namespace kalvenor {

// Three units over a square kilometre, every surface a plane sampled at 100 m (11 x 11 nodes),
// base at 0:
//   ground      g  = 100 + 0.05 x
//   boundary 1  b1 = -10 + 0.01 x + 0.05 y   (below the base where y < 200 - 0.2 x)
//   boundary 2  b2 = 57 + 0.1 x + 0.02 y     (above the ground where x > 860 - 0.4 y)
// Unit 1 lies below b1, unit 2 between b1 and b2, unit 3 above b2. Both lines where a boundary
// leaves the block run slantwise across the cells.
struct PlanarModel {
  PlanarModel(double Dx = 100, double Dy = 100) {
    model.modelCell(1, 1) = -1;
    model.modelCell(2, 1) = 1;
    model.modelCell(2, 2) = -1;
    model.modelCell(3, 2) = 1;
    buildUnitOfPattern(model);
    const int nx = static_cast<int>(1000 / std::abs(Dx)) + 1;
    const int ny = static_cast<int>(1000 / std::abs(Dy)) + 1;
    const double x0 = Dx > 0 ? 0 : 1000;
    const double y0 = Dy > 0 ? 0 : 1000;
    const auto grid = [&](auto z) { return makeGrid(nx, ny, x0, y0, Dx, Dy, z); };
    grids = {{},
             grid([](double x, double y) { return -10 + 0.01 * x + 0.05 * y; }),
             grid([](double x, double y) { return 57 + 0.1 * x + 0.02 * y; })};
    display = exactDisplaySurface(grid([](double x, double) { return 100 + 0.05 * x; }));
  }
  ModelColumns columns() const { return {model, grids, display, 0.0}; }

  LogicalModel model = allocateModel(2);
  std::vector<GridSurface> grids;
  DisplaySurface display;
};

}  // namespace kalvenor
