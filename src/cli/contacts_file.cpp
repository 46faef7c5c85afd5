#include "cli/contacts_file.h"

#include <cpl_string.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <filesystem>
#include <optional>

#include "cli/file_extension.h"
#include "cli/gdal_files.h"

namespace kalvenor {
namespace {

GDALDriver& vectorDriver(const std::string& path) {
  const std::string extension = lowerExtension(path);
  GDALDriver* driver =
      extension.empty() ? gdalDriver("GPKG") : creatingDriver(path, GdalData::Vector);
  if (!driver) throw ExportError(path, "no GDAL vector format writes files ending in " + extension);
  return *driver;
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

// What a format must be told to keep the lines and their names as they are.
CPLStringList layerOptions(const GDALDriver& driver) {
  const std::string format = driver.GetDescription();
  CPLStringList options;
  // Shapefiles would store the names in an old code page; GDAL keeps them in UTF-8 if told.
  if (format == "ESRI Shapefile") options.SetNameValue("ENCODING", "UTF-8");
  // CSV leaves the geometry out unless it is asked for as a column of WKT.
  if (format == "CSV") options.SetNameValue("GEOMETRY", "AS_WKT");
  return options;
}

// The coordinate system of the layer: the display surface's, none when it is unknown. A
// GeoPackage without one would call its coordinates degrees of latitude and longitude; it is
// given GeoPackage's undefined Cartesian system instead.
std::optional<OGRSpatialReference> layerSystem(const std::string& path, const GDALDriver& driver,
                                               const std::string& srs) {
  if (!srs.empty()) return coordinateSystem(path, srs);
  if (std::string(driver.GetDescription()) != "GPKG") return std::nullopt;
  return coordinateSystem(path, R"(LOCAL_CS["Undefined cartesian SRS"])");
}

}  // namespace

void checkContactsName(const std::string& path) { vectorDriver(path); }

ExportedFiles sectionContactsFiles(const std::string& path, const std::vector<ContactLine>& lines,
                                   const std::vector<std::string>& boundaryName,
                                   const std::string& srs) {
  GDALDriver& driver = vectorDriver(path);
  return writeWithGdal(path, driver, "the section's contacts", [&](const WorkFolder& folder) {
    std::optional<OGRSpatialReference> system = layerSystem(path, driver, srs);
    GdalDataset dataset(driver.Create(folder.pathFor(path).c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset) return dataset;
    CPLStringList options = layerOptions(driver);
    OGRLayer* layer =
        dataset->CreateLayer(std::filesystem::path(path).stem().string().c_str(),
                             system ? &*system : nullptr, wkbLineString25D, options.List());
    if (!layer) throw gdalFailure(path, driver, "the contacts layer");
    const auto check = [&](OGRErr status, const std::string& what) {
      if (status != OGRERR_NONE) throw gdalFailure(path, driver, what);
    };
    check(addField(*layer, "name", OFTString), "the field name");
    check(addField(*layer, "boundary", OFTInteger), "the field boundary");
    check(addField(*layer, "from_dist", OFTReal), "the field from_dist");
    check(addField(*layer, "to_dist", OFTReal), "the field to_dist");
    for (const ContactLine& line : lines) {
      const std::string name = line.boundary == 0 ? "ground" : boundaryName[line.boundary];
      check(addLine(*layer, line, name), "the line of " + name);
    }
    return dataset;
  });
}

}  // namespace kalvenor
