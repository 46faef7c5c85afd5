#pragma once

#include <cstdint>
#include <vector>

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
  std::vector<double> sectionSurfZ;  // 1..Nxy: display elevation under each column
  // 1..Nxy: false where the display surface has no elevation under the column (all air there).
  std::vector<bool> groundKnown;
  double Zbase = 0.0;  // base and step of the levels the build used
  double Dzz = 0.0;
  std::int32_t Nz = 0;

  // Heights of column h's levels above the display surface, into levels[1..Nz]: Zbase - zs on
  // level 1, then one step added per level.
  void surfaceGapColumn(int h, std::vector<double>& levels) const {
    levels.resize(Nz + 1);
    levels[1] = Zbase - sectionSurfZ[h];
    for (int v = 1; v < Nz; ++v) levels[v + 1] = levels[v] + Dzz;
  }
};

}  // namespace kalvenor
