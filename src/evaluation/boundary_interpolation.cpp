#include "evaluation/boundary_interpolation.h"

#include <cmath>

namespace kalvenor {
namespace {

// Cell index along one axis: 1-based, a millionth of a cell of tolerance, clamped to
// 1..nodes - 1 with the lower clamp applied first. Clamped before the conversion so a point
// far outside any grid cannot overflow the integer.
int cellIndex(double coordinate, double origin, double spacing, int nodes) {
  double index = std::floor((coordinate - origin) / spacing + 1.000001);
  if (!(index >= 1)) index = 1;
  if (index > nodes - 1) index = nodes - 1;
  return static_cast<int>(index);
}

template <typename Elevation>
double bilinear(const GridHeader& g, const Elevation& z, double x, double y) {
  const int i = cellIndex(x, g.Xmin, g.Dx, g.Nx);
  const int j = cellIndex(y, g.Ymin, g.Dy, g.Ny);
  const double u = (x - g.x(i)) / g.Dx;
  const double v = (y - g.y(j)) / g.Dy;
  return (1 - u) * (1 - v) * z(i, j) + (1 - v) * u * z(i + 1, j) + u * v * z(i + 1, j + 1) +
         (1 - u) * v * z(i, j + 1);
}

}  // namespace

double elevationAt(const GridSurface& grid, double x, double y) {
  return bilinear(grid, grid.z, x, y);
}

double surfaceElevationAt(const DisplaySurface& display, double x, double y) {
  return bilinear(display, display.dispZ, x, y);
}

bool surfaceDefinedAt(const DisplaySurface& d, double x, double y) {
  if (!d.missing.any()) return true;
  const int i = cellIndex(x, d.Xmin, d.Dx, d.Nx);
  const int j = cellIndex(y, d.Ymin, d.Dy, d.Ny);
  return !d.missing.touches(i, j, i + 1, j + 1);
}

}  // namespace kalvenor
