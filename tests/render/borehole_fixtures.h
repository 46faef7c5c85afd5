#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "model/borehole_path.h"
#include "model/boreholes.h"
#include "recording_canvas.h"

namespace kalvenor {

// A hole with its path desurveyed as the reader does it: straight down without a survey.
inline Borehole makeHole(const std::string& id, double x, double y, double z, double depth,
                         std::vector<LoggedInterval> intervals,
                         const std::vector<SurveyStation>& survey = {}) {
  Borehole hole;
  hole.id = id;
  hole.x = x;
  hole.y = y;
  hole.z = z;
  hole.depth = depth;
  hole.intervals = std::move(intervals);
  hole.path = holePath(hole, survey);
  return hole;
}

// The extent of what the operations cover: left, top, right, bottom.
struct PixelBox {
  double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
};

inline PixelBox boxOf(const std::vector<RecordingCanvas::Op>& ops) {
  PixelBox box;
  for (const RecordingCanvas::Op& op : ops) {
    for (std::size_t n = 0; n + 1 < op.coords.size(); n += 2) {
      box.left = std::min(box.left, op.coords[n]);
      box.right = std::max(box.right, op.coords[n]);
      box.top = std::min(box.top, op.coords[n + 1]);
      box.bottom = std::max(box.bottom, op.coords[n + 1]);
    }
  }
  return box;
}

inline double lengthOf(const RecordingCanvas::Op& line) {
  return std::hypot(line.coords[2] - line.coords[0], line.coords[3] - line.coords[1]);
}

}  // namespace kalvenor
