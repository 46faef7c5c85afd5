#pragma once

#include <algorithm>

namespace kalvenor {

// Column width of the model grid in twips: 500 each when the grid (less 400 for its frame and
// header) has room for that, otherwise an equal share that never drops below 300.
inline int modelColumnWidth(int gridWidthTwips, int columns) {
  const int room = gridWidthTwips - 400;
  if (room >= 500 * columns) return 500;
  return std::max(300, room / columns);
}

constexpr int kTwipsPerPixel = 15;

}  // namespace kalvenor
