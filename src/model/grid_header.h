#pragma once

#include <cstdint>

namespace kalvenor {

// Where the nodes of a regular grid lie: node (i, j), i = 1..Nx, j = 1..Ny, at
// (Xmin + (i - 1) Dx, Ymin + (j - 1) Dy), x east and y north. A negative spacing stores the
// columns east to west or the rows north to south.
struct GridHeader {
  std::int32_t Nx = 0;
  std::int32_t Ny = 0;
  double Xmin = 0.0;
  double Ymin = 0.0;
  double Dx = 0.0;
  double Dy = 0.0;

  double x(int i) const { return Xmin + (i - 1) * Dx; }
  double y(int j) const { return Ymin + (j - 1) * Dy; }
  double xMax() const { return x(Nx); }
  double yMax() const { return y(Ny); }

  GridHeader& header() { return *this; }
  const GridHeader& header() const { return *this; }
};

// True when the two grids have exactly the same nodes, so a value stored at node (i, j) of one
// belongs to node (i, j) of the other.
inline bool sameNodes(const GridHeader& a, const GridHeader& b) {
  return a.Nx == b.Nx && a.Ny == b.Ny && a.Xmin == b.Xmin && a.Ymin == b.Ymin && a.Dx == b.Dx &&
         a.Dy == b.Dy;
}

// True when any of the four edges of the boundary grid differs from the display grid's.
inline bool gridMismatch(const GridHeader& boundary, const GridHeader& display) {
  return boundary.Xmin != display.Xmin || boundary.Ymin != display.Ymin ||
         boundary.xMax() != display.xMax() || boundary.yMax() != display.yMax();
}

}  // namespace kalvenor
