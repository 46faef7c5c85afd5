#include "app/default_file.h"

#include <filesystem>

#include "build_config.h"

namespace kalvenor {

std::vector<std::string> defaultFilePlaces(const std::string& programFolder) {
  constexpr const char* kFileName = "default.txt";
  const std::filesystem::path folder(programFolder);
  const std::filesystem::path installed = folder / build::kDataFolderFromPrograms / kFileName;
  return {(folder / kFileName).string(), installed.lexically_normal().string()};
}

}  // namespace kalvenor
