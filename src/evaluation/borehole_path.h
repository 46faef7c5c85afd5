#pragma once

#include "model/boreholes.h"

namespace kalvenor {

struct HolePoint {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// Where the hole is at `depth` along it: straight between the stations of its path, and beyond
// its first or last station along the first or last segment, so that an interval logged past
// the surveyed end still has a place. A hole without a path runs straight down from its collar,
// one with a single station straight down from that station.
HolePoint holePointAt(const Borehole& hole, double depth);

}  // namespace kalvenor
