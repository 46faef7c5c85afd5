#pragma once

#include <vector>

#include "evaluation/classification.h"
#include "render/line_tracing.h"

namespace kalvenor {

// The unit test of wall and section traces: units at a crossing by whole-number elevations.
inline ClassifyAt traceUnits(const LogicalModel& model, const std::vector<GridSurface>& grids) {
  return [&model, &grids](double x, double y, double z) {
    return classifyTracePoint(model, grids, x, y, z);
  };
}

// Whether the renderers may classify against these grids: one per boundary plus the display
// surface, as a build leaves them.
inline bool gridsMatchModel(const LogicalModel& model, const std::vector<GridSurface>& grids) {
  return static_cast<int>(grids.size()) == model.Nbd + 2 && !model.unitOfPattern.empty();
}

}  // namespace kalvenor
