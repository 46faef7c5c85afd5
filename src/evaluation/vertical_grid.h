#pragma once

#include <cstdint>

#include "evaluation/line_geometry.h"
#include "model/array2d.h"

namespace kalvenor {

// A vertical grid of nodes, a side wall of the map block or the section, with the unit of every
// node.
struct VerticalGrid : LineGeometry {
  // 1..Nbd+1 a unit, 0 no unit, -1 above the display surface (air).
  Array2D<std::int16_t> unit;  // (1..nH, 1..nV)

  bool empty() const { return unit.empty(); }
};

constexpr std::int16_t kAir = -1;

}  // namespace kalvenor
