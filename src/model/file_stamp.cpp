#include "model/file_stamp.h"

#include "model/grid_surface.h"

namespace kalvenor {

std::optional<FileStamp> localFileStamp(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  const std::filesystem::file_time_type modified = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  return FileStamp{size, modified};
}

std::optional<FileStamp> fileStamp(const std::string& path) {
  std::error_code error;
  if (!hasGdalPrefix(path) || std::filesystem::exists(path, error) || error) {
    return localFileStamp(path);
  }
  return gdalNameStamp(path);
}

}  // namespace kalvenor
