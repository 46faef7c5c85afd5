#pragma once

#include <cstdint>

namespace kalvenor {

// Colours travel as red + 256 x green + 65536 x blue, the form the model files and the colour
// arrays keep them in.
using PackedColor = std::int32_t;

constexpr PackedColor packRgb(int red, int green, int blue) {
  return red + 256 * green + 65536 * blue;
}
constexpr int redOf(PackedColor color) { return color & 0xFF; }
constexpr int greenOf(PackedColor color) { return (color >> 8) & 0xFF; }
constexpr int blueOf(PackedColor color) { return (color >> 16) & 0xFF; }

constexpr PackedColor kBlack = packRgb(0, 0, 0);
constexpr PackedColor kWhite = packRgb(255, 255, 255);

}  // namespace kalvenor
