#pragma once

#include <cstdint>
#include <vector>

namespace kalvenor {

// Where the nodes of a vertical grid stand, a side wall of the map block or the section: nH
// nodes along a line from (x0, y0) in steps (dxH, dyH), each with nV levels from z0 in steps
// dzV. Node (h, v) lies at (x(h), y(h), z(v)). A section along a polyline gives every node its
// own position instead (columnX, columnY 1..nH), the steps then unused.
struct LineGeometry {
  std::int32_t nH = 0;
  std::int32_t nV = 0;
  double x0 = 0.0;
  double y0 = 0.0;
  double z0 = 0.0;
  double dxH = 0.0;
  double dyH = 0.0;
  double dzV = 0.0;
  std::vector<double> columnX = {};
  std::vector<double> columnY = {};

  double x(int h) const { return columnX.empty() ? x0 + (h - 1) * dxH : columnX[h]; }
  double y(int h) const { return columnY.empty() ? y0 + (h - 1) * dyH : columnY[h]; }
  double z(int v) const { return z0 + (v - 1) * dzV; }
};

}  // namespace kalvenor
