#include "canvas/vector_canvas.h"

#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "canvas/packed_qcolor.h"

namespace kalvenor {
namespace {

// The pen that closes hairlines between regions: wide enough to cover a viewer's antialiased
// edge (half a pixel left faint stripes along the rows where a region is drawn in several
// pieces), narrow enough not to move a contact visibly.
constexpr double kSealWidth = 1.0;

// The group of the held lines in the overlap index; regions count from 0.
constexpr int kLineGroup = -1;

std::int64_t twiceArea(std::span<const CanvasPoint> q) {
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < q.size(); ++i) {
    const CanvasPoint& a = q[i];
    const CanvasPoint& b = q[(i + 1) % q.size()];
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

bool selfIntersecting(std::span<const CanvasPoint> q) {
  const std::size_t n = q.size();
  for (std::size_t a = 0; a < n; ++a) {
    for (std::size_t b = a + 2; b < n; ++b) {
      if (a == 0 && b == n - 1) continue;  // neighbours share a corner
      if (segmentsCross(q[a], q[a + 1], q[b], q[(b + 1) % n])) return true;
    }
  }
  return false;
}

double signedArea(const QPolygonF& polygon) {
  double sum = 0;
  for (qsizetype i = 0; i < polygon.size(); ++i) {
    const QPointF& a = polygon[i];
    const QPointF& b = polygon[(i + 1) % polygon.size()];
    sum += a.x() * b.y() - b.x() * a.y();
  }
  return sum / 2;
}

}  // namespace

VectorCanvas::VectorCanvas(QPaintDevice& device, QSize size)
    : DeviceCanvas(device, size), held_(size.width(), size.height()) {}

VectorCanvas::~VectorCanvas() { flush(); }

void VectorCanvas::flush() {
  QPainter& p = painter();
  for (const Region& region : regions_) {
    const QColor color = toQColor(region.color);
    p.setPen(QPen(color, kSealWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(color);
    p.drawPath(region.path.simplified());
  }
  forgetApplied();
  const Style own = style();
  for (const HeldLine& held : lines_) {
    setStyle(held.style);
    if (held.point) {
      DeviceCanvas::point(held.from.x(), held.from.y());
    } else {
      DeviceCanvas::line(held.from.x(), held.from.y(), held.to.x(), held.to.y());
    }
  }
  setStyle(own);
  regions_.clear();
  lines_.clear();
  held_.clear();
}

int VectorCanvas::regionOf(PackedColor color) {
  for (std::size_t r = 0; r < regions_.size(); ++r) {
    if (regions_[r].color == color) return static_cast<int>(r);
  }
  regions_.push_back({color, QPainterPath()});
  regions_.back().path.setFillRule(Qt::WindingFill);
  return static_cast<int>(regions_.size()) - 1;
}

// The band the line covers with its pen, a pixel wider for antialiasing.
void VectorCanvas::hold(const HeldLine& line) {
  const double reach = line.style.penWidth / 2.0 + 1;
  QPointF along = line.to - line.from;
  const double length = std::hypot(along.x(), along.y());
  along = length > 0 ? along * (reach / length) : QPointF(reach, 0);
  const QPointF across(-along.y(), along.x());
  const QPointF band[] = {line.from - along - across, line.to + along - across,
                          line.to + along + across, line.from - along + across};
  held_.add(band, kLineGroup);
  lines_.push_back(line);
}

void VectorCanvas::clear() {
  regions_.clear();
  lines_.clear();
  held_.clear();
  DeviceCanvas::clear();
}

void VectorCanvas::line(float x1, float y1, float x2, float y2) {
  if (style().penStyle == PenStyle::Invisible) return;
  hold({style(), false, QPointF(x1, y1), QPointF(x2, y2)});
}

void VectorCanvas::line(float x1, float y1, float x2, float y2, PackedColor color) {
  Style s = style();
  s.penColor = color;
  if (s.penStyle == PenStyle::Invisible) return;
  hold({s, false, QPointF(x1, y1), QPointF(x2, y2)});
}

void VectorCanvas::point(float x, float y) { hold({style(), true, QPointF(x, y), QPointF(x, y)}); }

void VectorCanvas::text(float x, float y, const std::string& utf8, int size, TextAlign align) {
  flush();
  DeviceCanvas::text(x, y, utf8, size, align);
}

// A part in the region of its colour, unless it overlaps what another colour holds: then what is
// held is drawn first.
void VectorCanvas::addPart(QPolygonF part, PackedColor color) {
  if (signedArea(part) < 0) std::reverse(part.begin(), part.end());
  int region = regionOf(color);
  if (held_.overlapsOtherGroup(part, region)) {
    flush();
    region = regionOf(color);
  }
  held_.add(part, region);
  if (part.front() != part.back()) part << part.front();
  regions_[region].path.addPolygon(part);
}

void VectorCanvas::polygonCorners(std::span<const CanvasPoint> corners) {
  const Style s = style();
  if (s.penStyle != PenStyle::Invisible || s.fillStyle != FillStyle::Solid) {
    flush();
    DeviceCanvas::polygonCorners(corners);
    return;
  }
  QPolygonF polygon;
  for (const CanvasPoint& c : corners) polygon << QPointF(c.x, c.y);
  if (!selfIntersecting(corners)) {
    if (twiceArea(corners) != 0) addPart(polygon, s.fillColor);  // else encloses nothing
    return;
  }
  // Its sides cross: the lobes the even-odd rule fills, each a simple polygon of its own, so
  // that it adds up with the region's other parts under the winding rule.
  QPainterPath evenOdd;
  evenOdd.setFillRule(Qt::OddEvenFill);
  evenOdd.addPolygon(polygon);
  for (const QPolygonF& lobe : evenOdd.simplified().toSubpathPolygons()) {
    addPart(lobe, s.fillColor);
  }
}

}  // namespace kalvenor
