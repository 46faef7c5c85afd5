#include "canvas/painter_canvas.h"

#include <QFontMetricsF>
#include <array>
#include <vector>

#include "canvas/packed_qcolor.h"
#include "render/cell_paint.h"

namespace kalvenor {
namespace {

// The proportional Gothic face scripts/setup installs has the Japanese unit names as well as Latin
// text.
QFont textFont(int size) {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(size > 0 ? size : 1);
  return font;
}

}  // namespace

void PainterCanvas::text(float x, float y, const std::string& utf8, int size, TextAlign align) {
  QPainter& p = painter();
  const QString text = QString::fromStdString(utf8);
  const QFont font = textFont(size);
  const double width = QFontMetricsF(font).horizontalAdvance(text);
  const double left = align == TextAlign::Left     ? x
                      : align == TextAlign::Center ? x - width / 2
                                                   : x - width;
  p.setFont(font);
  p.setPen(toQColor(penColor_));
  penOn_ = nullptr;
  p.drawText(QPointF(left, y), text);
  drawn();
}

double painterTextWidth(const std::string& utf8, int size) {
  return QFontMetricsF(textFont(size)).horizontalAdvance(QString::fromStdString(utf8));
}

double PainterCanvas::textWidth(const std::string& utf8, int size) const {
  return painterTextWidth(utf8, size);
}

// Setting a pen or brush costs as much as filling a small cell: the painter keeps what was set
// last until it changes.
void PainterCanvas::applyPen(QPainter& p) {
  const Applied wanted{penStyle_ == PenStyle::Invisible ? PackedColor(0) : penColor_,
                       penStyle_ == PenStyle::Invisible ? 0 : penWidth_,
                       penStyle_ != PenStyle::Invisible, penStyle_ == PenStyle::Dot};
  if (&p == penOn_ && wanted == pen_) return;
  penOn_ = &p;
  pen_ = wanted;
  if (!wanted.on) {
    p.setPen(Qt::NoPen);
    return;
  }
  p.setPen(QPen(toQColor(penColor_), penWidth_,
                penStyle_ == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine));
}

void PainterCanvas::applyBrush(QPainter& p) {
  const bool solid = fillStyle_ == FillStyle::Solid;
  const Applied wanted{solid ? fillColor_ : PackedColor(0), 0, solid, false};
  if (&p == brushOn_ && wanted == brush_) return;
  brushOn_ = &p;
  brush_ = wanted;
  if (solid) {
    p.setBrush(toQColor(fillColor_));
  } else {
    p.setBrush(Qt::NoBrush);
  }
}

void PainterCanvas::forgetApplied() { penOn_ = brushOn_ = targetOf_ = nullptr; }

// Taken once for each painter: a painter stays on its image, shifted as it was made, until it is
// ended or replaced.
const std::optional<PixelTarget>& PainterCanvas::pixelTarget(QPainter& p) {
  if (&p != targetOf_) {
    targetOf_ = &p;
    target_ = pixelTargetOf(p);
  }
  return target_;
}

void PainterCanvas::smoothLines(QPainter& p, bool on) const {
  if (antialiasedLines_) p.setRenderHint(QPainter::Antialiasing, on);
}

void PainterCanvas::line(float x1, float y1, float x2, float y2) {
  QPainter& p = painter();
  smoothLines(p, true);
  applyPen(p);
  p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
  drawn();
}

void PainterCanvas::line(float x1, float y1, float x2, float y2, PackedColor color) {
  const PackedColor pen = penColor_;
  penColor_ = color;
  line(x1, y1, x2, y2);
  penColor_ = pen;
}

void PainterCanvas::point(float x, float y) {
  QPainter& p = painter();
  const auto& target = pixelTarget(p);
  if (!antialiasedLines_ && target && dotWholePixel(*target, x, y, penWidth_, penColor_)) {
    drawn();
    return;
  }
  smoothLines(p, true);
  p.setPen(QPen(toQColor(penColor_), penWidth_));
  penOn_ = nullptr;
  p.drawPoint(QPointF(x, y));
  drawn();
}

void PainterCanvas::polygon(const Quad& corners) { polygonCorners(corners); }

void PainterCanvas::polygonCorners(std::span<const CanvasPoint> corners) {
  // Corners on one line enclose nothing, and without a pen nothing shows: skip the painter,
  // which matters where a section has several cells to a pixel.
  if (penStyle_ == PenStyle::Invisible && onOneLine(corners)) return;
  QPainter& p = painter();
  const auto& target = pixelTarget(p);
  if (penStyle_ == PenStyle::Invisible && fillStyle_ == FillStyle::Solid && target &&
      fillWholePixels(*target, corners, fillColor_)) {
    drawn();
    return;
  }
  smoothLines(p, false);
  applyPen(p);
  applyBrush(p);
  // A cell has four corners and a cut part a few more: no allocation for those.
  constexpr std::size_t kOnStack = 16;
  std::array<QPoint, kOnStack> onStack;
  std::vector<QPoint> onHeap;
  QPoint* points = onStack.data();
  if (corners.size() > kOnStack) {
    onHeap.resize(corners.size());
    points = onHeap.data();
  }
  for (std::size_t n = 0; n < corners.size(); ++n) points[n] = QPoint(corners[n].x, corners[n].y);
  p.drawPolygon(points, static_cast<int>(corners.size()), Qt::OddEvenFill);
  drawn();
}

DeviceCanvas::DeviceCanvas(QPaintDevice& device, QSize size) : painter_(&device), size_(size) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
}

void DeviceCanvas::clear() {
  painter_.fillRect(QRect(QPoint(0, 0), size_), toQColor(backgroundColor()));
}

}  // namespace kalvenor
