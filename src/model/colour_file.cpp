#include "model/colour_file.h"

#include <cstdio>
#include <optional>
#include <sstream>
#include <vector>

#include "model/input_file.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::optional<PackedColor> parseHex(const std::string& text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  for (std::size_t n = 1; n < 7; ++n) {
    if (!isHexDigit(text[n])) return std::nullopt;
  }
  const auto channel = [&](std::size_t at) { return std::stoi(text.substr(at, 2), nullptr, 16); };
  return packRgb(channel(1), channel(3), channel(5));
}

}  // namespace

std::string colourHex(PackedColor color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(color), greenOf(color), blueOf(color));
  return text;
}

ColourFile readColourFile(const std::string& path) {
  const std::vector<std::string> lines = splitLines(readInputFile(path));
  ColourFile colours;
  for (std::size_t at = 0; at < lines.size(); ++at) {
    std::string line = lines[at];
    for (char& c : line) {
      if (c == ',' || c == '\t') c = ' ';
    }
    std::istringstream words(line);
    std::string kind, index, colour;
    if (!(words >> kind) || kind[0] == '#') continue;
    words >> index >> colour;
    const auto fail = [&](const std::string& problem) {
      throw ReadError(path, static_cast<int>(at) + 1, 0, problem);
    };
    if (kind != "unit" && kind != "boundary") {
      fail(fill(translated("expected \"unit\" or \"boundary\" at the start of the line, found {1}"),
                {quotedFound(kind)}));
    }
    const auto n = wholeNumber(index);
    if (!n || *n < 1 || *n > 1000 || *n != Int(*n)) {
      fail(fill(kind == "unit"
                    ? translated("expected the unit number (a whole number from 1), found {1}")
                    : translated("expected the boundary number (a whole number from 1), found {1}"),
                {quotedFound(index)}));
    }
    const auto packed = parseHex(colour);
    if (!packed) {
      fail(fill(translated("expected a colour written #rrggbb, found {1}"), {quotedFound(colour)}));
    }
    (kind == "unit" ? colours.unit : colours.boundary)[static_cast<int>(*n)] = *packed;
  }
  return colours;
}

}  // namespace kalvenor
