#include "model/raster_warp.h"

#include <gdal_alg.h>
#include <gdal_utils.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "model/coordinate_system.h"
#include "model/gdal_scope.h"
#include "model/grid_surface.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

// The extent GDAL proposes for the warped raster, and its square cell.
struct Proposal {
  double cell;
  double minX, minY, maxX, maxY;
};

Proposal propose(const std::string& path, GDALDataset& source, const std::string& wkt,
                 const GdalScope& gdal) {
  std::string target = "DST_SRS=" + wkt;
  char* options[] = {target.data(), nullptr};
  const GDALDatasetH handle = GDALDataset::ToHandle(&source);
  void* transformer = GDALCreateGenImgProjTransformer2(handle, nullptr, options);
  if (!transformer) {
    refuseWithGdalReason(
        path, fill(translated("GDAL cannot transform its coordinates into {1}"), {systemName(wkt)}),
        gdal);
  }
  double transform[6];
  double extent[4];
  int width = 0;
  int height = 0;
  const CPLErr result = GDALSuggestedWarpOutput2(handle, GDALGenImgProjTransform, transformer,
                                                 transform, &width, &height, extent, 0);
  GDALDestroyGenImgProjTransformer(transformer);
  if (result != CE_None) {
    refuseWithGdalReason(
        path, fill(translated("GDAL cannot find where it lies in {1}"), {systemName(wkt)}), gdal);
  }
  return {transform[1], extent[0], extent[1], extent[2], extent[3]};
}

// Two significant digits: 27.19 becomes 27 and 2.719 becomes 2.7, so that the nodes, on whole
// multiples of the cell, have round coordinates.
double roundedCell(double cell) {
  const int exponent = static_cast<int>(std::floor(std::log10(cell))) - 1;
  const double scale = std::pow(10.0, std::abs(exponent));
  return exponent >= 0 ? std::round(cell / scale) * scale : std::round(cell * scale) / scale;
}

// The node count along one axis: the whole multiples of the cell from `low` to `high`, checked
// before anything is allocated for them.
double multiplesWithin(double low, double high, double cell, double& first) {
  first = std::ceil(low / cell);
  return std::floor(high / cell) - first + 1;
}

GridHeader nodesOf(const std::string& path, const Proposal& p, double cell,
                   const std::string& wkt) {
  double firstX = 0;
  double firstY = 0;
  const double nx = multiplesWithin(p.minX, p.maxX, cell, firstX);
  const double ny = multiplesWithin(p.minY, p.maxY, cell, firstY);
  if (!(nx >= 2 && ny >= 2)) {
    throw ReadError(path, 0, 0,
                    fill(translated("warped into {1} with cells of {2}, the raster would have "
                                    "fewer than 2 nodes a direction"),
                         {systemName(wkt), numberText(cell)}));
  }
  if (nx * ny > static_cast<double>(kMaxGridNodes)) {
    throw ReadError(path, 0, 0,
                    fill(translated("warped into {1} with cells of {2}, the raster would have {3} "
                                    "x {4} nodes, more than the {5} nodes the viewer handles"),
                         {systemName(wkt), numberText(cell), numberText(nx), numberText(ny),
                          std::to_string(kMaxGridNodes)}));
  }
  return {static_cast<std::int32_t>(nx),
          static_cast<std::int32_t>(ny),
          firstX * cell,
          firstY * cell,
          cell,
          cell};
}

std::string exact(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// GDAL's warper as gdalwarp runs it, into a virtual raster: the pixel centres are the nodes, and
// the result is float64 with NaN where there is no value.
GdalDataset warpOnto(const std::string& path, GDALDataset& source, const std::string& wkt,
                     const GridHeader& nodes, const GdalScope& gdal) {
  const double half = nodes.Dx / 2;
  std::vector<std::string> args = {"-of",
                                   "VRT",
                                   "-t_srs",
                                   wkt,
                                   "-r",
                                   "bilinear",
                                   "-ot",
                                   "Float64",
                                   "-dstnodata",
                                   "nan",
                                   "-te",
                                   exact(nodes.Xmin - half),
                                   exact(nodes.Ymin - half),
                                   exact(nodes.xMax() + half),
                                   exact(nodes.yMax() + half),
                                   "-ts",
                                   std::to_string(nodes.Nx),
                                   std::to_string(nodes.Ny)};
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  GDALWarpAppOptions* options = GDALWarpAppOptionsNew(argv.data(), nullptr);
  GDALDatasetH handle = GDALDataset::ToHandle(&source);
  GDALDatasetH warped = options ? GDALWarp("", nullptr, 1, &handle, options, nullptr) : nullptr;
  GDALWarpAppOptionsFree(options);
  if (!warped)
    refuseWithGdalReason(path, fill(translated("GDAL cannot warp it into {1}"), {systemName(wkt)}),
                         gdal);
  return GdalDataset(GDALDataset::FromHandle(warped));
}

}  // namespace

WarpedRaster warpRaster(const std::string& path, GDALDataset& source, const std::string& wkt,
                        const GdalScope& gdal) {
  const Proposal proposal = propose(path, source, wkt, gdal);
  const double cell = roundedCell(proposal.cell);
  const GridHeader nodes = nodesOf(path, proposal, cell, wkt);
  const OGRSpatialReference* from = source.GetSpatialRef();
  const std::string fromName = from && from->GetName() ? from->GetName() : translated("unnamed");
  const std::string unit = linearUnitName(wkt);
  const char* pattern = unit.empty()
                            ? translated(
                                  "its geographic coordinates ({1}) were warped into {2} by "
                                  "bilinear interpolation onto cells of {3} unit")
                            : translated(
                                  "its geographic coordinates ({1}) were warped into {2} by "
                                  "bilinear interpolation onto cells of {3} {4}");
  return {warpOnto(path, source, wkt, nodes, gdal), nodes,
          fill(pattern, {fromName, systemName(wkt), numberText(cell), unit})};
}

}  // namespace kalvenor
