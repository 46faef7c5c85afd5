#pragma once

#include <cstdint>

#include "model/array2d.h"

namespace kalvenor {

// The units a renderer draws with, for nodes 1..nI by 1..nJ: copied from a grid build's units
// where they cover the node, 0 (no unit) where they do not.
inline Array2D<std::int32_t> unitsToDraw(const Array2D<std::int16_t>& units, int nI, int nJ) {
  Array2D<std::int32_t> drawn(1, nI, 1, nJ, 0);
  for (int i = 1; i <= nI; ++i) {
    for (int j = 1; j <= nJ; ++j) {
      if (units.contains(i, j)) drawn(i, j) = units(i, j);
    }
  }
  return drawn;
}

}  // namespace kalvenor
