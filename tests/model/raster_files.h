#pragma once

#include <cpl_conv.h>
#include <cpl_vsi.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <array>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "model/grid_surface.h"
#include "temp_file.h"

// Rasters written with GDAL for the tests, into a temporary folder.
namespace kalvenor {
// What to write: pixel (c, r) from the top-left holds value(c, r); NaN there writes the NODATA
// value when there is one.
struct RasterSpec {
  int width = 0;
  int height = 0;
  std::array<double, 6> transform{0, 1, 0, 0, 0, -1};
  std::function<double(int c, int r)> value = [](int, int) { return 0.0; };
  GDALDataType type = GDT_Float64;
  std::string srs;  // as SetFromUserInput takes it; "" for none
  std::optional<double> nodata;
  int bands = 1;
  std::vector<std::pair<std::string, std::string>> metadata;
  bool georeferenced = true;
};

// Writes the raster with the driver (GTiff, AAIGrid, ...) and its creation options: into memory
// first, then copied, so drivers that only copy work as well.
inline std::string writeRaster(const std::string& path, const RasterSpec& spec,
                               const std::string& driver = "GTiff",
                               const std::vector<std::string>& options = {}) {
  GDALAllRegister();
  GDALDriver* memory = GetGDALDriverManager()->GetDriverByName("MEM");
  GDALDataset* raster = memory->Create("", spec.width, spec.height, spec.bands, spec.type, nullptr);
  for (const auto& [key, value] : spec.metadata)
    raster->SetMetadataItem(key.c_str(), value.c_str());
  if (spec.georeferenced) {
    std::array<double, 6> transform = spec.transform;
    raster->SetGeoTransform(transform.data());
  }
  if (!spec.srs.empty()) {
    OGRSpatialReference system;
    system.SetFromUserInput(spec.srs.c_str());
    raster->SetSpatialRef(&system);
  }
  std::vector<double> row(spec.width);
  for (int band = 1; band <= spec.bands; ++band) {
    GDALRasterBand* b = raster->GetRasterBand(band);
    if (spec.nodata) b->SetNoDataValue(*spec.nodata);
    for (int r = 0; r < spec.height; ++r) {
      for (int c = 0; c < spec.width; ++c) {
        const double v = spec.value(c, r);
        row[c] = std::isnan(v) && spec.nodata ? *spec.nodata : v;
      }
      if (b->RasterIO(GF_Write, 0, r, spec.width, 1, row.data(), spec.width, 1, GDT_Float64, 0,
                      0) != CE_None) {
        throw std::runtime_error("cannot write the test raster");
      }
    }
  }
  GDALDriver* out = GetGDALDriverManager()->GetDriverByName(driver.c_str());
  std::vector<char*> creation;
  for (const std::string& option : options) creation.push_back(const_cast<char*>(option.c_str()));
  creation.push_back(nullptr);
  GDALDataset* copy =
      out->CreateCopy(path.c_str(), raster, FALSE, creation.data(), nullptr, nullptr);
  if (!copy) throw std::runtime_error("cannot copy the test raster to " + path);
  GDALClose(copy);
  GDALClose(raster);
  return path;
}

// The file's bytes again as a member of a new zip archive, written through GDAL; the name GDAL
// reads the member by.
inline std::string zipped(const std::string& file, const std::string& archive,
                          const std::string& member) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  const std::string name = "/vsizip/" + archive + "/" + member;
  VSILFILE* out = VSIFOpenL(name.c_str(), "wb");
  if (!out) throw std::runtime_error("cannot write " + name);
  VSIFWriteL(bytes.data(), 1, bytes.size(), out);
  VSIFCloseL(out);
  return name;
}

// A raster in degrees of JGD2011 (EPSG:6668), north-up from 139.8 E, 36.4 N, just west of the
// origin of the plane system IX, with pixels of `arcSeconds` and whole metres in 16 bits.
inline RasterSpec jgdDegrees(int width, int height, double arcSeconds,
                             std::function<double(int c, int r)> value) {
  RasterSpec spec;
  spec.width = width;
  spec.height = height;
  spec.transform = {139.8, arcSeconds / 3600, 0, 36.4, 0, -arcSeconds / 3600};
  spec.type = GDT_Int16;
  spec.srs = "EPSG:6668";
  spec.value = std::move(value);
  return spec;
}

// The grid as GIS programs store it: north-up, pixel centres on the nodes, first row the
// northernmost. Spacings must be positive.
inline RasterSpec northUpSpec(const GridSurface& grid, GDALDataType type = GDT_Float64) {
  RasterSpec spec;
  spec.width = grid.Nx;
  spec.height = grid.Ny;
  spec.transform = {grid.Xmin - grid.Dx / 2, grid.Dx, 0, grid.yMax() + grid.Dy / 2, 0, -grid.Dy};
  spec.value = [&grid](int c, int r) { return grid.z(c + 1, grid.Ny - r); };
  spec.type = type;
  return spec;
}

}  // namespace kalvenor
