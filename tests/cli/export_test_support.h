#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "cli/export_error.h"
#include "cli/exported_file.h"

namespace kalvenor {

// A folder of its own for one test's files, removed with them when the object goes.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("kalvenor_exports_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Writes the files of an export where the run would, so that GDAL can open them again.
inline void writeToDisk(const ExportedFiles& files) {
  for (const ExportedFile& f : files) std::ofstream(f.path, std::ios::binary) << f.bytes;
}

// The message of the ExportError that `make` throws; "no error" when it throws none.
inline std::string exportErrorOf(const std::function<void()>& make) {
  try {
    make();
  } catch (const ExportError& error) {
    return error.what();
  }
  return "no error";
}

}  // namespace kalvenor
