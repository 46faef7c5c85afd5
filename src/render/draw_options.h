#pragma once

#include <cstdint>

#include "model/packed_color.h"

namespace kalvenor {

struct DrawOptions {
  PackedColor LineColor = kBlack;
  std::int16_t DrawBoundary = 0;
  std::int16_t DrawMode = 0;
};

}  // namespace kalvenor
