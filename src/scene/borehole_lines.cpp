#include "scene/borehole_lines.h"

#include "model/borehole_path.h"

namespace kalvenor {
namespace {

// Appends the point at `depth` as the line's next vertex, the segment up to it in `unit`.
void extendTo(SceneLine& line, const Borehole& hole, double depth, std::int32_t unit) {
  const HoleStation at = positionAt(hole, depth);
  if (!line.vertices.empty()) line.segmentUnit.push_back(unit);
  line.vertices.push_back({at.x, at.y, at.z});
}

// The line on from `from` to `to` in `unit`, through the stations between, which keep a deviated
// hole's bends.
void runTo(SceneLine& line, const Borehole& hole, double from, double to, std::int32_t unit) {
  for (const HoleStation& station : hole.path) {
    if (station.depth > from && station.depth < to) extendTo(line, hole, station.depth, unit);
  }
  extendTo(line, hole, to, unit);
}

SceneLine holeLine(const Borehole& hole) {
  SceneLine line;
  double reached = hole.intervals.front().from;
  extendTo(line, hole, reached, 0);
  for (const LoggedInterval& interval : hole.intervals) {
    if (interval.from > reached) runTo(line, hole, reached, interval.from, 0);
    runTo(line, hole, interval.from, interval.to, interval.unit);
    reached = interval.to;
  }
  return line;
}

}  // namespace

std::vector<ScenePart> boreholeLines(const BoreholeSet& holes) {
  std::vector<ScenePart> parts;
  for (const Borehole& hole : holes.holes) {
    if (hole.intervals.empty()) continue;
    ScenePart part;
    part.kind = ScenePartKind::Borehole;
    part.name = hole.id;
    part.line = holeLine(hole);
    parts.push_back(std::move(part));
  }
  return parts;
}

}  // namespace kalvenor
