#include "render/location_map.h"

#include <algorithm>
#include <cmath>

#include "render/annotation_layout.h"
#include "render/survey_trace.h"

namespace kalvenor {
namespace {

// Map coordinates to canvas pixels: north up, one scale both ways, centred in the box.
class PlanPlacement {
 public:
  PlanPlacement(const PlanUnits& plan, const CanvasBox& box) : plan_(plan) {
    const double width = plan.east - plan.west, height = plan.north - plan.south;
    scale_ = std::min(width > 0 ? box.width / width : 0.0, height > 0 ? box.height / height : 0.0);
    left_ = box.left + (box.width - width * scale_) / 2;
    top_ = box.top + (box.height - height * scale_) / 2;
  }
  double x(double mapX) const { return left_ + (mapX - plan_.west) * scale_; }
  double y(double mapY) const { return top_ + (plan_.north - mapY) * scale_; }
  CanvasPoint at(double mapX, double mapY) const {
    return {static_cast<std::int32_t>(std::lround(x(mapX))),
            static_cast<std::int32_t>(std::lround(y(mapY)))};
  }

 private:
  const PlanUnits& plan_;
  double scale_ = 0, left_ = 0, top_ = 0;
};

// Each row of cells as runs of one unit, a rectangle each; cells without a unit stay empty.
void drawUnits(Canvas& canvas, const PlanPlacement& place, const LocationMap& map) {
  const PlanUnits& plan = map.plan;
  const int columns = plan.unit.iLast(), rows = plan.unit.jLast();
  canvas.setPenStyle(PenStyle::Invisible);
  canvas.setFillStyle(FillStyle::Solid);
  for (int b = 1; b <= rows; ++b) {
    const double south = plan.south + (b - 1) * plan.cell;
    const double north = std::min(plan.south + b * plan.cell, plan.north);
    int a = 1;
    while (a <= columns) {
      const std::int16_t unit = plan.unit(a, b);
      int last = a;
      while (last < columns && plan.unit(last + 1, b) == unit) ++last;
      if (unit > 0 && unit < static_cast<int>(map.unitColor.size())) {
        const double west = plan.west + (a - 1) * plan.cell;
        const double east = std::min(plan.west + last * plan.cell, plan.east);
        canvas.setFillColor(map.unitColor[unit]);
        canvas.polygon({place.at(west, south), place.at(east, south), place.at(east, north),
                        place.at(west, north)});
      }
      a = last + 1;
    }
  }
}

void drawFrame(Canvas& canvas, const PlanPlacement& place, const PlanUnits& plan,
               PackedColor color) {
  setSolidPen(canvas, color, 1);
  const auto left = static_cast<float>(place.x(plan.west));
  const auto right = static_cast<float>(place.x(plan.east));
  const auto top = static_cast<float>(place.y(plan.north));
  const auto bottom = static_cast<float>(place.y(plan.south));
  canvas.line(left, top, right, top);
  canvas.line(right, top, right, bottom);
  canvas.line(right, bottom, left, bottom);
  canvas.line(left, bottom, left, top);
}

void drawTrack(Canvas& canvas, const PlanPlacement& place, const std::vector<MapPoint>& track) {
  for (std::size_t k = 0; k + 1 < track.size(); ++k) {
    canvas.line(static_cast<float>(place.x(track[k][0])), static_cast<float>(place.y(track[k][1])),
                static_cast<float>(place.x(track[k + 1][0])),
                static_cast<float>(place.y(track[k + 1][1])));
  }
}

// North is up: an arrow left of the frame's top with an N over it.
void drawNorth(Canvas& canvas, const PlanPlacement& place, const PlanUnits& plan, int size,
               PackedColor color) {
  const double x = place.x(plan.west) - 1.2 * size, top = place.y(plan.north) + 1.2 * size;
  const auto fx = static_cast<float>(x), ft = static_cast<float>(top);
  const auto head = static_cast<float>(0.4 * size);
  setSolidPen(canvas, color, 1);
  canvas.line(fx, ft + 2.0f * static_cast<float>(size), fx, ft);
  canvas.line(fx, ft, fx - head, ft + head);
  canvas.line(fx, ft, fx + head, ft + head);
  drawLabel(canvas, x, top - 0.3 * size, "N", size, TextAlign::Center);
}

// The label of an end, beyond it along the line so that it does not sit on the line.
void labelEnd(Canvas& canvas, const PlanPlacement& place, const MapPoint& end,
              const MapPoint& inner, const std::string& text, int size) {
  double dx = place.x(end[0]) - place.x(inner[0]), dy = place.y(end[1]) - place.y(inner[1]);
  const double length = std::hypot(dx, dy);
  if (length > 0) {
    dx /= length;
    dy /= length;
  }
  const double reach = 0.5 * canvas.textWidth(text, size) + 0.4 * size;
  const double x = place.x(end[0]) + dx * reach, y = place.y(end[1]) + dy * (0.9 * size);
  drawLabel(canvas, x, y + 0.35 * size, text, size, TextAlign::Center);
}

}  // namespace

std::vector<MapPoint> sectionTrack(const SectionGrid& section) {
  std::vector<MapPoint> track;
  if (section.Nxy < 1) return track;
  track.push_back({section.x(1), section.y(1)});
  for (const SectionBend& bend : section.bends) track.push_back({bend.x, bend.y});
  track.push_back({section.x(section.Nxy), section.y(section.Nxy)});
  return track;
}

void drawLocationMap(Canvas& canvas, const CanvasBox& box, const LocationMap& map, int size) {
  const PlanPlacement place(map.plan, box);
  drawUnits(canvas, place, map);
  drawFrame(canvas, place, map.plan, map.lineColor);
  drawNorth(canvas, place, map.plan, size, map.lineColor);
  for (std::size_t k = 0; k < map.tracks.size(); ++k) {
    if (k != map.highlighted) drawTrack(canvas, place, map.tracks[k]);
  }
  if (map.highlighted >= map.tracks.size()) return;
  const std::vector<MapPoint>& track = map.tracks[map.highlighted];
  setSolidPen(canvas, kSurveyTraceColor, 2);
  drawTrack(canvas, place, track);
  setSolidPen(canvas, map.lineColor, 1);
  if (track.size() < 2) return;
  labelEnd(canvas, place, track.front(), track[1], map.name, size);
  labelEnd(canvas, place, track.back(), track[track.size() - 2], map.name + "'", size);
}

}  // namespace kalvenor
