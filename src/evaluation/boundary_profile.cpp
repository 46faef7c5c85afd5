#include "evaluation/boundary_profile.h"

#include "evaluation/boundary_interpolation.h"

namespace kalvenor {

double BoundaryProfile::bndGap(int k, int h, int v) const {
  double gap = baseGap(k, h);
  for (int level = 1; level < v; ++level) gap += dz_;
  return gap;
}

void BoundaryProfile::gapColumns(int h, std::vector<std::vector<double>>& gaps) const {
  const std::size_t count = gaps.size();
  for (std::size_t k = 1; k < count; ++k) {
    gaps[k].resize(nV_ + 1);
    gaps[k][1] = baseGap(static_cast<int>(k), h);
  }
  for (int v = 1; v < nV_; ++v) {
    for (std::size_t k = 1; k < count; ++k) gaps[k][v + 1] = gaps[k][v] + dz_;
  }
}

BoundaryProfile buildBoundaryProfile(const LineGeometry& line,
                                     const std::vector<GridSurface>& grids, int Nbd) {
  BoundaryProfile p;
  p.Nbd_ = Nbd;
  p.nH_ = line.nH;
  p.nV_ = line.nV;
  p.dz_ = line.dzV;
  p.line_.nH = line.nH;
  p.line_.nV = line.nV;
  p.bndZ_ = Array2D<double>(1, Nbd, 1, line.nH, 0.0);
  p.Z_.assign(line.nV + 1, 0.0);
  if (Nbd == 0) return p;  // nothing is written: the coordinates stay zero

  p.line_ = line;
  p.Z_[1] = line.z0;
  for (int v = 1; v < line.nV; ++v) p.Z_[v + 1] = p.Z_[v] + line.dzV;

  for (int k = 1; k <= Nbd; ++k) {
    for (int h = 1; h <= line.nH; ++h) {
      p.bndZ_(k, h) = boundaryElevationAt(grids, k, line.x(h), line.y(h));
    }
  }
  return p;
}

}  // namespace kalvenor
