#pragma once

#include <vector>

#include "evaluation/line_geometry.h"
#include "model/array2d.h"
#include "model/grid_surface.h"

namespace kalvenor {

// Every boundary's elevation under each node of a wall or the section line, and the height of
// every node above each boundary. Node coordinates are the same on all levels of a column (X, Y)
// and the same in all columns of a level (Z): the columns' come from the line itself, the
// levels' are kept once. Heights above a boundary are reached level by level by repeated
// addition of the vertical step from the first level's, which is found from the boundary's
// elevation when asked for; a column is re-added when asked for, which gives the same values
// without holding Nbd x nH x nV of them. What is held per column is one elevation a boundary,
// so a wall as long as a grid of millions of nodes stays in proportion to them.
class BoundaryProfile {
 public:
  BoundaryProfile() = default;

  int Nbd() const { return Nbd_; }
  int nH() const { return nH_; }
  int nV() const { return nV_; }
  // Elevation of boundary k under node h.
  double bndZ(int k, int h) const { return bndZ_(k, h); }
  // Height of node (h, v) above boundary k; negative below it. Walks the column: for a whole
  // column use gapColumns.
  double bndGap(int k, int h, int v) const;
  // Heights of column h above boundaries 1..gaps.size() - 1 on every level, into gaps[k][1..nV].
  // The boundaries are added up side by side, so their chains of additions overlap.
  void gapColumns(int h, std::vector<std::vector<double>>& gaps) const;
  double X(int h, int /*v*/) const { return line_.x(h); }
  double Y(int h, int /*v*/) const { return line_.y(h); }
  double Z(int /*h*/, int v) const { return Z_[v]; }

  friend BoundaryProfile buildBoundaryProfile(const LineGeometry& line,
                                              const std::vector<GridSurface>& grids, int Nbd);

 private:
  // Height of level 1 of column h above boundary k.
  double baseGap(int k, int h) const { return line_.z0 - bndZ_(k, h); }

  int Nbd_ = 0;
  int nH_ = 0;
  int nV_ = 0;
  double dz_ = 0.0;
  LineGeometry line_;     // all zero but nH and nV without boundaries
  Array2D<double> bndZ_;  // (1..Nbd, 1..nH)
  std::vector<double> Z_;
};

// The profile of boundaries 1..Nbd of `grids` along `line`.
BoundaryProfile buildBoundaryProfile(const LineGeometry& line,
                                     const std::vector<GridSurface>& grids, int Nbd);

}  // namespace kalvenor
