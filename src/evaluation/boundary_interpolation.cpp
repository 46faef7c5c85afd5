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
double bilinear(double x, double y, int nx, int ny, double xmin, double ymin, double dx,
                double dy, const Elevation& z) {
  const int i = cellIndex(x, xmin, dx, nx);
  const int j = cellIndex(y, ymin, dy, ny);
  const double u = (x - ((i - 1) * dx + xmin)) / dx;
  const double v = (y - ((j - 1) * dy + ymin)) / dy;
  return (1 - u) * (1 - v) * z(i, j) + (1 - v) * u * z(i + 1, j) + u * v * z(i + 1, j + 1) +
         (1 - u) * v * z(i, j + 1);
}

}  // namespace

double elevationAt(const GridSurface& grid, double x, double y) {
  return bilinear(x, y, grid.Nx, grid.Ny, grid.Xmin, grid.Ymin, grid.Dx, grid.Dy, grid.z);
}

double surfaceElevationAt(const DisplaySurface& display, double x, double y) {
  return bilinear(x, y, display.Nx, display.Ny, display.Xmin, display.Ymin, display.Dx,
                  display.Dy, display.dispZ);
}

}  // namespace kalvenor
