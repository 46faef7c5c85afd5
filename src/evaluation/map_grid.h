#pragma once

namespace kalvenor {

// The unit of every display node and the vertical grids of the four side walls.
struct MapGrid {};

// One vertical grid: node counts, origin, steps and the unit of every node.
struct VerticalGrid {};

}  // namespace kalvenor
