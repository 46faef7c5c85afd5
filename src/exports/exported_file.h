#pragma once

#include <string>
#include <vector>

namespace kalvenor {

// One file of an export, made in memory: the run writes it with its other outputs, all or none.
struct ExportedFile {
  std::string path;
  std::string bytes;
};

using ExportedFiles = std::vector<ExportedFile>;

}  // namespace kalvenor
