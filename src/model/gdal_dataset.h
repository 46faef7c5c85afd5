#pragma once

#include <gdal_priv.h>
#include <ogr_feature.h>

#include <memory>

namespace kalvenor {

struct GdalDatasetCloser {
  void operator()(GDALDataset* dataset) const { GDALClose(GDALDataset::ToHandle(dataset)); }
};

// An open GDAL dataset, closed when it goes.
using GdalDataset = std::unique_ptr<GDALDataset, GdalDatasetCloser>;

struct OgrFeatureDestroyer {
  void operator()(OGRFeature* feature) const { OGRFeature::DestroyFeature(feature); }
};

// A feature read from a layer, destroyed when it goes.
using FeaturePointer = std::unique_ptr<OGRFeature, OgrFeatureDestroyer>;

}  // namespace kalvenor
