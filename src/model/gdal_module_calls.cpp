// The model's functions that call GDAL, in the two programs: each loads the GDAL module on the
// first call of any and calls the module's.
#include "model/gdal_module.h"

namespace kalvenor {
namespace {

const ModelGdalFunctions& module() {
  static const auto& functions =
      *static_cast<const ModelGdalFunctions*>(gdalModuleSymbol(kModelGdalFunctions));
  return functions;
}

}  // namespace

std::string projectedSystemWkt(const std::string& text) {
  return module().projectedSystemWkt(text);
}

std::string identifiedSystem(const std::string& wkt) { return module().identifiedSystem(wkt); }

bool isGeographic(const std::string& wkt) { return module().isGeographic(wkt); }

bool sameSystem(const std::string& a, const std::string& b) { return module().sameSystem(a, b); }

std::string linearUnitName(const std::string& wkt) { return module().linearUnitName(wkt); }

std::string systemName(const std::string& wkt) { return module().systemName(wkt); }

bool isGdalRaster(const std::string& path) { return module().isGdalRaster(path); }

GridSurface readRasterGrid(const std::string& path, const GridReading& reading) {
  return module().readRasterGrid(path, reading);
}

std::string rasterSystem(const std::string& path, const GridReading& reading) {
  return module().rasterSystem(path, reading);
}

std::optional<FileStamp> gdalNameStamp(const std::string& path) {
  return module().gdalNameStamp(path);
}

VectorTable readVectorTable(const std::string& path) { return module().readVectorTable(path); }

std::vector<PlanePoint> reprojectedPoints(const std::vector<PlanePoint>& points,
                                          const SystemChange& change) {
  return module().reprojectedPoints(points, change);
}

ClipArea readPolygonLayer(const std::string& path) { return module().readPolygonLayer(path); }

}  // namespace kalvenor
