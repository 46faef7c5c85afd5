#pragma once

#include <cpl_conv.h>

#include <string>

namespace kalvenor {

// A string GDAL allocated for the caller, copied and freed; none gives "".
inline std::string takeGdalString(char* text) {
  std::string copy = text ? text : "";
  CPLFree(text);
  return copy;
}

}  // namespace kalvenor
