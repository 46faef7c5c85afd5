#include "evaluation/boundary_profile.h"

#include "evaluation/boundary_interpolation.h"

namespace kalvenor {

BoundaryProfile buildBoundaryProfile(const LineGeometry& line,
                                     const std::vector<GridSurface>& grids, int Nbd) {
  BoundaryProfile p;
  p.Nbd_ = Nbd;
  p.nH_ = line.nH;
  p.nV_ = line.nV;
  p.bndZ_ = Array2D<double>(1, Nbd, 1, line.nH, 0.0);
  p.gap_.assign(static_cast<std::size_t>(Nbd) * line.nH * line.nV, 0.0);
  p.X_.assign(line.nH + 1, 0.0);
  p.Y_.assign(line.nH + 1, 0.0);
  p.Z_.assign(line.nV + 1, 0.0);
  if (Nbd == 0) return p;  // nothing is written: the coordinates stay zero

  for (int h = 1; h <= line.nH; ++h) {
    p.X_[h] = line.x0 + (h - 1) * line.dxH;
    p.Y_[h] = line.y0 + (h - 1) * line.dyH;
  }
  p.Z_[1] = line.zBase;
  for (int v = 1; v < line.nV; ++v) p.Z_[v + 1] = p.Z_[v] + line.dz;

  for (int k = 1; k <= Nbd; ++k) {
    for (int h = 1; h <= line.nH; ++h) {
      const double b = boundaryElevationAt(grids, k, p.X_[h], p.Y_[h]);
      p.bndZ_(k, h) = b;
      double* gap = &p.gap_[p.offset(k, h, 1)];
      gap[0] = line.zBase - b;
      for (int v = 1; v < line.nV; ++v) gap[v] = gap[v - 1] + line.dz;
    }
  }
  return p;
}

}  // namespace kalvenor
