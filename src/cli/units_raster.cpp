#include "cli/units_raster.h"

#include <cpl_conv.h>
#include <cpl_string.h>
#include <gdal_priv.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "cli/export_error.h"
#include "cli/file_extension.h"
#include "cli/gdal_files.h"
#include "cli/grid_export.h"
#include "cli/north_up_grid.h"
#include "cli/units_sidecar.h"

namespace kalvenor {
namespace {

bool isEsriGrid(const std::string& path) { return lowerExtension(path) == ".asc"; }

GDALDriver& rasterDriver(const std::string& path) {
  GDALDriver* driver = creatingDriver(path, GdalData::Raster);
  if (!driver) {
    throw ExportError(path,
                      lowerExtension(path).empty()
                          ? "a units grid needs an extension that names its format, "
                            "such as .tif or .asc"
                          : "no GDAL raster format writes files ending in " + lowerExtension(path));
  }
  return *driver;
}

std::string esriProjection(const std::string& prjPath, const std::string& wkt) {
  const GdalMessages messages;
  const OGRSpatialReference srs = coordinateSystem(prjPath, wkt);
  const char* const options[] = {"FORMAT=WKT1_ESRI", nullptr};
  char* text = nullptr;
  const OGRErr status = srs.exportToWkt(&text, options);
  const std::string esri = text ? text : "";
  CPLFree(text);
  if (status != OGRERR_NONE) {
    throw ExportError(prjPath, "the coordinate system has no ESRI form");
  }
  return withEpsgCode(esri, srs);
}

ExportedFiles esriGridFiles(const std::string& path, const UnitsGrid& grid) {
  ExportedFiles files{{path, esriUnitsGrid(grid.display, grid.mapUnit)}};
  if (!grid.display.srs.empty()) {
    const std::string prj = std::filesystem::path(path).replace_extension(".prj").string();
    files.push_back({prj, esriProjection(prj, grid.display.srs)});
  }
  return files;
}

// A palette entry and a category name for every value.
void styleBand(GDALRasterBand& band, const std::vector<UnitStyle>& styles) {
  GDALColorTable palette;
  CPLStringList names;
  for (std::size_t value = 0; value < styles.size(); ++value) {
    const UnitStyle& style = styles[value];
    const GDALColorEntry entry{
        static_cast<short>(redOf(style.color)), static_cast<short>(greenOf(style.color)),
        static_cast<short>(blueOf(style.color)), static_cast<short>(style.alpha)};
    palette.SetColorEntry(static_cast<int>(value), &entry);
    names.AddString(style.name.c_str());
  }
  band.SetNoDataValue(0);
  band.SetColorTable(&palette);
  band.SetCategoryNames(names.List());
}

std::vector<GByte> northUpUnits(const NorthUpGrid& raster, const Array2D<std::int16_t>& mapUnit) {
  std::vector<GByte> values(static_cast<std::size_t>(raster.columns()) * raster.rows());
  for (int row = 0; row < raster.rows(); ++row) {
    for (int column = 0; column < raster.columns(); ++column) {
      const int i = raster.i(column);
      const int j = raster.j(row);
      const int unit = mapUnit.contains(i, j) ? mapUnit(i, j) : 0;
      values[static_cast<std::size_t>(row) * raster.columns() + column] =
          static_cast<GByte>(std::clamp(unit, 0, 255));
    }
  }
  return values;
}

// The grid as GDAL sees it, in memory: one band of bytes, since no model has more than 16 units.
GdalDataset unitsDataset(const std::string& path, const UnitsGrid& grid) {
  const NorthUpGrid raster(grid.display.header());
  GdalDataset dataset(
      gdalDriver("MEM")->Create("", raster.columns(), raster.rows(), 1, GDT_Byte, nullptr));
  if (!dataset) throw ExportError(path, "no memory for the units grid");
  std::array<double, 6> transform = raster.geoTransform();
  dataset->SetGeoTransform(transform.data());
  dataset->SetMetadataItem(GDALMD_AREA_OR_POINT, GDALMD_AOP_AREA);
  if (!grid.display.srs.empty()) {
    const OGRSpatialReference srs = coordinateSystem(path, grid.display.srs);
    dataset->SetSpatialRef(&srs);
  }
  GDALRasterBand& band = *dataset->GetRasterBand(1);
  styleBand(band, grid.styles);
  std::vector<GByte> values = northUpUnits(raster, grid.mapUnit);
  if (band.RasterIO(GF_Write, 0, 0, raster.columns(), raster.rows(), values.data(),
                    raster.columns(), raster.rows(), GDT_Byte, 0, 0, nullptr) != CE_None) {
    throw ExportError(path, "no memory for the units grid");
  }
  return dataset;
}

ExportedFiles gdalGridFiles(const std::string& path, const UnitsGrid& grid) {
  GDALDriver& driver = rasterDriver(path);
  return writeInMemory(path, driver, "the units grid", [&](const std::string& memoryPath) {
    const GdalDataset units = unitsDataset(path, grid);
    return GdalDataset(
        driver.CreateCopy(memoryPath.c_str(), units.get(), FALSE, nullptr, nullptr, nullptr));
  });
}

}  // namespace

void checkUnitsGridName(const std::string& path) {
  if (!isEsriGrid(path)) rasterDriver(path);
}

ExportedFiles unitsGridFiles(const std::string& path, const UnitsGrid& grid) {
  ExportedFiles files = isEsriGrid(path) ? esriGridFiles(path, grid) : gdalGridFiles(path, grid);
  const std::string sidecar = path + ".aux.xml";
  const auto written = std::find_if(files.begin(), files.end(),
                                    [&](const ExportedFile& file) { return file.path == sidecar; });
  if (written != files.end()) {
    written->bytes = stylingSidecar(written->bytes, grid.styles);
  } else {
    files.push_back({sidecar, stylingSidecar("", grid.styles)});
  }
  return files;
}

}  // namespace kalvenor
