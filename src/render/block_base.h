#pragma once

#include <optional>

namespace kalvenor {

// The base of the block as the renderers take it: the typed base height, or nothing when the
// height typed is -99999 or less, which asks for a block without a base rectangle and corner
// edges. The walls and the section still start at the typed height.
inline std::optional<double> blockBase(double typedZbase) {
  if (typedZbase > -99999) return typedZbase;
  return std::nullopt;
}

}  // namespace kalvenor
