#include "exports/existing_layers.h"

#include <cpl_string.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "exports/export_error.h"
#include "exports/gdal_files.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

const std::set<std::string> kContactFields = {"boundary", "from_dist", "name", "to_dist"};

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A database that another program has open keeps a journal beside it; replacing the file under
// it would lose that program's changes, or have them applied to the new file.
void refuseOpenDatabase(const std::string& path, const GDALDriver& driver) {
  const std::string format = driver.GetDescription();
  if (format != "GPKG" && format != "SQLite") return;
  for (const char* journal : {"-wal", "-journal"}) {
    std::error_code error;
    if (std::filesystem::exists(path + journal, error)) {
      throw ExportError(path, fill(translated("another program has it open ({1} lies beside "
                                              "it), so it is kept; close it there first"),
                                   {path + journal}));
    }
  }
}

}  // namespace

bool isContactsLayer(OGRLayer& layer) {
  // Spreadsheets keep the attributes without the lines.
  const OGRwkbGeometryType geometry = wkbFlatten(layer.GetGeomType());
  if (geometry != wkbLineString && geometry != wkbNone) return false;
  OGRFeatureDefn& fields = *layer.GetLayerDefn();
  std::set<std::string> names;
  for (int n = 0; n < fields.GetFieldCount(); ++n) {
    names.insert(lowerCase(fields.GetFieldDefn(n)->GetNameRef()));
  }
  // Some formats add fields of their own when they read a layer (GML its gml_id).
  return std::includes(names.begin(), names.end(), kContactFields.begin(), kContactFields.end());
}

std::vector<std::string> layersToKeep(const std::string& path, GDALDriver& driver,
                                      const std::string& layer) {
  refuseOpenDatabase(path, driver);
  const GdalMessages messages;
  const char* const only[] = {driver.GetDescription(), nullptr};
  const GdalDataset dataset(
      GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, only, nullptr, nullptr));
  if (!dataset) {
    throw ExportError(path, fill(translated("there is a file of this name that GDAL's {1} "
                                            "driver cannot read, so it is kept; name another "
                                            "file"),
                                 {driver.GetDescription()}));
  }
  std::vector<std::string> others;
  for (OGRLayer* existing : dataset->GetLayers()) {
    if (!EQUAL(existing->GetName(), layer.c_str())) {
      others.push_back(existing->GetName());
    } else if (!isContactsLayer(*existing)) {
      throw ExportError(path, fill(translated("its layer {1} is not one of section contacts "
                                              "(lines with the fields name, boundary, from_dist "
                                              "and to_dist), so it is kept; give {2} another "
                                              "name"),
                                   {existing->GetName(), "--layer"}));
    }
  }
  std::sort(others.begin(), others.end());
  return others;
}

}  // namespace kalvenor
