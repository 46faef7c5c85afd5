#include "model/table_placement.h"

#include "model/coordinate_system.h"
#include "model/input_names.h"
#include "model/message_text.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

[[noreturn]] void refuseDegrees(const std::string& path, const std::string& system) {
  throw ReadError(path, 0, 0,
                  fill(translated("the table's coordinates are geographic ({1}, in degrees), and "
                                  "heights in metres cannot be drawn over degrees: name a "
                                  "projected system to reproject it into ({2}, for example {2} "
                                  "EPSG:6677), or reproject it first with ogr2ogr -t_srs"),
                       {systemName(system), inputName("--srs")}));
}

}  // namespace

std::string drawingSystem(const PlaneCoordinates& coordinates) {
  if (!coordinates.displaySrs.empty()) return coordinates.displaySrs;
  if (coordinates.srsText.empty()) return "";
  return projectedSystemWkt(coordinates.srsText);
}

std::vector<PlanePoint> pointsInDrawingSystem(const std::string& path, const std::string& system,
                                              const PlaneCoordinates& coordinates,
                                              std::vector<PlanePoint> points) {
  if (system.empty()) return points;
  if (isGeographic(system) && coordinates.srsText.empty()) refuseDegrees(path, system);
  const std::string target = drawingSystem(coordinates);
  if (target.empty() || sameSystem(system, target)) return points;
  try {
    return reprojectedPoints(points, {system, target});
  } catch (const CoordinateSystemError& error) {
    throw ReadError(path, 0, 0, error.what());
  }
}

}  // namespace kalvenor
