#include "exports/borehole_check_points.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <filesystem>

#include "exports/borehole_check_status.h"
#include "exports/existing_layers.h"
#include "exports/gdal_files.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

const char* const kRealFields[] = {"logged_depth", "logged_z", "modelled_depth", "modelled_z",
                                   "residual"};

std::string pointsWritten() { return translated("the borehole check's contacts"); }

std::string layerName(const std::string& path) {
  return std::filesystem::path(path).stem().string();
}

bool isCheckLayer(OGRLayer& layer) {
  if (wkbFlatten(layer.GetGeomType()) != wkbPoint) return false;
  OGRFeatureDefn& fields = *layer.GetLayerDefn();
  for (const char* name : {"hole", "boundary", "residual", "status"}) {
    if (fields.GetFieldIndex(name) < 0) return false;
  }
  return true;
}

// A file there already is replaced only when all it holds is the check's layer written before.
void refuseToLoseLayers(const std::string& path, GDALDriver& driver) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return;
  const std::string name = layerName(path);
  for (const std::string& layer : layersToKeep(path, driver, "")) {
    if (layer != name) {
      throw ExportError(path, fill(translated("it holds the layer {1}, which writing the "
                                              "borehole check anew would lose; name another file"),
                                   {layer}));
    }
  }
  const GdalMessages messages;
  const GdalDataset dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  OGRLayer* layer = dataset ? dataset->GetLayerByName(name.c_str()) : nullptr;
  if (layer && !isCheckLayer(*layer)) {
    throw ExportError(path, fill(translated("its layer {1} is not a borehole check's, so it is "
                                            "kept; name another file"),
                                 {name}));
  }
}

void setReal(OGRFeature& feature, const char* name, double value) {
  if (std::isnan(value)) {
    feature.SetFieldNull(feature.GetFieldIndex(name));
  } else {
    feature.SetField(name, value);
  }
}

OGRErr addPoint(OGRLayer& layer, const BoreholeCheck& check, const ContactCheck& c) {
  OGRFeature feature(layer.GetLayerDefn());
  feature.SetField("hole", check.holes[c.hole].id.c_str());
  feature.SetField("boundary", c.boundary);
  if (c.boundary < static_cast<int>(check.boundaryName.size())) {
    feature.SetField("boundary_name", check.boundaryName[c.boundary].c_str());
  }
  setReal(feature, "logged_depth", c.depth);
  setReal(feature, "logged_z", c.z);
  setReal(feature, "modelled_depth", c.modelledDepth);
  setReal(feature, "modelled_z", c.modelledZ);
  setReal(feature, "residual", c.residual);
  feature.SetField("status", contactStatusName(c.status));
  OGRPoint point(c.x, c.y, c.z);
  feature.SetGeometry(&point);
  return layer.CreateFeature(&feature);
}

OGRLayer& createLayer(GDALDataset& dataset, const std::string& path, GDALDriver& driver,
                      const std::string& srs) {
  OGRSpatialReference system =
      coordinateSystem(path, srs.empty() ? R"(LOCAL_CS["Undefined cartesian SRS"])" : srs);
  OGRLayer* layer = dataset.CreateLayer(layerName(path).c_str(), &system, wkbPoint25D, nullptr);
  if (!layer) throw gdalFailure(path, driver, translated("the layer of the borehole check"));
  const auto add = [&](const char* name, OGRFieldType type) {
    OGRFieldDefn field(name, type);
    if (layer->CreateField(&field) != OGRERR_NONE) {
      throw gdalFailure(path, driver, fill(translated("the field {1}"), {name}));
    }
  };
  add("hole", OFTString);
  add("boundary", OFTInteger);
  add("boundary_name", OFTString);
  for (const char* name : kRealFields) add(name, OFTReal);
  add("status", OFTString);
  return *layer;
}

void fillLayer(GDALDataset& dataset, const std::string& path, GDALDriver& driver,
               const BoreholeCheck& check, const std::string& srs) {
  OGRLayer& layer = createLayer(dataset, path, driver, srs);
  // One transaction: a GeoPackage commits every feature on its own otherwise.
  const bool inOne = dataset.StartTransaction() == OGRERR_NONE;
  for (const ContactCheck& c : check.contacts) {
    if (addPoint(layer, check, c) != OGRERR_NONE) {
      throw gdalFailure(path, driver,
                        fill(translated("the contact of hole {1}"), {check.holes[c.hole].id}));
    }
  }
  if (inOne && dataset.CommitTransaction() != OGRERR_NONE)
    throw gdalFailure(path, driver, pointsWritten());
}

}  // namespace

ExportedFiles boreholeCheckGeoPackage(const std::string& path, const BoreholeCheck& check,
                                      const std::string& srs) {
  GDALDriver* driver = gdalDriver("GPKG");
  if (!driver) {
    throw ExportError(path, translated("this GDAL has no GeoPackage driver"));
  }
  refuseToLoseLayers(path, *driver);
  return writeWithGdal(path, *driver, pointsWritten(), [&](const WorkFolder& folder) {
    GdalDataset dataset(
        driver->Create(folder.pathFor(path).c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (dataset) fillLayer(*dataset, path, *driver, check, srs);
    return dataset;
  });
}

}  // namespace kalvenor
