#pragma once

#include <cstdint>

#include "evaluation/line_geometry.h"
#include "model/array2d.h"

namespace kalvenor {

constexpr std::int16_t kAir = -1;

// The units of the nodes of a vertical grid (1..nH, 1..nV), a byte each: every unit a model can
// have (at most 16), no unit (0) and air fit, and the four walls of a 4096 x 4096 block take 67 MB
// instead of 134. A byte holds its unit plus one, so that it is never negative and no conversion
// of it reads like one of a character.
class LevelUnits {
 public:
  LevelUnits() = default;
  LevelUnits(int nH, int nV, std::int16_t initial) : bytes_(1, nH, 1, nV, stored(initial)) {}

  std::int16_t operator()(int h, int v) const {
    return static_cast<std::int16_t>(bytes_(h, v) - 1);
  }
  void set(int h, int v, std::int16_t unit) { bytes_(h, v) = stored(unit); }

  int iFirst() const { return bytes_.iFirst(); }
  int iLast() const { return bytes_.iLast(); }
  int jFirst() const { return bytes_.jFirst(); }
  int jLast() const { return bytes_.jLast(); }
  bool empty() const { return bytes_.empty(); }
  bool contains(int h, int v) const { return bytes_.contains(h, v); }
  friend bool operator==(const LevelUnits&, const LevelUnits&) = default;

 private:
  static std::uint8_t stored(std::int16_t unit) { return static_cast<std::uint8_t>(unit + 1); }

  Array2D<std::uint8_t> bytes_;
};

// A vertical grid of nodes, a side wall of the map block or the section, with the unit of every
// node.
struct VerticalGrid : LineGeometry {
  // 1..Nbd+1 a unit, 0 no unit, -1 above the display surface (air).
  LevelUnits unit;

  bool empty() const { return unit.empty(); }
};

}  // namespace kalvenor
