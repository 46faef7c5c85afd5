#pragma once

#include <array>
#include <cstdint>

#include "evaluation/vertical_grid.h"
#include "model/array2d.h"

namespace kalvenor {

enum WallSlot { kSouthWall = 1, kWestWall = 2, kNorthWall = 3, kEastWall = 4, kSectionSlot = 5 };

// The units both grid builds leave for the renderers. Each build replaces all of it: a map
// build has the top surface and the four walls, a section build only the section (slot 5), with
// mapUnit zero.
struct MapGrid {
  Array2D<std::int16_t> mapUnit;              // (1..Nx, 1..Ny), classified at the display surface
  std::int32_t Nz = 0;                        // levels of the vertical grids
  double Dzz = 0.0;                           // vertical step
  std::array<VerticalGrid, 6> verticalGrids;  // slots 1..5
};

}  // namespace kalvenor
