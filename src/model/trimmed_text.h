#pragma once

#include <string>

namespace kalvenor {

// The text without the blanks and line ends around it, as a field or a name is compared.
inline std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace kalvenor
