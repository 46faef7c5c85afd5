#pragma once

#include <cstdint>
#include <vector>

#include "scene/geology_map.h"

namespace kalvenor {

// A straight piece of a line between two keyed points: the same key is the same point in every
// piece that has it.
struct KeyedSegment {
  std::uint64_t a = 0, b = 0;
  PlanPoint pa{}, pb{};
};

// The pieces joined end to end into lines: a line runs on through every point that two pieces
// share and ends where one piece, or more than two, meet; a closed line repeats its first point
// at its end. A piece given twice, either way round, counts once.
std::vector<std::vector<PlanPoint>> chainedLines(const std::vector<KeyedSegment>& pieces);

}  // namespace kalvenor
