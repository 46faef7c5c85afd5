#include "render/recorded_canvas.h"

#include <algorithm>

namespace kalvenor {

void RecordedCanvas::line(float x1, float y1, float x2, float y2) {
  hold(Call::Line, 0, x1, y1, x2, y2);
}

void RecordedCanvas::line(float x1, float y1, float x2, float y2, PackedColor color) {
  hold(Call::LineIn, color, x1, y1, x2, y2);
}

void RecordedCanvas::point(float x, float y) { hold(Call::Point, 0, x, y); }

void RecordedCanvas::polygon(const Quad& corners) {
  corners_.insert(corners_.end(), corners.begin(), corners.end());
  hold(Call::Quad, 4);
}

void RecordedCanvas::polygonCorners(std::span<const CanvasPoint> corners) {
  corners_.insert(corners_.end(), corners.begin(), corners.end());
  hold(Call::Polygon, static_cast<std::int32_t>(corners.size()));
}

void RecordedCanvas::text(float x, float y, const std::string& utf8, int size, TextAlign align) {
  texts_.push_back({utf8, size, align});
  hold(Call::Text, static_cast<std::int32_t>(texts_.size() - 1), x, y);
}

RecordedCanvas::Mark RecordedCanvas::mark() {
  std::fill(std::begin(known_), std::end(known_), false);
  return end();
}

void RecordedCanvas::forget() {
  ops_.clear();
  corners_.clear();
  texts_.clear();
  std::fill(std::begin(known_), std::end(known_), false);
}

void RecordedCanvas::apply(Canvas& canvas, Setting setting, std::int32_t value) {
  switch (setting) {
    case Setting::Background:
      return canvas.setBackgroundColor(value);
    case Setting::PenColor:
      return canvas.setPenColor(value);
    case Setting::PenWidth:
      return canvas.setPenWidth(value);
    case Setting::PenStyle:
      return canvas.setPenStyle(static_cast<PenStyle>(value));
    case Setting::FillColor:
      return canvas.setFillColor(value);
    case Setting::FillStyle:
      return canvas.setFillStyle(static_cast<FillStyle>(value));
  }
}

void RecordedCanvas::drawOn(Canvas& canvas, const Mark& from, const Mark& to) const {
  std::size_t corner = from.corner;
  for (std::size_t i = from.op; i < to.op; ++i) {
    const Op& op = ops_[i];
    switch (op.call) {
      case Call::Setting:
        apply(canvas, op.setting, op.value);
        break;
      case Call::Clear:
        canvas.clear();
        break;
      case Call::Line:
        canvas.line(op.x1, op.y1, op.x2, op.y2);
        break;
      case Call::LineIn:
        canvas.line(op.x1, op.y1, op.x2, op.y2, op.value);
        break;
      case Call::Point:
        canvas.point(op.x1, op.y1);
        break;
      case Call::Quad:
        canvas.polygon(
            {corners_[corner], corners_[corner + 1], corners_[corner + 2], corners_[corner + 3]});
        corner += 4;
        break;
      case Call::Polygon: {
        const auto count = static_cast<std::size_t>(op.value);
        canvas.polygonCorners(std::span(corners_).subspan(corner, count));
        corner += count;
        break;
      }
      case Call::Text: {
        const Text& t = texts_[static_cast<std::size_t>(op.value)];
        canvas.text(op.x1, op.y1, t.utf8, t.size, t.align);
        break;
      }
    }
  }
}

}  // namespace kalvenor
