#pragma once

#include <charconv>
#include <string>

namespace kalvenor {

// The shortest text that reads back as the same double, "." as decimal point whatever the
// locale, for the coordinates of the text formats of a 3D export.
inline void appendNumber(std::string& text, double value) {
  char digits[32];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  text.append(digits, end);
}

}  // namespace kalvenor
