#include "canvas/vector_canvas.h"

#include <QPolygonF>
#include <algorithm>
#include <cstdint>

#include "canvas/packed_qcolor.h"

namespace kalvenor {
namespace {

// The pen that closes hairlines between regions: wide enough to cover a viewer's antialiased
// edge, narrow enough not to move a contact visibly.
constexpr double kSealWidth = 0.5;

std::int64_t twiceArea(const Quad& q) {
  std::int64_t sum = 0;
  for (int i = 0; i < 4; ++i) {
    const CanvasPoint& a = q[i];
    const CanvasPoint& b = q[(i + 1) % 4];
    sum += std::int64_t{a.x} * b.y - std::int64_t{b.x} * a.y;
  }
  return sum;
}

std::int64_t side(const CanvasPoint& o, const CanvasPoint& a, const CanvasPoint& b) {
  const std::int64_t c = (std::int64_t{a.x} - o.x) * (std::int64_t{b.y} - o.y) -
                         (std::int64_t{a.y} - o.y) * (std::int64_t{b.x} - o.x);
  return c > 0 ? 1 : c < 0 ? -1 : 0;
}

bool segmentsCross(const CanvasPoint& a, const CanvasPoint& b, const CanvasPoint& c,
                   const CanvasPoint& d) {
  return side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0;
}

// A quadrilateral whose sides cross is filled by the even-odd rule in two parts; it is drawn on
// its own rather than joined to a region filled by the winding rule.
bool selfIntersecting(const Quad& q) {
  return segmentsCross(q[0], q[1], q[2], q[3]) || segmentsCross(q[1], q[2], q[3], q[0]);
}

}  // namespace

VectorCanvas::~VectorCanvas() { flush(); }

void VectorCanvas::flush() {
  if (!regionColor_) return;
  const QColor color = toQColor(*regionColor_);
  QPainter& p = painter();
  p.setPen(QPen(color, kSealWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(color);
  p.drawPath(region_.simplified());
  region_ = QPainterPath();
  regionColor_.reset();
}

void VectorCanvas::clear() {
  region_ = QPainterPath();
  regionColor_.reset();
  DeviceCanvas::clear();
}

void VectorCanvas::line(float x1, float y1, float x2, float y2) {
  flush();
  DeviceCanvas::line(x1, y1, x2, y2);
}

void VectorCanvas::line(float x1, float y1, float x2, float y2, PackedColor color) {
  flush();
  DeviceCanvas::line(x1, y1, x2, y2, color);
}

void VectorCanvas::point(float x, float y) {
  flush();
  DeviceCanvas::point(x, y);
}

void VectorCanvas::text(float x, float y, const std::string& utf8, int size, TextAlign align) {
  flush();
  DeviceCanvas::text(x, y, utf8, size, align);
}

void VectorCanvas::polygon(const Quad& corners) {
  const Style s = style();
  const std::int64_t area = twiceArea(corners);
  if (s.penStyle != PenStyle::Invisible || s.fillStyle != FillStyle::Solid ||
      selfIntersecting(corners)) {
    flush();
    DeviceCanvas::polygon(corners);
    return;
  }
  if (area == 0) return;  // encloses nothing and has no outline
  if (regionColor_ != s.fillColor) {
    flush();
    regionColor_ = s.fillColor;
    region_.setFillRule(Qt::WindingFill);
  }
  // One turning sense for every cell, so that overlapping cells add up under the winding rule.
  QPolygonF quad;
  for (const CanvasPoint& c : corners) quad << QPointF(c.x, c.y);
  if (area < 0) std::reverse(quad.begin(), quad.end());
  quad << quad.front();
  region_.addPolygon(quad);
}

}  // namespace kalvenor
