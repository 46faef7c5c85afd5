#include "evaluation/boundary_interpolation.h"

#include <algorithm>

#include "model/grid_cell.h"

namespace kalvenor {
namespace {

// The cell's corners weighted by the fractions u and v of the way across it.
template <typename Elevation>
double weighted(const Elevation& z, int i, int j, double u, double v) {
  return (1 - u) * (1 - v) * z(i, j) + (1 - v) * u * z(i + 1, j) + u * v * z(i + 1, j + 1) +
         (1 - u) * v * z(i, j + 1);
}

template <typename Elevation>
double bilinear(const GridHeader& g, const Elevation& z, double x, double y) {
  const int i = cellIndex(x, g.Xmin, g.Dx, g.Nx);
  const int j = cellIndex(y, g.Ymin, g.Dy, g.Ny);
  return weighted(z, i, j, (x - g.x(i)) / g.Dx, (y - g.y(j)) / g.Dy);
}

}  // namespace

LatticeElevations::LatticeElevations(const GridSurface& grid, const GridHeader& lattice)
    : grid_(grid),
      cellI_(lattice.Nx + 1),
      cellJ_(lattice.Ny + 1),
      u_(lattice.Nx + 1),
      v_(lattice.Ny + 1) {
  for (int i = 1; i <= lattice.Nx; ++i) {
    const double x = lattice.x(i);
    cellI_[i] = cellIndex(x, grid.Xmin, grid.Dx, grid.Nx);
    u_[i] = (x - grid.x(cellI_[i])) / grid.Dx;
  }
  for (int j = 1; j <= lattice.Ny; ++j) {
    const double y = lattice.y(j);
    cellJ_[j] = cellIndex(y, grid.Ymin, grid.Dy, grid.Ny);
    v_[j] = (y - grid.y(cellJ_[j])) / grid.Dy;
  }
  const auto zero = [](const std::vector<double>& w) {
    return std::all_of(w.begin() + 1, w.end(), [](double f) { return f == 0; });
  };
  onNodes_ = zero(u_) && zero(v_);
}

double LatticeElevations::weightedAt(int i, int j) const {
  return grid_.z.visit(
      [&](const auto& z) { return weighted(z, cellI_[i], cellJ_[j], u_[i], v_[j]); });
}

double elevationAt(const GridSurface& grid, double x, double y) {
  return grid.z.visit([&](const auto& z) { return bilinear(grid, z, x, y); });
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
