#pragma once

#include <cstdint>

#include "evaluation/line_geometry.h"
#include "model/array2d.h"

namespace kalvenor {

// The unit of a node of a wall or a section. A byte holds every unit a model can have (at most 16)
// and air, and halves the largest grids: the four walls of a 4096 x 4096 block hold 67 million.
using LevelUnit = std::int8_t;

// A vertical grid of nodes, a side wall of the map block or the section, with the unit of every
// node.
struct VerticalGrid : LineGeometry {
  // 1..Nbd+1 a unit, 0 no unit, -1 above the display surface (air).
  Array2D<LevelUnit> unit;  // (1..nH, 1..nV)

  bool empty() const { return unit.empty(); }
};

constexpr LevelUnit kAir = -1;

}  // namespace kalvenor
