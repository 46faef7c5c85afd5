#include "model/message_text.h"

#include <libintl.h>

#include <cctype>
#include <vector>

namespace kalvenor {

const char* translated(const char* english) { return dgettext(kMessageDomain, english); }

const char* translatedCount(const char* singular, const char* plural, unsigned long count) {
  return dngettext(kMessageDomain, singular, plural, count);
}

std::string fill(const std::string& pattern, std::initializer_list<std::string> values) {
  const std::vector<std::string> value(values);
  std::string text;
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    const bool placeholder = pattern[at] == '{' && at + 2 < pattern.size() &&
                             std::isdigit(static_cast<unsigned char>(pattern[at + 1])) &&
                             pattern[at + 2] == '}';
    const std::size_t n = placeholder ? static_cast<std::size_t>(pattern[at + 1] - '0') : 0;
    if (n >= 1 && n <= value.size()) {
      text += value[n - 1];
      at += 2;
    } else {
      text += pattern[at];
    }
  }
  return text;
}

}  // namespace kalvenor
