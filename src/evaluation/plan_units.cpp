#include "evaluation/plan_units.h"

#include <algorithm>
#include <cmath>

#include "evaluation/boundary_interpolation.h"
#include "evaluation/classification.h"

namespace kalvenor {

PlanUnits classifyPlan(const LogicalModel& model, const std::vector<GridSurface>& grids,
                       const DisplaySurface& d, int across) {
  PlanUnits plan;
  plan.west = std::min(d.nodeX[1], d.nodeX[d.Nx]);
  plan.east = std::max(d.nodeX[1], d.nodeX[d.Nx]);
  plan.south = std::min(d.nodeY[1], d.nodeY[d.Ny]);
  plan.north = std::max(d.nodeY[1], d.nodeY[d.Ny]);
  const double width = plan.east - plan.west, height = plan.north - plan.south;
  plan.cell = std::max(width, height) / std::max(across, 1);
  const int columns = std::max(1, static_cast<int>(std::ceil(width / plan.cell - 1e-9)));
  const int rows = std::max(1, static_cast<int>(std::ceil(height / plan.cell - 1e-9)));
  plan.unit = Array2D<std::int16_t>(1, columns, 1, rows, 0);
  for (int a = 1; a <= columns; ++a) {
    // The last column and row end at the edge: their middles stay over the display area.
    const double x = std::min(plan.west + (a - 0.5) * plan.cell, plan.east);
    for (int b = 1; b <= rows; ++b) {
      const double y = std::min(plan.south + (b - 0.5) * plan.cell, plan.north);
      if (!surfaceDefinedAt(d, x, y)) continue;
      double z = surfaceElevationAt(d, x, y);
      plan.unit(a, b) = classifyPoint(model, grids, x, y, z).unitStrict;
    }
  }
  return plan;
}

}  // namespace kalvenor
