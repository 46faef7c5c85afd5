#pragma once

#include <cstdint>

#include "model/array2d.h"

namespace kalvenor {

// Units of a vertical grid of nodes: a side wall of the map block or the section. Node (h, v)
// lies at (x0 + (h-1) dxH, y0 + (h-1) dyH, z0 + (v-1) dzV).
struct VerticalGrid {
  std::int32_t nH = 0;
  std::int32_t nV = 0;
  double x0 = 0.0;
  double y0 = 0.0;
  double z0 = 0.0;
  double dxH = 0.0;
  double dyH = 0.0;
  double dzV = 0.0;
  // 1..Nbd+1 a unit, 0 no unit, -1 above the display surface (air).
  Array2D<std::int16_t> unit;  // (1..nH, 1..nV)

  bool empty() const { return unit.empty(); }
};

constexpr std::int16_t kAir = -1;

}  // namespace kalvenor
