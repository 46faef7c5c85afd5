#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace kalvenor {

// What tells whether a file changed since it was read: its size and time of last change.
struct FileStamp {
  std::uintmax_t size = 0;
  std::filesystem::file_time_type modified{};
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The file's stamp now; nothing when it cannot be examined. A name GDAL opens that is no file here
// (a file in an archive, a table of a GeoPackage) has the stamp of the files GDAL reads for it.
std::optional<FileStamp> fileStamp(const std::string& path);

// The stamp of a file on the disk; nothing when it cannot be examined.
std::optional<FileStamp> localFileStamp(const std::string& path);

// The stamp of a name only GDAL knows: that of the files GDAL reads for it, taken together, so
// that it changes when any of them does; nothing when GDAL cannot open it.
std::optional<FileStamp> gdalNameStamp(const std::string& path);

}  // namespace kalvenor
