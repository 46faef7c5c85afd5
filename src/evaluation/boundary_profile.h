#pragma once

#include <vector>

#include "model/array2d.h"
#include "model/grid_surface.h"

namespace kalvenor {

// Where a vertical line of nodes stands: nH nodes from (x0, y0) in steps (dxH, dyH), nV levels
// from zBase in steps dz.
struct LineGeometry {
  int nH = 0;
  int nV = 0;
  double x0 = 0.0;
  double y0 = 0.0;
  double dxH = 0.0;
  double dyH = 0.0;
  double zBase = 0.0;
  double dz = 0.0;
};

// Every boundary's elevation under each node of a wall or the section line, and the height of
// every node above each boundary. Node coordinates are the same on all levels of a column (X, Y)
// and the same in all columns of a level (Z), so they are kept once. Levels are reached by
// repeated addition of the vertical step.
class BoundaryProfile {
 public:
  BoundaryProfile() = default;

  int Nbd() const { return Nbd_; }
  int nH() const { return nH_; }
  int nV() const { return nV_; }
  // Elevation of boundary k under node h.
  double bndZ(int k, int h) const { return bndZ_(k, h); }
  // Height of node (h, v) above boundary k; negative below it.
  double bndGap(int k, int h, int v) const { return gap_[offset(k, h, v)]; }
  double X(int h, int /*v*/) const { return X_[h]; }
  double Y(int h, int /*v*/) const { return Y_[h]; }
  double Z(int /*h*/, int v) const { return Z_[v]; }

  friend BoundaryProfile buildBoundaryProfile(const LineGeometry& line,
                                              const std::vector<GridSurface>& grids, int Nbd);

 private:
  std::size_t offset(int k, int h, int v) const {
    return (static_cast<std::size_t>(k - 1) * nH_ + (h - 1)) * nV_ + (v - 1);
  }

  int Nbd_ = 0;
  int nH_ = 0;
  int nV_ = 0;
  Array2D<double> bndZ_;
  std::vector<double> gap_;
  std::vector<double> X_;
  std::vector<double> Y_;
  std::vector<double> Z_;
};

// The profile of boundaries 1..Nbd of `grids` along `line`.
BoundaryProfile buildBoundaryProfile(const LineGeometry& line,
                                     const std::vector<GridSurface>& grids, int Nbd);

}  // namespace kalvenor
