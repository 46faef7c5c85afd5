#pragma once

#include <string>

#include "model/gdal_dataset.h"

class OGRLayer;

namespace kalvenor {

class GdalScope;

// Opening one layer of a file GDAL reads as vectors, for the readers of tables and polygons.

// The file and the layer a name gives: "file.gpkg|layername=collars" reads that layer of the
// file, as GIS programs write it.
struct LayerName {
  std::string file;
  std::string layer;
};
LayerName layerName(const std::string& path);

// The file opened as vectors (a CSV file with its first line as its header); throws ReadError
// naming `path`, with GDAL's reason, when GDAL cannot open it.
GdalDataset openVectors(const std::string& path, const std::string& file, const GdalScope& gdal);

// The layer `name` of the dataset, or its only layer when `name` is empty; throws ReadError
// naming `path` when there is no such layer, none at all, or several and no name.
OGRLayer& layerOf(const std::string& path, const std::string& name, GDALDataset& dataset);

// The layer's coordinate system as WKT, "" when it names none.
std::string systemOf(OGRLayer& layer);

}  // namespace kalvenor
