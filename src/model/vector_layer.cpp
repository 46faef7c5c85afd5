#include "model/vector_layer.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include "model/gdal_scope.h"
#include "model/gdal_string.h"
#include "model/message_text.h"
#include "model/read_error.h"

namespace kalvenor {
LayerName layerName(const std::string& path) {
  constexpr std::string_view kLayer = "|layername=";
  const std::size_t at = path.rfind(kLayer);
  if (at == std::string::npos) return {path, ""};
  return {path.substr(0, at), path.substr(at + kLayer.size())};
}

GdalDataset openVectors(const std::string& path, const std::string& file, const GdalScope& gdal) {
  constexpr unsigned kFlags = GDAL_OF_VECTOR | GDAL_OF_READONLY;
  GdalDataset dataset(GDALDataset::Open(file.c_str(), kFlags));
  if (!dataset) refuseWithGdalReason(path, translated("GDAL cannot open it as a table"), gdal);
  // A CSV file whose header holds only numbers would otherwise be read as a row of values.
  if (std::string(dataset->GetDriverName()) == "CSV") {
    const char* const options[] = {"HEADERS=YES", nullptr};
    dataset.reset(GDALDataset::Open(file.c_str(), kFlags, nullptr, options));
    if (!dataset) refuseWithGdalReason(path, translated("GDAL cannot open it as a table"), gdal);
  }
  return dataset;
}

OGRLayer& layerOf(const std::string& path, const std::string& name, GDALDataset& dataset) {
  if (!name.empty()) {
    OGRLayer* layer = dataset.GetLayerByName(name.c_str());
    if (!layer) {
      throw ReadError(path, 0, 0,
                      fill(translated("the file holds no layer {1}"), {quotedFound(name)}));
    }
    return *layer;
  }
  const int count = dataset.GetLayerCount();
  if (count == 0) throw ReadError(path, 0, 0, translated("the file holds no table"));
  if (count > 1) {
    std::string names;
    for (int n = 0; n < count; ++n)
      names += (n == 0 ? "" : ", ") + quotedFound(dataset.GetLayer(n)->GetName());
    throw ReadError(path, 0, 0,
                    fill(translated("the file holds {1} layers ({2}); name the one to read after "
                                    "the file, as FILE|layername=NAME"),
                         {std::to_string(count), names}));
  }
  return *dataset.GetLayer(0);
}

// A GeoPackage layer written without a system names one of the format's two undefined ones
// (srs_id -1 and 0), which say no more than none: the geographic one would have its
// coordinates taken for degrees.
bool undefinedSystem(const OGRSpatialReference& system) {
  const char* name = system.GetName();
  return name != nullptr &&
         (EQUAL(name, "Undefined geographic SRS") || EQUAL(name, "Undefined cartesian SRS"));
}

std::string systemOf(OGRLayer& layer) {
  const OGRSpatialReference* system = layer.GetSpatialRef();
  if (!system || undefinedSystem(*system)) return "";
  char* wkt = nullptr;
  system->exportToWkt(&wkt);
  return takeGdalString(wkt);
}

}  // namespace kalvenor
