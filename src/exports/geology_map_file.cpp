#include "exports/geology_map_file.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

#include "exports/file_extension.h"
#include "exports/gdal_files.h"
#include "exports/qgis_style.h"
#include "exports/vector_layers.h"
#include "model/colour_file.h"
#include "model/input_names.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

GDALDriver& mapDriver(const std::string& path) {
  const std::string extension = lowerExtension(path);
  GDALDriver* driver =
      extension.empty() ? gdalDriver("GPKG") : creatingDriver(path, GdalData::Vector);
  if (!driver) {
    throw ExportError(
        path, fill(translated("no GDAL vector format writes files ending in {1}"), {extension}));
  }
  return *driver;
}

bool isGeoPackage(const GDALDriver& driver) {
  return std::string(driver.GetDescription()) == "GPKG";
}

// Where a format of one layer a file keeps the contacts: beside the units, "_contacts" added to
// the stem.
std::string contactsPath(const std::string& path) {
  const std::filesystem::path units(path);
  return (units.parent_path() / (units.stem().string() + "_contacts" + units.extension().string()))
      .string();
}

// The files GDAL makes for one layer's dataset at `dataset`.
std::vector<std::string> datasetFiles(const GDALDriver& driver, const std::string& dataset) {
  const auto beside = [&](const char* extension) {
    return std::filesystem::path(dataset).replace_extension(extension).string();
  };
  const std::string format = driver.GetDescription();
  if (format == "ESRI Shapefile") {
    return {beside(".shp"), beside(".shx"), beside(".dbf"), beside(".prj"), beside(".cpg")};
  }
  if (format == "CSV") return {dataset, beside(".csvt"), beside(".prj")};
  return {dataset};
}

std::vector<StyleCategory> unitCategories(const GeologyMap& map) {
  std::vector<StyleCategory> categories;
  for (const MapUnitArea& unit : map.units) {
    categories.push_back({std::to_string(unit.unit), unit.name, unit.color});
  }
  return categories;
}

std::vector<StyleCategory> boundaryCategories(const GeologyMap& map) {
  std::vector<StyleCategory> categories;
  for (const MapContactLine& line : map.contacts) {
    const std::string value = std::to_string(line.boundary);
    if (categories.empty() || categories.back().value != value) {
      categories.push_back({value, line.name, line.color});
    }
  }
  return categories;
}

std::string unitsStyle(const GeologyMap& map) {
  return qgisCategorizedStyle("unit", unitCategories(map), StyleSymbol::Fill);
}

std::string contactsStyle(const GeologyMap& map) {
  return qgisCategorizedStyle("boundary", boundaryCategories(map), StyleSymbol::Line);
}

// Makes a layer and its fields, or throws naming what failed.
class LayerMaker {
 public:
  LayerMaker(GDALDataset& dataset, const std::string& path, GDALDriver& driver,
             const std::string& srs)
      : dataset_(dataset),
        path_(path),
        driver_(driver),
        system_(vectorLayerSystem(path, driver, srs)) {}

  OGRLayer& layer(const char* name, OGRwkbGeometryType type, const std::string& what) {
    CPLStringList options = vectorLayerOptions(driver_);
    OGRLayer* layer =
        dataset_.CreateLayer(name, system_ ? &*system_ : nullptr, type, options.List());
    if (!layer) throw gdalFailure(path_, driver_, what);
    return *layer;
  }
  void field(OGRLayer& layer, const char* name, OGRFieldType type) {
    OGRFieldDefn field(name, type);
    check(layer.CreateField(&field), fill(translated("the field {1}"), {name}));
  }
  void check(OGRErr status, const std::string& what) const {
    if (status != OGRERR_NONE) throw gdalFailure(path_, driver_, what);
  }

 private:
  GDALDataset& dataset_;
  const std::string& path_;
  GDALDriver& driver_;
  std::optional<OGRSpatialReference> system_;
};

OGRLinearRing linearRing(const PlanRing& ring) {
  OGRLinearRing made;
  for (const PlanPoint& p : ring) made.addPoint(p[0], p[1]);
  made.closeRings();
  return made;
}

OGRMultiPolygon multiPolygon(const MapUnitArea& unit) {
  OGRMultiPolygon made;
  for (const PlanPolygon& polygon : unit.polygons) {
    OGRPolygon part;
    OGRLinearRing outer = linearRing(polygon.outer);
    part.addRing(&outer);
    for (const PlanRing& hole : polygon.holes) {
      OGRLinearRing inner = linearRing(hole);
      part.addRing(&inner);
    }
    made.addGeometry(&part);
  }
  return made;
}

void fillUnits(LayerMaker& maker, const GeologyMap& map) {
  OGRLayer& layer = maker.layer("units", wkbMultiPolygon, translated("the units layer"));
  maker.field(layer, "unit", OFTInteger);
  maker.field(layer, "name", OFTString);
  maker.field(layer, "color", OFTString);
  maker.field(layer, "area_m2", OFTReal);
  for (const MapUnitArea& unit : map.units) {
    OGRFeature feature(layer.GetLayerDefn());
    feature.SetField("unit", unit.unit);
    feature.SetField("name", unit.name.c_str());
    feature.SetField("color", colourHex(unit.color).c_str());
    feature.SetField("area_m2", unit.area);
    OGRMultiPolygon geometry = multiPolygon(unit);
    feature.SetGeometry(&geometry);
    maker.check(layer.CreateFeature(&feature),
                fill(translated("the polygons of {1}"), {unit.name}));
  }
}

void fillContacts(LayerMaker& maker, const GeologyMap& map) {
  OGRLayer& layer = maker.layer("contacts", wkbLineString, translated("the contacts layer"));
  maker.field(layer, "boundary", OFTInteger);
  maker.field(layer, "name", OFTString);
  maker.field(layer, "length_m", OFTReal);
  for (const MapContactLine& line : map.contacts) {
    OGRFeature feature(layer.GetLayerDefn());
    feature.SetField("boundary", line.boundary);
    feature.SetField("name", line.name.c_str());
    feature.SetField("length_m", line.length);
    OGRLineString geometry;
    for (const PlanPoint& p : line.points) geometry.addPoint(p[0], p[1]);
    feature.SetGeometry(&geometry);
    maker.check(layer.CreateFeature(&feature), fill(translated("the line of {1}"), {line.name}));
  }
}

// QGIS's own table of layer styles, as QGIS makes it in a GeoPackage: each layer's style is its
// default, which QGIS loads with the layer.
void fillStyles(GDALDataset& dataset, LayerMaker& maker, const GeologyMap& map) {
  OGRLayer& layer = maker.layer("layer_styles", wkbNone, translated("the layer styles"));
  for (const char* name : {"f_table_catalog", "f_table_schema", "f_table_name", "f_geometry_column",
                           "styleName", "styleQML", "styleSLD"}) {
    maker.field(layer, name, OFTString);
  }
  OGRFieldDefn useAsDefault("useAsDefault", OFTInteger);
  useAsDefault.SetSubType(OFSTBoolean);
  maker.check(layer.CreateField(&useAsDefault),
              fill(translated("the field {1}"), {"useAsDefault"}));
  for (const char* name : {"description", "owner", "ui"}) maker.field(layer, name, OFTString);
  OGRFieldDefn updated("update_time", OFTDateTime);
  updated.SetDefault("CURRENT_TIMESTAMP");
  maker.check(layer.CreateField(&updated), fill(translated("the field {1}"), {"update_time"}));
  for (const auto& [table, style] :
       {std::pair{"units", unitsStyle(map)}, std::pair{"contacts", contactsStyle(map)}}) {
    OGRFeature feature(layer.GetLayerDefn());
    feature.SetField("f_table_catalog", "");
    feature.SetField("f_table_schema", "");
    feature.SetField("f_table_name", table);
    feature.SetField("f_geometry_column", dataset.GetLayerByName(table)->GetGeometryColumn());
    feature.SetField("styleName", table);
    feature.SetField("styleQML", style.c_str());
    feature.SetField("styleSLD", "");
    feature.SetField("useAsDefault", 1);
    feature.SetField("description", "");
    feature.SetField("owner", "");
    feature.SetField("ui", "");
    maker.check(layer.CreateFeature(&feature), translated("the layer styles"));
  }
}

// One dataset of the map at `path`, with the layers `fill` makes in it.
ExportedFiles datasetWith(const std::string& path, GDALDriver& driver, const std::string& srs,
                          const std::function<void(GDALDataset&, LayerMaker&)>& fillIn) {
  return writeWithGdal(
      path, driver, translated("the geological map"), [&](const WorkFolder& folder) {
        GdalDataset dataset(
            driver.Create(folder.pathFor(path).c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        if (dataset) {
          LayerMaker maker(*dataset, path, driver, srs);
          fillIn(*dataset, maker);
        }
        return dataset;
      });
}

}  // namespace

void checkGeologyMapName(const std::string& path) { mapDriver(path); }

void checkGeologyMapSystem(const std::string& path, const std::string& srs) {
  if (holdsWgs84Only(mapDriver(path)) && (srs.empty() || coordinateSystem(path, srs).IsLocal())) {
    throw ExportError(path, fill(translated("GeoJSON holds longitudes and latitudes (WGS 84), but "
                                            "the display surface names no coordinate system to "
                                            "convert from; give {1}, or write the geological map "
                                            "as .gpkg"),
                                 {inputName("--srs")}));
  }
}

std::vector<std::string> geologyMapFileNames(const std::string& path) {
  const GDALDriver& driver = mapDriver(path);
  if (isGeoPackage(driver)) return {path};
  std::vector<std::string> names = datasetFiles(driver, path);
  for (const std::string& name : datasetFiles(driver, contactsPath(path))) names.push_back(name);
  names.push_back(qgisStylePath(path));
  names.push_back(qgisStylePath(contactsPath(path)));
  return names;
}

ExportedFiles geologyMapFiles(const std::string& path, const GeologyMap& map) {
  GDALDriver& driver = mapDriver(path);
  checkGeologyMapSystem(path, map.srs);
  if (isGeoPackage(driver)) {
    return datasetWith(path, driver, map.srs, [&](GDALDataset& dataset, LayerMaker& maker) {
      fillUnits(maker, map);
      fillContacts(maker, map);
      fillStyles(dataset, maker, map);
    });
  }
  ExportedFiles files = datasetWith(
      path, driver, map.srs, [&](GDALDataset&, LayerMaker& maker) { fillUnits(maker, map); });
  const std::string contacts = contactsPath(path);
  for (ExportedFile& file :
       datasetWith(contacts, driver, map.srs,
                   [&](GDALDataset&, LayerMaker& maker) { fillContacts(maker, map); })) {
    files.push_back(std::move(file));
  }
  files.push_back({qgisStylePath(path), unitsStyle(map)});
  files.push_back({qgisStylePath(contacts), contactsStyle(map)});
  return files;
}

}  // namespace kalvenor
