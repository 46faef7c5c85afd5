#pragma once

#include <limits>

namespace kalvenor {

// A number that has no value: a residual without a contact, a node of a depth grid where the
// boundary is no contact.
inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

}  // namespace kalvenor
