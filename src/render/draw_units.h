#pragma once

#include <cstdint>

#include "evaluation/vertical_grid.h"
#include "model/array2d.h"

namespace kalvenor {

// The units a renderer draws with, for nodes 1..nI by 1..nJ: copied from a grid build's units
// where they cover the node, 0 (no unit) where they do not.
// They are 16-bit, as the map's units are kept: at 4096 x 4096 nodes a wider copy costs 34 MB
// more.
template <typename Units>
Array2D<std::int16_t> unitsToDraw(const Units& units, int nI, int nJ) {
  Array2D<std::int16_t> drawn(1, nI, 1, nJ, 0);
  for (int i = 1; i <= nI; ++i) {
    for (int j = 1; j <= nJ; ++j) {
      if (units.contains(i, j)) drawn(i, j) = units(i, j);
    }
  }
  return drawn;
}

// The levels of a vertical grid up to the highest that holds a node below the ground (at least
// one): every level above it is air, which is never drawn, so its units need not be copied.
inline int levelsToDraw(const VerticalGrid& grid) {
  for (int v = grid.nV; v > 1; --v) {
    for (int h = 1; h <= grid.nH; ++h) {
      if (grid.unit(h, v) != kAir) return v;
    }
  }
  return 1;
}

}  // namespace kalvenor
