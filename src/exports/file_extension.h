#pragma once

#include <cctype>
#include <filesystem>
#include <string>

namespace kalvenor {

// The extension of a file name in lower case with its dot (".tif"); empty when it has none.
inline std::string lowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

// An ESRI ASCII grid, which the exports write themselves rather than through GDAL.
inline bool isEsriGrid(const std::string& path) { return lowerExtension(path) == ".asc"; }

}  // namespace kalvenor
