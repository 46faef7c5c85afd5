#pragma once

#include <cstdint>

namespace kalvenor {

// First, last and step (+1 or -1) of a far-to-near traversal along one axis.
struct PaintersOrder {
  std::int32_t first = 1;
  std::int32_t last = 0;
  std::int32_t step = 1;
  friend bool operator==(const PaintersOrder&, const PaintersOrder&) = default;
};

}  // namespace kalvenor
