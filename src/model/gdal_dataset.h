#pragma once

#include <gdal_priv.h>

#include <memory>

namespace kalvenor {

struct GdalDatasetCloser {
  void operator()(GDALDataset* dataset) const { GDALClose(GDALDataset::ToHandle(dataset)); }
};

// An open GDAL dataset, closed when it goes.
using GdalDataset = std::unique_ptr<GDALDataset, GdalDatasetCloser>;

}  // namespace kalvenor
