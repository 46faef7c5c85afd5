#include "exports/value_raster.h"

#include <gdal_priv.h>

#include <array>
#include <cmath>
#include <filesystem>

#include "exports/export_error.h"
#include "exports/file_extension.h"
#include "exports/gdal_files.h"
#include "exports/grid_export.h"
#include "exports/north_up_grid.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

bool holdsReals(const GDALDriver& driver) {
  const char* types = const_cast<GDALDriver&>(driver).GetMetadataItem(GDAL_DMD_CREATIONDATATYPES);
  return types && std::string(types).find("Float32") != std::string::npos;
}

GDALDriver& valueRasterDriver(const std::string& path) {
  GDALDriver* driver = creatingDriver(path, GdalData::Raster);
  if (!driver) {
    throw ExportError(path,
                      lowerExtension(path).empty()
                          ? std::string(translated("a value grid needs an extension that names "
                                                   "its format, such as .tif or .asc"))
                          : fill(translated("no GDAL raster format writes files ending in {1}"),
                                 {lowerExtension(path)}));
  }
  if (std::string(driver->GetDescription()) == "VRT") {
    throw ExportError(path, translated("a virtual raster only points at data held elsewhere; "
                                       "write the value grid as .tif or .asc"));
  }
  if (!holdsReals(*driver)) {
    throw ExportError(path, fill(translated("GDAL's {1} driver holds no real numbers; write the "
                                            "value grid as .tif or .asc"),
                                 {driver->GetDescription()}));
  }
  return *driver;
}

std::vector<float> northUpValues(const NorthUpGrid& raster, const Array2D<double>& values) {
  std::vector<float> rows(static_cast<std::size_t>(raster.columns()) * raster.rows());
  for (int row = 0; row < raster.rows(); ++row) {
    for (int column = 0; column < raster.columns(); ++column) {
      const double value = values(raster.i(column), raster.j(row));
      rows[static_cast<std::size_t>(row) * raster.columns() + column] =
          static_cast<float>(std::isnan(value) ? kValueNoData : value);
    }
  }
  return rows;
}

GdalDataset valueDataset(const std::string& path, const ValueGrid& grid, const NorthUpGrid& raster,
                         std::vector<float>& values) {
  GdalDataset dataset = memoryRaster(path, raster, GDT_Float32, grid.display.srs,
                                     translated("no memory for the value grid"));
  GDALRasterBand& band = *dataset->GetRasterBand(1);
  band.SetNoDataValue(kValueNoData);
  band.SetDescription(grid.description.c_str());
  if (band.RasterIO(GF_Write, 0, 0, raster.columns(), raster.rows(), values.data(),
                    raster.columns(), raster.rows(), GDT_Float32, 0, 0, nullptr) != CE_None) {
    throw ExportError(path, translated("no memory for the value grid"));
  }
  return dataset;
}

// The grid as the driver wrote it: its size, its place and every value.
void checkReadBack(const std::string& path, const std::string& written, const NorthUpGrid& raster,
                   const std::vector<float>& values) {
  const GdalDataset read(GDALDataset::Open(written.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
  std::array<double, 6> transform{};
  const std::array<double, 6> expected = raster.geoTransform();
  std::vector<float> back(values.size());
  const bool same = read && read->GetRasterXSize() == raster.columns() &&
                    read->GetRasterYSize() == raster.rows() &&
                    read->GetGeoTransform(transform.data()) == CE_None && transform == expected &&
                    read->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, raster.columns(), raster.rows(),
                                                     back.data(), raster.columns(), raster.rows(),
                                                     GDT_Float32, 0, 0, nullptr) == CE_None &&
                    back == values;
  if (!same) {
    throw ExportError(path, translated("the value grid does not read back as it was written; "
                                       "write it as .tif or .asc"));
  }
}

ExportedFiles gdalGridFiles(const std::string& path, const ValueGrid& grid) {
  GDALDriver& driver = valueRasterDriver(path);
  const GdalMessages messages;
  const NorthUpGrid raster(grid.display.header());
  std::vector<float> values = northUpValues(raster, grid.values);
  const GdalDataset dataset = valueDataset(path, grid, raster, values);
  const auto write = [&](const WorkFolder& folder) {
    return GdalDataset(driver.CreateCopy(folder.pathFor(path).c_str(), dataset.get(), FALSE,
                                         nullptr, nullptr, nullptr));
  };
  const auto verify = [&](const WorkFolder& folder) {
    checkReadBack(path, folder.pathFor(path), raster, values);
  };
  return writeWithGdal(path, driver, translated("the value grid"), write, verify);
}

}  // namespace

void checkValueGridName(const std::string& path) {
  if (!isEsriGrid(path)) valueRasterDriver(path);
}

std::vector<std::string> valueGridFileNames(const std::string& path) {
  if (!isEsriGrid(path)) return {path};
  return {path, std::filesystem::path(path).replace_extension(".prj").string()};
}

ExportedFiles valueGridFiles(const std::string& path, const ValueGrid& grid) {
  if (!isEsriGrid(path)) return gdalGridFiles(path, grid);
  ExportedFiles files{{path, esriValueGrid(grid.display, grid.values)}};
  if (!grid.display.srs.empty()) {
    const std::string prj = std::filesystem::path(path).replace_extension(".prj").string();
    files.push_back({prj, esriProjection(prj, grid.display.srs)});
  }
  return files;
}

}  // namespace kalvenor
