#pragma once

#include <array>

#include "render/canvas.h"

namespace kalvenor {

// Values at the corners of one cell, indexed 1..5 as the cell is walked: 1 = node (i, j),
// 2 = (i2, j), 3 = (i2, j2), 4 = (i, j2), 5 = 1 again. Element 0 is unused.
template <typename T>
using Corners = std::array<T, 6>;

// Closes the walk: corner 5 repeats corner 1.
template <typename T>
void closeCorners(Corners<T>& corners) {
  corners[5] = corners[1];
}

}  // namespace kalvenor
