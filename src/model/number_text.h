#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace kalvenor {

// Numbers typed into boxes and read from files follow one rule: skip leading blanks, then an
// optional sign, digits with "." as decimal point and an optional exponent. Whatever follows is
// ignored; text without a leading number, or one beyond the range of a double, reads as 0.
double leadingNumber(std::string_view text);

// The whole text (surrounding blanks aside) must be one number within the range of a double;
// otherwise nothing.
std::optional<double> wholeNumber(std::string_view text);

// The number that starts exactly at `at` (nothing skipped before it) by the same rule, and where
// it ends; `end` is `at` when no number starts there, and `value` is empty then and when the
// number is beyond the range of a double. For readers that find where an item ends themselves.
struct NumberAt {
  std::optional<double> value;
  std::size_t end = 0;
};
NumberAt numberAt(std::string_view text, std::size_t at);

// Round to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4): what
// std::nearbyint gives in the default rounding mode, bit for bit, but inline, as the
// classification rounds every elevation it compares. Below 2^52, adding 2^52 leaves no bits for
// a fraction, so the addition itself rounds, halves to even; taking 2^52 away again is exact.
inline double roundHalfEven(double value) {
  constexpr double kNoFraction = 4503599627370496.0;  // 2^52
  // Whole already, infinite or not a number (which the addition quiets, as nearbyint does).
  if (!(std::abs(value) < kNoFraction)) return value + 0.0;
  return std::copysign((std::abs(value) + kNoFraction) - kNoFraction, value);
}

// Int is floor, Fix truncates toward zero: Int(-0.5) = -1, Fix(-0.5) = 0. Inline: every node a
// picture projects and every trace point is rounded with them.
inline double Int(double value) { return std::floor(value); }
inline double Fix(double value) { return std::trunc(value); }

// The general number-to-text form: up to 15 significant digits, no trailing zeros, no
// grouping, "." as decimal point; exponent form ("1E+15", "1E-05") only below 1e-4 or from 1e15.
std::string numberText(double value);

// The same with a sign position: a blank before a number that is not negative.
std::string signedNumberText(double value);

}  // namespace kalvenor
