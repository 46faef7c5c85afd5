#include "model/clip_area.h"

#include <cmath>

#include "model/coordinate_system.h"
#include "model/input_names.h"
#include "model/message_text.h"
#include "model/read_error.h"

namespace kalvenor {

ClipArea readClipArea(const std::string& path, const std::string& target) {
  ClipArea area = readPolygonLayer(path);
  if (area.srs.empty() || sameSystem(area.srs, target)) return area;
  if (target.empty()) {
    if (!isGeographic(area.srs)) return area;
    throw ReadError(path, 0, 0,
                    fill(translated("the layer's coordinates are geographic ({1}, in degrees) and "
                                    "the display surface names no system to carry them into: "
                                    "give one with {2}"),
                         {systemName(area.srs), inputName("--srs")}));
  }
  std::vector<PlanePoint> points;
  for (const Ring& ring : area.rings) points.insert(points.end(), ring.begin(), ring.end());
  try {
    points = reprojectedPoints(points, {area.srs, target});
  } catch (const CoordinateSystemError& error) {
    throw ReadError(path, 0, 0, error.what());
  }
  std::size_t next = 0;
  for (Ring& ring : area.rings) {
    for (PlanePoint& point : ring) {
      point = points[next++];
      if (!std::isfinite(point.x) || !std::isfinite(point.y)) {
        throw ReadError(path, 0, 0,
                        fill(translated("GDAL cannot carry the polygon's points into {1}"),
                             {systemName(target)}));
      }
    }
  }
  area.srs = target;
  return area;
}

}  // namespace kalvenor
