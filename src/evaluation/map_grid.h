#pragma once

#include <array>
#include <cstdint>

#include "evaluation/vertical_grid.h"
#include "model/array2d.h"

namespace kalvenor {

enum WallSlot { kSouthWall = 1, kWestWall = 2, kNorthWall = 3, kEastWall = 4 };

// The units a map build leaves for the renderers: the top surface and the four side walls (a
// units export builds the top surface alone and leaves the walls empty).
struct MapGrid {
  Array2D<std::int16_t> mapUnit;              // (1..Nx, 1..Ny), classified at the display surface
  std::int32_t Nz = 0;                        // levels of the walls
  double Dzz = 0.0;                           // vertical step
  std::array<VerticalGrid, 5> verticalGrids;  // the walls, slots 1..4
};

}  // namespace kalvenor
