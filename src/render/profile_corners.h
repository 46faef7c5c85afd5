#pragma once

#include "evaluation/boundary_profile.h"
#include "render/cell.h"

namespace kalvenor {

// The model positions of a wall or section cell's corners, for the unit test of its traces.
inline ModelCorners profileCorners(const BoundaryProfile& profile, const CellNodes& cell) {
  return {cornerValues(cell, [&](int h, int v) { return profile.X(h, v); }),
          cornerValues(cell, [&](int h, int v) { return profile.Y(h, v); }),
          cornerValues(cell, [&](int h, int v) { return profile.Z(h, v); })};
}

}  // namespace kalvenor
