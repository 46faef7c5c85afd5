#pragma once

#include <map>
#include <string>

#include "model/packed_color.h"

namespace kalvenor {

// Colours given in a colour file: the fill colour of units and the line colour of boundaries,
// by number.
struct ColourFile {
  std::map<int, PackedColor> unit;
  std::map<int, PackedColor> boundary;
};

// Reads lines "unit N #rrggbb [name]" and "boundary K #rrggbb [name]"; blank lines and lines
// starting with "#" are skipped. Lines may end in "\r\n", "\r" or "\n". Throws ReadError naming
// the file, line and what was wrong.
ColourFile readColourFile(const std::string& path);

// "#rrggbb" of a packed colour.
std::string colourHex(PackedColor color);

}  // namespace kalvenor
