#include <cpl_vsi.h>

#include <algorithm>
#include <chrono>

#include "model/file_stamp.h"
#include "model/gdal_dataset.h"
#include "model/gdal_scope.h"

namespace kalvenor {
namespace {

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

}  // namespace

// A name only GDAL knows stands for the files GDAL reads it from (the GeoPackage of one of its
// tables): together they change when any of them does.
std::optional<FileStamp> gdalNameStamp(const std::string& path) {
  const GdalScope gdal;
  const GdalDataset dataset(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
  if (!dataset) return std::nullopt;
  char** files = dataset->GetFileList();
  std::optional<FileStamp> stamp;
  for (char** file = files; file && *file; ++file) {
    std::optional<FileStamp> one = localFileStamp(*file);
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

}  // namespace kalvenor
