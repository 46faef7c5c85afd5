#pragma once

#include <cmath>

namespace kalvenor {

// The cell of a grid that a point is evaluated in, along one axis: 1-based, with a millionth of a
// cell of tolerance, clamped to 1..nodes - 1 with the lower clamp applied first. Clamped before
// the conversion so a point far outside any grid cannot overflow the integer. The cell only
// grows (or, with a negative spacing, only shrinks) as the point moves along the axis.
constexpr double kCellTolerance = 1e-6;  // the millionth of a cell, as cellIndex adds it

inline int cellIndex(double coordinate, double origin, double spacing, int nodes) {
  double index = std::floor((coordinate - origin) / spacing + 1.000001);
  if (!(index >= 1)) index = 1;
  if (index > nodes - 1) index = nodes - 1;
  return static_cast<int>(index);
}

}  // namespace kalvenor
