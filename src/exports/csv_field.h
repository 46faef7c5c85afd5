#pragma once

#include <string>

namespace kalvenor {

// A CSV field: as it is, or in double quotes (doubled inside) when it holds a comma, a quote or a
// line break.
inline std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace kalvenor
