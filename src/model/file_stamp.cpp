#include "model/file_stamp.h"

#include <cpl_vsi.h>

#include <algorithm>
#include <chrono>

#include "model/gdal_dataset.h"
#include "model/gdal_scope.h"
#include "model/grid_surface.h"

namespace kalvenor {
namespace {

std::optional<FileStamp> localStamp(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  const std::filesystem::file_time_type modified = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  return FileStamp{size, modified};
}

// A file GDAL reaches through its own file systems (a member of a zip archive).
std::optional<FileStamp> gdalFileStamp(const std::string& path) {
  VSIStatBufL status;
  if (VSIStatL(path.c_str(), &status) != 0) return std::nullopt;
  const auto modified = std::chrono::file_clock::from_sys(
      std::chrono::system_clock::from_time_t(static_cast<std::time_t>(status.st_mtime)));
  return FileStamp{
      static_cast<std::uintmax_t>(status.st_size),
      std::chrono::time_point_cast<std::filesystem::file_time_type::duration>(modified)};
}

// A name only GDAL knows stands for the files GDAL reads it from (the GeoPackage of one of its
// tables): together they change when any of them does.
std::optional<FileStamp> stampOfGdalName(const std::string& path) {
  const GdalScope gdal;
  const GdalDataset dataset(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
  if (!dataset) return std::nullopt;
  char** files = dataset->GetFileList();
  std::optional<FileStamp> stamp;
  for (char** file = files; file && *file; ++file) {
    std::optional<FileStamp> one = localStamp(*file);
    if (!one) one = gdalFileStamp(*file);
    if (!one) {
      stamp.reset();
      break;
    }
    if (!stamp) {
      stamp = one;
    } else {
      stamp->size += one->size;
      stamp->modified = std::max(stamp->modified, one->modified);
    }
  }
  CSLDestroy(files);
  return stamp;
}

}  // namespace

std::optional<FileStamp> fileStamp(const std::string& path) {
  std::error_code error;
  if (!hasGdalPrefix(path) || std::filesystem::exists(path, error) || error) {
    return localStamp(path);
  }
  return stampOfGdalName(path);
}

}  // namespace kalvenor
