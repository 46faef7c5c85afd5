#include "exports/units_raster.h"

#include <cpl_conv.h>
#include <cpl_string.h>
#include <gdal_priv.h>

#include <algorithm>
#include <filesystem>

#include "exports/export_error.h"
#include "exports/file_extension.h"
#include "exports/gdal_files.h"
#include "exports/grid_export.h"
#include "exports/north_up_grid.h"
#include "exports/qgis_style.h"
#include "exports/units_readback.h"
#include "exports/units_sidecar.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

// Why a format cannot give the unit codes back as they were written; empty for one that can.
std::string lossyProblem(const std::string& format) {
  if (format == "JPEG") {
    return translated(
        "JPEG is lossy, so the unit codes would not come back as they are; write a "
        "lossless format such as .tif, .png or .asc");
  }
  if (format == "WEBP") {
    return translated(
        "WebP holds only colour images, so the unit codes would not come back as "
        "they are; write a lossless format such as .tif, .png or .asc");
  }
  return "";
}

GDALDriver& unitsRasterDriver(const std::string& path) {
  GDALDriver* driver = creatingDriver(path, GdalData::Raster);
  if (!driver) {
    throw ExportError(path,
                      lowerExtension(path).empty()
                          ? std::string(translated("a units grid needs an extension that "
                                                   "names its format, such as .tif or .asc"))
                          : fill(translated("no GDAL raster format writes files ending in {1}"),
                                 {lowerExtension(path)}));
  }
  if (const std::string lossy = lossyProblem(driver->GetDescription()); !lossy.empty()) {
    throw ExportError(path, lossy);
  }
  return *driver;
}

bool isVrt(const GDALDriver& driver) { return std::string(driver.GetDescription()) == "VRT"; }

// The GeoTIFF that holds the data of a VRT units grid, beside it.
std::string vrtDataPath(const std::string& path) { return path + ".tif"; }

std::string gdalFormat(const GDALDriver& driver) {
  return fill(translated("GDAL's {1} driver"), {driver.GetDescription()});
}

// The ASCII grid is written here, not by GDAL, but GDAL reads it back like every other grid.
ExportedFiles esriGridFiles(const std::string& path, const UnitsGrid& grid,
                            const NorthUpGrid& raster, const std::vector<GByte>& values) {
  ExportedFiles files{{path, esriUnitsGrid(grid.display, grid.mapUnit)}};
  if (!grid.display.srs.empty()) {
    const std::string prj = std::filesystem::path(path).replace_extension(".prj").string();
    files.push_back({prj, esriProjection(prj, grid.display.srs)});
  }
  const GdalMessages messages;
  const WorkFolder folder(path, WorkFolder::Place::Memory);
  for (const ExportedFile& file : files) folder.put(file.path, file.bytes);
  checkUnitsReadBack(path, folder.pathFor(path), translated("the ESRI ASCII grid"), "AAIGrid",
                     raster, values);
  return files;
}

enum class Palette { InTheFile, InTheSidecar };

// A palette entry (unless the palette is left to the sidecar) and a category name for every
// value.
void styleBand(GDALRasterBand& band, const std::vector<UnitStyle>& styles, Palette palette) {
  GDALColorTable colours;
  CPLStringList names;
  for (std::size_t value = 0; value < styles.size(); ++value) {
    const UnitStyle& style = styles[value];
    const GDALColorEntry entry{
        static_cast<short>(redOf(style.color)), static_cast<short>(greenOf(style.color)),
        static_cast<short>(blueOf(style.color)), static_cast<short>(style.alpha)};
    colours.SetColorEntry(static_cast<int>(value), &entry);
    names.AddString(style.name.c_str());
  }
  band.SetNoDataValue(0);
  if (palette == Palette::InTheFile) band.SetColorTable(&colours);
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
GdalDataset unitsDataset(const std::string& path, const UnitsGrid& grid, const NorthUpGrid& raster,
                         const std::vector<GByte>& values, Palette palette) {
  GdalDataset dataset = memoryRaster(path, raster, GDT_Byte, grid.display.srs,
                                     translated("no memory for the units grid"));
  GDALRasterBand& band = *dataset->GetRasterBand(1);
  styleBand(band, grid.styles, palette);
  if (band.RasterIO(GF_Write, 0, 0, raster.columns(), raster.rows(),
                    const_cast<GByte*>(values.data()), raster.columns(), raster.rows(), GDT_Byte, 0,
                    0, nullptr) != CE_None) {
    throw ExportError(path, translated("no memory for the units grid"));
  }
  return dataset;
}

// A VRT only refers to its data: they go into a GeoTIFF beside it, which the VRT names by a path
// relative to itself, so that both can be moved together.
GdalDataset vrtBesideGeoTiff(const WorkFolder& folder, const std::string& path, GDALDriver& vrt,
                             GDALDataset& units) {
  const std::string dataPath = folder.pathFor(vrtDataPath(path));
  GdalDataset data(
      gdalDriver("GTiff")->CreateCopy(dataPath.c_str(), &units, FALSE, nullptr, nullptr, nullptr));
  if (!data) return data;
  data.reset();
  data.reset(GDALDataset::Open(dataPath.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
  if (!data) return data;
  GdalDataset made(
      vrt.CreateCopy(folder.pathFor(path).c_str(), data.get(), FALSE, nullptr, nullptr, nullptr));
  if (!made) return made;
  made.reset();  // written before the GeoTIFF it refers to is closed
  data.reset();
  return GdalDataset(GDALDataset::Open(folder.pathFor(path).c_str(), GDAL_OF_RASTER));
}

bool repeatsColours(const std::vector<UnitStyle>& styles) {
  for (std::size_t a = 0; a < styles.size(); ++a) {
    for (std::size_t b = 0; b < a; ++b) {
      if (styles[a].color == styles[b].color && styles[a].alpha == styles[b].alpha) return true;
    }
  }
  return false;
}

ExportedFiles gdalGridFiles(const std::string& path, const UnitsGrid& grid,
                            const NorthUpGrid& raster, const std::vector<GByte>& values,
                            Palette palette) {
  GDALDriver& driver = unitsRasterDriver(path);
  const GdalMessages messages;
  // It outlives every dataset made from it: some drivers read their source until they close.
  const GdalDataset units = unitsDataset(path, grid, raster, values, palette);
  const auto write = [&](const WorkFolder& folder) {
    if (isVrt(driver)) return vrtBesideGeoTiff(folder, path, driver, *units);
    return GdalDataset(driver.CreateCopy(folder.pathFor(path).c_str(), units.get(), FALSE, nullptr,
                                         nullptr, nullptr));
  };
  const auto verify = [&](const WorkFolder& folder) {
    checkUnitsReadBack(path, folder.pathFor(path), gdalFormat(driver), driver.GetDescription(),
                       raster, values);
  };
  return writeWithGdal(path, driver, translated("the units grid"), write, verify);
}

// Some drivers (GeoPackage's) store a palette by its colours and give units of one colour back
// as one: such a grid keeps its palette in the sidecar only.
ExportedFiles gdalGridFiles(const std::string& path, const UnitsGrid& grid,
                            const NorthUpGrid& raster, const std::vector<GByte>& values) {
  try {
    return gdalGridFiles(path, grid, raster, values, Palette::InTheFile);
  } catch (const ExportError&) {
    if (!repeatsColours(grid.styles)) throw;
  }
  return gdalGridFiles(path, grid, raster, values, Palette::InTheSidecar);
}

}  // namespace

void checkUnitsGridName(const std::string& path) {
  if (!isEsriGrid(path)) unitsRasterDriver(path);
}

std::vector<std::string> unitsGridFileNames(const std::string& path) {
  std::vector<std::string> names{path, path + ".aux.xml", qgisStylePath(path)};
  if (isEsriGrid(path)) {
    names.push_back(std::filesystem::path(path).replace_extension(".prj").string());
  } else if (lowerExtension(path) == ".vrt") {
    names.push_back(vrtDataPath(path));
    names.push_back(vrtDataPath(path) + ".aux.xml");
  }
  return names;
}

ExportedFiles unitsGridFiles(const std::string& path, const UnitsGrid& grid) {
  const NorthUpGrid raster(grid.display.header());
  const std::vector<GByte> values = northUpUnits(raster, grid.mapUnit);
  ExportedFiles files = isEsriGrid(path) ? esriGridFiles(path, grid, raster, values)
                                         : gdalGridFiles(path, grid, raster, values);
  const std::string sidecar = path + ".aux.xml";
  const auto written = std::find_if(files.begin(), files.end(),
                                    [&](const ExportedFile& file) { return file.path == sidecar; });
  if (written != files.end()) {
    written->bytes = stylingSidecar(written->bytes, grid.styles);
  } else {
    files.push_back({sidecar, stylingSidecar("", grid.styles)});
  }
  files.push_back({qgisStylePath(path), qgisRasterStyle(grid.styles)});
  return files;
}

}  // namespace kalvenor
