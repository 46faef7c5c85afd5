#pragma once

#include <cstdint>
#include <vector>

namespace kalvenor {

// The display grid: extent, node positions and elevations, view centre and tolerance.
struct DisplaySurface {
  std::int32_t Nx = 0;
  std::int32_t Ny = 0;
  double Xmin = 0.0;
  double Ymin = 0.0;
  double Dx = 0.0;
  double Dy = 0.0;
  double Xmax = 0.0;
  double Ymax = 0.0;
  double Zmin = 0.0;
  double Zmax = 0.0;
  std::vector<double> dispZ;
  std::vector<double> nodeX;
  std::vector<double> nodeY;
  double Xc = 0.0;
  double Yc = 0.0;
  double Zc = 0.0;
  double zEps = 0.0;
};

}  // namespace kalvenor
