#pragma once

#include <vector>

namespace kalvenor {

// Round-number positions from `low` to `high` for axis ticks: multiples of 1, 2 or 5 times a
// power of ten, at most `most` of them (at least one step is taken). Empty when the range is
// empty or not finite.
std::vector<double> roundTicks(double low, double high, int most);

}  // namespace kalvenor
