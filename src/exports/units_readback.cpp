#include "exports/units_readback.h"

#include <gdal_priv.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "exports/export_error.h"
#include "exports/gdal_files.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

// Within a millionth of a cell, which any format that stores the corner and the spacing keeps.
bool samePlace(const GDALDataset& dataset, const NorthUpGrid& raster) {
  double read[6];
  if (const_cast<GDALDataset&>(dataset).GetGeoTransform(read) != CE_None) return false;
  const std::array<double, 6> wanted = raster.geoTransform();
  const double tolerance = 1e-6 * std::min(raster.cellWidth(), raster.cellHeight());
  for (int n = 0; n < 6; ++n) {
    if (!(std::abs(read[n] - wanted[n]) <= tolerance)) return false;
  }
  return true;
}

// How many pixels come back with another unit than was written.
long long changedPixels(GDALRasterBand& band, const NorthUpGrid& raster,
                        const std::vector<GByte>& values) {
  int hasNodata = 0;
  const double nodata = band.GetNoDataValue(&hasNodata);
  std::vector<double> row(static_cast<std::size_t>(raster.columns()));
  long long changed = 0;
  for (int r = 0; r < raster.rows(); ++r) {
    if (band.RasterIO(GF_Read, 0, r, raster.columns(), 1, row.data(), raster.columns(), 1,
                      GDT_Float64, 0, 0, nullptr) != CE_None) {
      return static_cast<long long>(raster.columns()) * raster.rows();
    }
    for (int c = 0; c < raster.columns(); ++c) {
      const double value = row[static_cast<std::size_t>(c)];
      const GByte unit = values[static_cast<std::size_t>(r) * raster.columns() + c];
      const bool same = value == unit || (unit == 0 && hasNodata && value == nodata);
      changed += !same;
    }
  }
  return changed;
}

}  // namespace

void checkUnitsReadBack(const std::string& path, const std::string& written,
                        const std::string& format, const std::string& reader,
                        const NorthUpGrid& raster, const std::vector<GByte>& values) {
  // The driver is asked for by name, which also has GDAL register its drivers.
  const char* const only[] = {gdalDriver(reader) ? reader.c_str() : nullptr, nullptr};
  const GdalDataset dataset(GDALDataset::Open(written.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY,
                                              only, nullptr, nullptr));
  if (!dataset || dataset->GetRasterCount() < 1) {
    throw ExportError(path, fill(translated("GDAL cannot read back the units grid that {1} "
                                            "wrote; write a lossless format such as .tif or .asc"),
                                 {format}));
  }
  if (dataset->GetRasterXSize() != raster.columns() || dataset->GetRasterYSize() != raster.rows() ||
      !samePlace(*dataset, raster)) {
    throw ExportError(path, fill(translated("{1} does not keep the size or the place of the units "
                                            "grid; write a lossless format such as .tif or .asc"),
                                 {format}));
  }
  const long long changed = changedPixels(*dataset->GetRasterBand(1), raster, values);
  if (changed > 0) {
    throw ExportError(path, fill(translated("{1} does not keep the unit codes ({2} of {3} pixels "
                                            "came back changed); write a lossless format such as "
                                            ".tif or .asc"),
                                 {format, std::to_string(changed), std::to_string(values.size())}));
  }
}

}  // namespace kalvenor
