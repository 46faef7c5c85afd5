#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/boreholes.h"
#include "model/packed_color.h"

namespace kalvenor {

// The colour of a logged unit the model does not have: a neutral grey apart from the unit colours.
constexpr PackedColor kUnknownUnitColor = packRgb(160, 160, 160);

// The colour a hole is drawn in where it is logged in `unit`: grey for a unit the model does not
// have (0), black for one the colour table does not hold.
PackedColor loggedUnitColor(const std::vector<PackedColor>& unitColor, std::int16_t unit);

// The hole's path with a point at every interval's from and to as well, depth increasing, so that
// no straight piece between two points straddles the end of an interval.
std::vector<HoleStation> tracePoints(const Borehole& hole);

// The index of the interval that holds `depth` (from <= depth < to), or -1 where none does.
int intervalAt(const Borehole& hole, double depth);

// An affine function of a point, cx x + cy y + cz z + c: a clip keeps where it is not negative.
struct KeepSide {
  double cx = 0.0;
  double cy = 0.0;
  double cz = 0.0;
  double c = 0.0;
  double at(const HoleStation& p) const { return cx * p.x + cy * p.y + cz * p.z + c; }
};

// The parts of the path where every side is kept, cut exactly where the path leaves one, each of
// at least two points and some length along the hole; depths are interpolated at the cuts.
std::vector<std::vector<HoleStation>> clipPath(std::span<const HoleStation> path,
                                               std::span<const KeepSide> sides);

// The point a fraction t of the way from a to b, depth included.
HoleStation between(const HoleStation& a, const HoleStation& b, double t);

}  // namespace kalvenor
