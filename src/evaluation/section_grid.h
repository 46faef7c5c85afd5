#pragma once

#include <cstdint>
#include <vector>

#include "model/array2d.h"

namespace kalvenor {

// The survey line of the last section build, clipped to the display rectangle, and the display
// surface along it.
struct SectionGrid {
  double Xstart = 0.0;
  double Ystart = 0.0;
  double Xend = 0.0;
  double Yend = 0.0;
  double Fai = 0.0;  // azimuth in radians, clockwise from north
  std::int32_t Nxy = 0;
  double Dxx = 0.0;
  double Dyy = 0.0;
  std::int32_t Nmax = 0;
  std::vector<double> sectionSurfZ;     // 1..Nxy
  Array2D<double> sectionSurfGap;       // (1..Nxy, 1..Nz): height above the display surface
};

}  // namespace kalvenor
