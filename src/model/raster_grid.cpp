#include "model/raster_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>
#include <vector>

#include "model/coordinate_system.h"
#include "model/gdal_dataset.h"
#include "model/gdal_scope.h"
#include "model/gdal_string.h"
#include "model/grid_range.h"
#include "model/input_names.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/raster_warp.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

[[noreturn]] void refuse(const std::string& path, const std::string& problem) {
  throw ReadError(path, 0, 0, problem);
}

GdalDataset openRaster(const std::string& path, const GdalScope& gdal) {
  constexpr unsigned kFlags = GDAL_OF_RASTER | GDAL_OF_READONLY;
  GdalDataset dataset(GDALDataset::Open(path.c_str(), kFlags));
  if (!dataset) refuseWithGdalReason(path, translated("GDAL cannot open it as a raster"), gdal);
  // ESRI ASCII grids are read as float32 unless asked otherwise, which would round the decimal
  // values written in the file; as doubles they stay the numbers written.
  if (std::string(dataset->GetDriverName()) == "AAIGrid") {
    const char* const options[] = {"DATATYPE=Float64", nullptr};
    dataset.reset(GDALDataset::Open(path.c_str(), kFlags, nullptr, options));
    if (!dataset) refuseWithGdalReason(path, translated("GDAL cannot open it as a raster"), gdal);
  }
  return dataset;
}

// A file of several rasters (a GeoPackage of two tables, a netCDF file of several variables)
// opens as none: its rasters are named, each a name GDAL opens on its own.
void requireNoSubdatasets(const std::string& path, GDALDataset& dataset) {
  constexpr int kNamed = 8;
  std::vector<std::string> names;
  for (char** item = dataset.GetMetadata("SUBDATASETS"); item && *item; ++item) {
    const std::string entry = *item;
    const std::size_t equals = entry.find('=');
    if (equals != std::string::npos && entry.substr(0, equals).ends_with("_NAME")) {
      names.push_back(entry.substr(equals + 1));
    }
  }
  if (names.empty()) return;
  std::string listed;
  for (std::size_t n = 0; n < names.size() && n < kNamed; ++n) {
    listed += (n == 0 ? "" : ", ") + names[n];
  }
  if (names.size() > kNamed) {
    listed = fill(translated("{1} and {2} more"), {listed, std::to_string(names.size() - kNamed)});
  }
  refuse(path, fill(translated("the file holds {1} rasters; name the one that holds the "
                               "elevations instead of the file: {2}"),
                    {std::to_string(names.size()), listed}));
}

// A multi-band raster is refused rather than read from its first band: it is most often a
// picture (red, green, blue), whose first band would draw as a plausible but false surface.
void requireOneBand(const std::string& path, GDALDataset& dataset) {
  const int bands = dataset.GetRasterCount();
  if (bands == 0) requireNoSubdatasets(path, dataset);
  if (bands != 1) {
    refuse(path, fill(translated("the raster has {1} bands; elevations are read from a raster of "
                                 "one band: take the band that holds them first, for example "
                                 "with gdal_translate -b 1"),
                      {std::to_string(bands)}));
  }
  if (GDALDataTypeIsComplex(dataset.GetRasterBand(1)->GetRasterDataType())) {
    refuse(path, translated("the raster holds complex numbers, not elevations"));
  }
}

// The raster's system, named by its EPSG code where one matches: the .prj of an ESRI grid names
// none, and the exports made from the grid carry this one.
std::string systemOf(GDALDataset& dataset) {
  const OGRSpatialReference* system = dataset.GetSpatialRef();
  if (!system) return "";
  char* wkt = nullptr;
  system->exportToWkt(&wkt);
  return identifiedSystem(takeGdalString(wkt));
}

// Where pixel column c and row r (from 0) land among the nodes: i and j grow with x and y, so a
// north-up raster's rows are turned over.
struct NodeOrder {
  int width;
  int height;
  bool flipX;
  bool flipY;
  int i(int c) const { return flipX ? width - c : c + 1; }
  int j(int r) const { return flipY ? height - r : r + 1; }
};

struct Georeferencing {
  GridHeader nodes;
  NodeOrder order;
};

// The pixel centres as nodes: column c lies at transform[0] + (c + 0.5) transform[1], row r at
// transform[3] + (r + 0.5) transform[5].
Georeferencing georeferencingOf(const std::string& path, GDALDataset& dataset) {
  double t[6];
  if (dataset.GetGeoTransform(t) != CE_None) {
    refuse(path,
           translated("the raster is not georeferenced: it says nowhere where its pixels lie"));
  }
  if (t[2] != 0 || t[4] != 0) {
    refuse(path, fill(translated("the raster is rotated or sheared (its geotransform has the "
                                 "terms {1} and {2}); the grid's rows must run east-west: warp it "
                                 "first, for example with gdalwarp"),
                      {numberText(t[2]), numberText(t[4])}));
  }
  const int width = dataset.GetRasterXSize();
  const int height = dataset.GetRasterYSize();
  if (width < 2 || height < 2) {
    refuse(path,
           fill(translated("a grid needs at least 2 nodes a direction; the raster has {1} x {2}"),
                {std::to_string(width), std::to_string(height)}));
  }
  if (std::int64_t{width} * height > kMaxGridNodes) {
    refuse(path,
           fill(translated("a grid of {1} x {2} nodes is larger than the {3} nodes the "
                           "viewer handles"),
                {std::to_string(width), std::to_string(height), std::to_string(kMaxGridNodes)}));
  }
  const NodeOrder order{width, height, t[1] < 0, t[5] < 0};
  const GridHeader nodes{width,
                         height,
                         t[0] + (order.flipX ? width - 0.5 : 0.5) * t[1],
                         t[3] + (order.flipY ? height - 0.5 : 0.5) * t[5],
                         std::abs(t[1]),
                         std::abs(t[5])};
  if (nodes.Dx == 0 || nodes.Dy == 0 || !std::isfinite(nodes.xMax()) ||
      !std::isfinite(nodes.yMax()) || !std::isfinite(nodes.Xmin) || !std::isfinite(nodes.Ymin)) {
    refuse(path, translated("the raster's geotransform gives no usable node spacing"));
  }
  return {nodes, order};
}

// The band's own mask, or none when every pixel is valid. The mask covers NODATA values,
// compared as GDAL compares them for the band's type.
GDALRasterBand* maskOf(GDALRasterBand& band) {
  return band.GetMaskFlags() == GMF_ALL_VALID ? nullptr : band.GetMaskBand();
}

// Rows read at a time: 256, or fewer where that many would take more than 8 MiB (a raster of a
// few rows can be millions of pixels wide).
template <typename Value>
int stripRows(int width) {
  constexpr std::size_t kStripBytes = std::size_t{8} << 20;
  const std::size_t rows = kStripBytes / (static_cast<std::size_t>(width) * sizeof(Value));
  return static_cast<int>(std::clamp<std::size_t>(rows, 1, 256));
}

// The band's values at the nodes, read in strips of rows as `Value`; NaN where `mask` says there
// is none.
template <typename Value>
void readValues(const std::string& path, GDALRasterBand& band, GDALRasterBand* mask,
                const NodeOrder& order, Array2D<Value>& z, const GdalScope& gdal) {
  constexpr GDALDataType kType = std::is_same_v<Value, float> ? GDT_Float32 : GDT_Float64;
  const int width = order.width;
  const int strip = std::min(stripRows<Value>(width), order.height);
  const double scale = band.GetScale();
  const double offset = band.GetOffset();
  std::vector<Value> values(static_cast<std::size_t>(width) * strip);
  std::vector<GByte> valid(mask ? values.size() : 0);
  for (int top = 0; top < order.height; top += strip) {
    const int rows = std::min(strip, order.height - top);
    if (band.RasterIO(GF_Read, 0, top, width, rows, values.data(), width, rows, kType, 0, 0) !=
            CE_None ||
        (mask && mask->RasterIO(GF_Read, 0, top, width, rows, valid.data(), width, rows, GDT_Byte,
                                0, 0) != CE_None)) {
      refuseWithGdalReason(path, translated("GDAL cannot read the raster's values"), gdal);
    }
    // Column by column, so that each node is written next to the one before, in bands of a few
    // rows: the rows of a strip lie a raster's width apart, often a power of two, which puts
    // them all in one set of the cache, and a band's rows stay in it from one column to the next.
    constexpr int kBandRows = 8;
    for (int band = 0; band < rows; band += kBandRows) {
      const int bandEnd = std::min(rows, band + kBandRows);
      for (int c = 0; c < width; ++c) {
        const int i = order.i(c);
        for (int r = band; r < bandEnd; ++r) {
          const std::size_t at = static_cast<std::size_t>(r) * width + c;
          z(i, order.j(top + r)) = mask && valid[at] == 0
                                       ? std::numeric_limits<Value>::quiet_NaN()
                                       : static_cast<Value>(values[at] * scale + offset);
        }
      }
    }
  }
}

// Nodes without a finite value are marked missing and given the lowest value of the grid, so that
// every stored elevation stays a number.
template <typename Value>
void markMissing(const std::string& path, GridSurface& grid, Array2D<Value>& z) {
  std::int64_t missing = 0;
  Value lowest = std::numeric_limits<Value>::infinity();
  for (int i = 1; i <= grid.Nx; ++i) {
    for (int j = 1; j <= grid.Ny; ++j) {
      if (std::isfinite(z(i, j))) {
        lowest = std::min(lowest, z(i, j));
      } else {
        ++missing;
      }
    }
  }
  if (missing == 0) return;
  if (missing == std::int64_t{grid.Nx} * grid.Ny) {
    refuse(path, translated("no node of the raster has a value: all are NODATA"));
  }
  grid.missing = MissingNodes(grid.Nx, grid.Ny);
  for (int i = 1; i <= grid.Nx; ++i) {
    for (int j = 1; j <= grid.Ny; ++j) {
      if (std::isfinite(z(i, j))) continue;
      grid.missing.set(i, j);
      z(i, j) = lowest;
    }
  }
}

template <typename Value>
Array2D<Value> readElevations(const std::string& path, GDALRasterBand& band, GDALRasterBand* mask,
                              const Georeferencing& geo, GridSurface& grid, const GdalScope& gdal) {
  Array2D<Value> z(1, grid.Nx, 1, grid.Ny);
  readValues(path, band, mask, geo.order, z, gdal);
  markMissing(path, grid, z);
  return z;
}

// A band of 32-bit floats or of integers up to 16 bits, neither scaled nor offset, holds only
// values a float holds exactly: its elevations are kept as floats, in half the memory.
bool valuesAreFloats(GDALRasterBand& band) {
  const GDALDataType type = band.GetRasterDataType();
  const bool narrow =
      type == GDT_Float32 || type == GDT_Byte || type == GDT_Int16 || type == GDT_UInt16;
  return narrow && band.GetScale() == 1 && band.GetOffset() == 0;
}

GridSurface readGrid(const std::string& path, GDALDataset& dataset, const Georeferencing& geo,
                     GDALRasterBand* mask, const GdalScope& gdal) {
  GridSurface grid;
  grid.header() = geo.nodes;
  GDALRasterBand& band = *dataset.GetRasterBand(1);
  if (valuesAreFloats(band)) {
    grid.z = readElevations<float>(path, band, mask, geo, grid, gdal);
  } else {
    grid.z = readElevations<double>(path, band, mask, geo, grid, gdal);
  }
  return grid;
}

[[noreturn]] void refuseDegrees(const std::string& path, const std::string& system) {
  refuse(path, fill(translated("the raster's coordinates are geographic ({1}, in degrees), and "
                               "heights in metres cannot be drawn over degrees: name a projected "
                               "system to warp it into ({2}, for example {2} EPSG:6677), or warp "
                               "it first with gdalwarp -t_srs"),
                    {systemName(system), inputName("--srs")}));
}

}  // namespace

bool isGdalRaster(const std::string& path) {
  GdalScope gdal;
  return GDALIdentifyDriverEx(path.c_str(), GDAL_OF_RASTER, nullptr, nullptr) != nullptr;
}

GridSurface readRasterGrid(const std::string& path, const GridReading& reading) {
  GdalScope gdal;
  const GdalDataset source = openRaster(path, gdal);
  requireOneBand(path, *source);
  const std::string system = systemOf(*source);
  const Georeferencing geo = georeferencingOf(path, *source);
  if (!isGeographic(system)) {
    GridSurface grid = readGrid(path, *source, geo, maskOf(*source->GetRasterBand(1)), gdal);
    grid.srs = system;
    requireUsableRange(path, grid);
    return grid;
  }
  if (reading.srs.empty()) refuseDegrees(path, system);
  // The warped raster marks the nodes without a value by NaN: its mask would warp it again.
  const WarpedRaster warped = warpRaster(path, *source, reading.srs, gdal);
  GridSurface grid =
      readGrid(path, *warped.dataset, georeferencingOf(path, *warped.dataset), nullptr, gdal);
  grid.header() = warped.nodes;
  grid.srs = reading.srs;
  grid.note = warped.note;
  requireUsableRange(path, grid);
  return grid;
}

std::string rasterSystem(const std::string& path, const GridReading& reading) {
  GdalScope gdal;
  const GdalDataset dataset(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
  if (!dataset) return "";
  const std::string system = systemOf(*dataset);
  return system.empty() || isGeographic(system) ? reading.srs : system;
}

}  // namespace kalvenor
