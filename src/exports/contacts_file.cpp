#include "exports/contacts_file.h"

#include <cpl_string.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "exports/existing_layers.h"
#include "exports/file_extension.h"
#include "exports/gdal_files.h"
#include "exports/vector_layers.h"
#include "model/input_names.h"
#include "model/message_text.h"
#include "model/system_reason.h"

namespace kalvenor {
namespace {

// What a failure of GDAL's says it could not write.
std::string contactsWritten() { return translated("the section's contacts"); }

std::string withoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// A name that ends in a slash or is a folder already: a folder of shapefiles, one per layer,
// unless its extension names a format of its own.
bool namesFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && (path.back() == '/' || std::filesystem::is_directory(path, error)) &&
         !creatingDriver(withoutTrailingSlashes(path), GdalData::Vector);
}

GDALDriver& vectorDriver(const std::string& path) {
  const std::string extension = lowerExtension(path);
  GDALDriver* driver = namesFolder(path)   ? gdalDriver("ESRI Shapefile")
                       : extension.empty() ? gdalDriver("GPKG")
                                           : creatingDriver(path, GdalData::Vector);
  if (!driver) {
    throw ExportError(
        path, fill(translated("no GDAL vector format writes files ending in {1}"), {extension}));
  }
  return *driver;
}

bool holdsLayers(const std::string& path, GDALDriver& driver) {
  return namesFolder(path) || driver.GetMetadataItem(GDAL_DCAP_MULTIPLE_VECTOR_LAYERS);
}

std::string layerName(const std::string& path, const std::string& layer) {
  if (!layer.empty()) return layer;
  const std::filesystem::path name = std::filesystem::path(withoutTrailingSlashes(path)).filename();
  return (namesFolder(path) ? name : name.stem()).string();
}

// Where GDAL makes the layer's dataset: the file itself, or the layer's shapefile in a folder.
std::string datasetPath(const std::string& path, const std::string& layer) {
  if (!namesFolder(path)) return path;
  return withoutTrailingSlashes(path) + "/" + layerName(path, layer) + ".shp";
}

OGRErr addField(OGRLayer& layer, const char* name, OGRFieldType type) {
  OGRFieldDefn field(name, type);
  return layer.CreateField(&field);
}

OGRErr addLine(OGRLayer& layer, const ContactLine& line, const std::string& name) {
  OGRFeature feature(layer.GetLayerDefn());
  feature.SetField("name", name.c_str());
  feature.SetField("boundary", line.boundary);
  feature.SetField("from_dist", line.points.front().distance);
  feature.SetField("to_dist", line.points.back().distance);
  OGRLineString geometry;
  for (const ContactPoint& p : line.points) geometry.addPoint(p.x, p.y, p.z);
  feature.SetGeometry(&geometry);
  return layer.CreateFeature(&feature);
}

// The display surface's system, checked first for a format that must convert the lines.
std::optional<OGRSpatialReference> layerSystem(const std::string& path, const GDALDriver& driver,
                                               const std::string& srs) {
  checkContactsSystem(path, srs);
  return vectorLayerSystem(path, driver, srs);
}

// What goes into the layer.
struct ContactsLayer {
  std::string name;
  const std::vector<ContactLine>& lines;
  const std::vector<std::string>& boundaryName;
  const std::string& srs;
};

void fillLayer(GDALDataset& dataset, const std::string& path, GDALDriver& driver,
               const ContactsLayer& contacts) {
  std::optional<OGRSpatialReference> system = layerSystem(path, driver, contacts.srs);
  CPLStringList options = vectorLayerOptions(driver);
  OGRLayer* layer = dataset.CreateLayer(contacts.name.c_str(), system ? &*system : nullptr,
                                        wkbLineString25D, options.List());
  if (!layer) throw gdalFailure(path, driver, translated("the contacts layer"));
  const auto check = [&](OGRErr status, const std::string& what) {
    if (status != OGRERR_NONE) throw gdalFailure(path, driver, what);
  };
  const auto addNamedField = [&](const char* name, OGRFieldType type) {
    check(addField(*layer, name, type), fill(translated("the field {1}"), {name}));
  };
  addNamedField("name", OFTString);
  addNamedField("boundary", OFTInteger);
  addNamedField("from_dist", OFTReal);
  addNamedField("to_dist", OFTReal);
  for (const ContactLine& line : contacts.lines) {
    const std::string name = line.boundary == 0 ? "ground" : contacts.boundaryName[line.boundary];
    check(addLine(*layer, line, name), fill(translated("the line of {1}"), {name}));
  }
}

// A new file (or shapefile) that holds the layer alone.
ExportedFiles newDatasetFiles(const std::string& path, GDALDriver& driver,
                              const ContactsLayer& contacts) {
  return writeWithGdal(path, driver, contactsWritten(), [&](const WorkFolder& folder) {
    GdalDataset dataset(driver.Create(folder.pathFor(path).c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (dataset) fillLayer(*dataset, path, driver, contacts);
    return dataset;
  });
}

std::string fileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file.good() && !file.eof()) {
    const std::string reason = systemReason(errno);
    throw ExportError(path,
                      fill(translated("cannot read the file to add the layer: {1}"), {reason}));
  }
  return bytes;
}

// The container as it is, with the layer written anew: a copy is updated, which the run's
// outputs put in the container's place only when every one of them is ready.
ExportedFiles updatedContainerFiles(const std::string& path, GDALDriver& driver,
                                    const ContactsLayer& contacts) {
  const std::string bytes = fileBytes(path);
  return writeWithGdal(path, driver, contactsWritten(), [&](const WorkFolder& folder) {
    folder.put(path, bytes);
    const char* const only[] = {driver.GetDescription(), nullptr};
    GdalDataset dataset(GDALDataset::Open(folder.pathFor(path).c_str(),
                                          GDAL_OF_VECTOR | GDAL_OF_UPDATE, only, nullptr, nullptr));
    if (!dataset) throw gdalFailure(path, driver, translated("the contacts into the file"));
    for (int n = 0; n < dataset->GetLayerCount(); ++n) {
      if (!EQUAL(dataset->GetLayer(n)->GetName(), contacts.name.c_str())) continue;
      if (dataset->DeleteLayer(n) != OGRERR_NONE) {
        throw gdalFailure(path, driver,
                          fill(translated("over the old layer {1}"), {contacts.name}));
      }
      break;
    }
    fillLayer(*dataset, path, driver, contacts);
    return dataset;
  });
}

std::string listed(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// A container that is there already keeps every other layer it holds.
ExportedFiles containerFiles(const std::string& path, GDALDriver& driver,
                             const ContactsLayer& contacts) {
  const std::vector<std::string> others = layersToKeep(path, driver, contacts.name);
  if (driver.GetMetadataItem(GDAL_DCAP_DELETE_LAYER)) {
    return updatedContainerFiles(path, driver, contacts);
  }
  if (!others.empty()) {
    throw ExportError(path, fill(translated("it holds the layers {1}, which GDAL's {2} driver "
                                            "cannot keep while it writes another; name another "
                                            "file"),
                                 {listed(others), formatName(driver)}));
  }
  return newDatasetFiles(path, driver, contacts);
}

}  // namespace

void checkContactsName(const std::string& path, const std::string& layer) {
  GDALDriver& driver = vectorDriver(path);
  if (!layer.empty() && !holdsLayers(path, driver)) {
    throw ExportError(path, fill(translated("this format holds one layer, named like the file, so "
                                            "{1} cannot name it; {1} names a layer of a "
                                            "GeoPackage, an SQLite file or a folder of shapefiles"),
                                 {"--layer"}));
  }
  if (namesFolder(path) && layer.find('/') != std::string::npos) {
    throw ExportError(
        path,
        fill(translated("{1} {2}: the layer of a folder of shapefiles is a file name, without /"),
             {"--layer", layer}));
  }
}

void checkContactsSystem(const std::string& path, const std::string& srs) {
  if (holdsWgs84Only(vectorDriver(path)) &&
      (srs.empty() || coordinateSystem(path, srs).IsLocal())) {
    throw ExportError(path, fill(translated("GeoJSON holds longitudes and latitudes (WGS 84), but "
                                            "the display surface names no coordinate system to "
                                            "convert from; give {1}, or write the contacts as "
                                            ".gpkg"),
                                 {inputName("--srs")}));
  }
}

std::vector<std::string> contactsFileNames(const std::string& path, const std::string& layer) {
  const GDALDriver& driver = vectorDriver(path);
  const std::filesystem::path dataset = datasetPath(path, layer);
  const auto beside = [&](const char* extension) {
    return std::filesystem::path(dataset).replace_extension(extension).string();
  };
  if (formatName(driver) == "ESRI Shapefile") {
    return {beside(".shp"), beside(".shx"), beside(".dbf"), beside(".prj"), beside(".cpg")};
  }
  if (formatName(driver) == "CSV") return {dataset.string(), beside(".csvt"), beside(".prj")};
  return {dataset.string()};
}

ExportedFiles sectionContactsFiles(const std::string& path, const std::string& layer,
                                   const std::vector<ContactLine>& lines,
                                   const std::vector<std::string>& boundaryName,
                                   const std::string& srs) {
  checkContactsName(path, layer);
  GDALDriver& driver = vectorDriver(path);
  const ContactsLayer contacts{layerName(path, layer), lines, boundaryName, srs};
  const std::string dataset = datasetPath(path, layer);
  std::error_code error;
  if (namesFolder(path) && std::filesystem::exists(dataset, error)) {
    layersToKeep(dataset, driver, contacts.name);
  } else if (holdsLayers(path, driver) && std::filesystem::is_regular_file(path, error)) {
    return containerFiles(path, driver, contacts);
  }
  return newDatasetFiles(dataset, driver, contacts);
}

}  // namespace kalvenor
