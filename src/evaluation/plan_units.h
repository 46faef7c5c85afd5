#pragma once

#include <cstdint>
#include <vector>

#include "model/array2d.h"
#include "model/display_surface.h"
#include "model/grid_surface.h"
#include "model/logical_model.h"

namespace kalvenor {

// The units at the ground of the display area on a coarse raster of square cells, for a small
// map of the whole area: cell (a, b), a from the west and b from the south, covers x from
// west + (a - 1) cell to west + a cell and y likewise from south, and holds the unit at its
// middle (0 where the ground is not known or no unit claims the point).
struct PlanUnits {
  double west = 0.0;
  double south = 0.0;
  double east = 0.0;
  double north = 0.0;
  double cell = 0.0;
  Array2D<std::int16_t> unit;  // 1..columns, 1..rows
};

// The display area on at most `across` cells along its longer side (at least one each way),
// classified as a map build classifies the ground, against the boundary grids read for a build
// (slots 1..Nbd).
PlanUnits classifyPlan(const LogicalModel& model, const std::vector<GridSurface>& grids,
                       const DisplaySurface& display, int across);

}  // namespace kalvenor
