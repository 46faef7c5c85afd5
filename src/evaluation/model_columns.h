#pragma once

#include <span>
#include <vector>

#include "evaluation/boundary_interpolation.h"
#include "model/display_surface.h"
#include "model/grid_surface.h"
#include "model/logical_model.h"

namespace kalvenor {

// What the columns of units are read from: the model, the boundary grids of a build (slots
// 1..Nbd), the display surface as the ground and the base of the block.
struct ModelColumns {
  const LogicalModel& model;
  const std::vector<GridSurface>& boundaryGrids;
  const DisplaySurface& display;
  double Zbase = 0.0;
};

// The surfaces of the column at every display node, as the map build evaluates them there: the
// boundaries by the one interpolation rule, the ground as the stored display elevation.
class NodeLevels {
 public:
  explicit NodeLevels(const ModelColumns& columns);

  // False where the display node has no elevation: there is no column.
  bool known(int i, int j) const { return !display_.missing.at(i, j); }
  // Fills `levels` (indexed as columnSurfaces says) at node (i, j).
  void fill(int i, int j, std::span<double> levels) const;

 private:
  const DisplaySurface& display_;
  double Zbase_;
  std::vector<LatticeElevations> boundaries_;
};

}  // namespace kalvenor
