#include "canvas/band_painting.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "canvas/packed_qcolor.h"
#include "model/parallel_for.h"

namespace kalvenor {
namespace {

// How far beyond its points a pen of this style can paint, with a pixel to spare.
float penReach(const PainterCanvas::Style& style) {
  return style.penStyle == PenStyle::Invisible ? 1.0f : static_cast<float>(style.penWidth) + 1.0f;
}

// A pixel position far beyond any picture stays one as an int.
int toPixel(float value) { return static_cast<int>(std::clamp(value, -1e9f, 1e9f)); }

// A colour the operation paints no pixel in: neither its pen's nor its fill's.
QRgb unpainted(const PainterCanvas::Style& style) {
  const QRgb pen = toQColor(style.penColor).rgb(), fill = toQColor(style.fillColor).rgb();
  for (const QRgb key : {qRgb(1, 2, 3), qRgb(4, 5, 6)}) {
    if (key != pen && key != fill) return key;
  }
  return qRgb(7, 8, 9);
}

}  // namespace

// A painter on some pixels of the picture: the image `pixels` seen at `origin` of the picture.
class BandPainting::OnRows : public PainterCanvas {
 public:
  OnRows(QImage pixels, QPoint origin, QSize picture)
      : pixels_(std::move(pixels)), painter_(&pixels_), picture_(picture) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.translate(-origin.x(), -origin.y());
  }

  void clear() override {
    painter_.fillRect(QRect(QPoint(0, 0), picture_), toQColor(backgroundColor()));
  }
  double width() const override { return picture_.width(); }
  double height() const override { return picture_.height(); }

  // The pixels as painted, the painter ended.
  const QImage& painted() {
    painter_.end();
    return pixels_;
  }

 protected:
  QPainter& painter() override { return painter_; }

 private:
  QImage pixels_;
  QPainter painter_;
  QSize picture_;
};

// One thread draws; with two, the other paints; every further thread paints a band.
BandPainting::BandPainting(QImage& target, const PainterCanvas::Style& style,
                           PackedColor background, bool antialiasedLines, int threads,
                           std::size_t opsPerRound)
    : target_(target),
      style_(style),
      background_(background),
      antialiasedLines_(antialiasedLines),
      pipelined_(threads > 1),
      bands_(std::clamp(threads - 1, 1, std::max(1, target.height()))),
      opsPerRound_(std::max<std::size_t>(opsPerRound, 1)) {
  // The bands write through the rows' addresses: the image must own its pixels alone by then.
  target_.bits();
  held_.ops.reserve(opsPerRound_ + 1);
}

BandPainting::~BandPainting() {
  if (painting_.valid()) painting_.wait();
}

// Each round starts with the pen and fill in effect, as its painters start afresh.
void BandPainting::hold(const Op& op, QRect reach) {
  const Styled now{style_, background_};
  if (held_.styles.empty() || !(held_.styles.back() == now)) {
    held_.styles.push_back(now);
    held_.ops.push_back(
        {Kind::Style, {}, 0, 0, 0, 0, 0, static_cast<std::uint32_t>(held_.styles.size() - 1), 0});
    if (bands_ > 1) held_.reach.emplace_back();
  }
  held_.ops.push_back(op);
  if (bands_ > 1) held_.reach.push_back(reach);
  if (held_.ops.size() >= opsPerRound_) handOver();
}

// With one band, which is the whole picture, every operation is painted wherever it reaches.
QRect BandPainting::reachOf(float left, float top, float right, float bottom) const {
  if (bands_ == 1) return {};
  return QRect(QPoint(toPixel(std::floor(left)), toPixel(std::floor(top))),
               QPoint(toPixel(std::ceil(right)), toPixel(std::ceil(bottom))));
}

// The round held goes to the painting thread once it has painted the one before; a failure
// there comes out here.
void BandPainting::handOver() {
  if (held_.ops.empty()) return;
  waitForPainting();
  painted_ = true;
  if (!pipelined_) {
    paintRound(held_);
    held_.clear();
    return;
  }
  std::swap(held_, handedOver_);
  held_.clear();
  painting_ = std::async(std::launch::async, [this] { paintRound(handedOver_); });
}

void BandPainting::waitForPainting() {
  if (painting_.valid()) painting_.get();
}

void BandPainting::finish() {
  handOver();
  waitForPainting();
}

void BandPainting::clear() { hold({Kind::Clear, {}, 0, 0, 0, 0, 0, 0, 0}); }

void BandPainting::line(float x1, float y1, float x2, float y2) {
  const float r = penReach(style_);
  hold({Kind::Line, {}, 0, x1, y1, x2, y2, 0, 0},
       reachOf(std::min(x1, x2) - r, std::min(y1, y2) - r, std::max(x1, x2) + r,
               std::max(y1, y2) + r));
}

void BandPainting::line(float x1, float y1, float x2, float y2, PackedColor color) {
  const PackedColor pen = style_.penColor;
  style_.penColor = color;
  line(x1, y1, x2, y2);
  style_.penColor = pen;
}

void BandPainting::point(float x, float y) {
  const float r = static_cast<float>(style_.penWidth) + 1.0f;
  hold({Kind::Point, {}, 0, x, y, x, y, 0, 0}, reachOf(x - r, y - r, x + r, y + r));
}

void BandPainting::polygonCorners(std::span<const CanvasPoint> corners) {
  if (corners.empty()) return;
  const auto first = static_cast<std::uint32_t>(held_.corners.size());
  held_.corners.insert(held_.corners.end(), corners.begin(), corners.end());
  const Op op{Kind::Polygon, {}, 0, 0, 0, 0, 0, first, static_cast<std::uint32_t>(corners.size())};
  if (bands_ == 1) return hold(op);
  const auto [left, right] = std::minmax_element(
      corners.begin(), corners.end(), [](const auto& a, const auto& b) { return a.x < b.x; });
  const auto [top, bottom] = std::minmax_element(
      corners.begin(), corners.end(), [](const auto& a, const auto& b) { return a.y < b.y; });
  const float r = penReach(style_);
  hold(op,
       reachOf(float(left->x) - r, float(top->y) - r, float(right->x) + r, float(bottom->y) + r));
}

void BandPainting::text(float x, float y, const std::string& utf8, int size, TextAlign align) {
  held_.texts.push_back(utf8);
  hold(
      {Kind::Text, align, size, x, y, x, y, static_cast<std::uint32_t>(held_.texts.size() - 1), 0});
}

double BandPainting::textWidth(const std::string& utf8, int size) const {
  return painterTextWidth(utf8, size);
}

// Text, whose extent depends on the font, and antialiased lines, which blend a shade or so
// differently on a painter of fewer rows, are painted on the whole picture once the bands have
// painted what came before them.
bool BandPainting::paintedWhole(const Op& op) const {
  return op.kind == Kind::Text ||
         (antialiasedLines_ && (op.kind == Kind::Line || op.kind == Kind::Point));
}

// The style in effect at each operation is the last Style operation before it; every painter
// that starts partway through a round is given it first.
void BandPainting::paintRound(const Round& round) const {
  const std::vector<Op>& ops = round.ops;
  std::optional<OnRows> whole;
  std::size_t from = 0;
  int style = -1, styleAtFrom = -1;
  for (std::size_t i = 0; i < ops.size(); ++i) {
    if (ops[i].kind == Kind::Style) style = static_cast<int>(ops[i].first);
    if (bands_ == 1 || !paintedWhole(ops[i])) continue;
    paintInBands(round, from, i, styleAtFrom);
    if (!whole) {
      whole.emplace(QImage(const_cast<uchar*>(target_.constBits()), target_.width(),
                           target_.height(), target_.bytesPerLine(), target_.format()),
                    QPoint(0, 0), target_.size());
      whole->setAntialiasedLines(antialiasedLines_);
    }
    setStyle(round, *whole, style);
    paint(round, *whole, ops[i]);
    from = i + 1;
    styleAtFrom = style;
  }
  paintInBands(round, from, ops.size(), styleAtFrom);
}

void BandPainting::paintInBands(const Round& round, std::size_t from, std::size_t to,
                                int style) const {
  if (from == to) return;
  const int rows = target_.height();
  parallelFor(
      0, bands_ - 1,
      [&](int b) {
        const int top = rows * b / bands_, bottom = rows * (b + 1) / bands_;
        if (top == bottom) return;
        // The band's rows of the target, without a copy: the target was detached before painting.
        OnRows canvas(QImage(const_cast<uchar*>(target_.constScanLine(top)), target_.width(),
                             bottom - top, target_.bytesPerLine(), target_.format()),
                      QPoint(0, top), target_.size());
        canvas.setAntialiasedLines(antialiasedLines_);
        setStyle(round, canvas, style);
        paintInBand(round, QRect(0, top, target_.width(), bottom - top), canvas, from, to, style);
      },
      {.threads = bands_, .dynamic = false});
}

// A fill covers the same pixels whichever rows its painter reaches, but Qt fits a line to the
// rows its painter reaches before stepping along it, so its pixels would shift where it crosses
// into the next band: what a pen paints beyond the band's rows is painted through paintThrough.
void BandPainting::paintInBand(const Round& round, const QRect& band, OnRows& canvas,
                               std::size_t from, std::size_t to, int style) const {
  for (std::size_t i = from; i < to; ++i) {
    const Op& op = round.ops[i];
    if (op.kind == Kind::Style) style = static_cast<int>(op.first);
    const QRect reach = round.reach.empty() ? QRect() : round.reach[i];
    if (!reach.isNull() && !reach.intersects(band)) continue;
    const bool pen = op.kind != Kind::Clear && op.kind != Kind::Style &&
                     (op.kind != Kind::Polygon || canvas.style().penStyle != PenStyle::Invisible);
    // Where the band's edge is the picture's, its painter fits the line as a whole one would.
    const bool overTop = band.top() > 0 && reach.top() < band.top();
    const bool overBottom = band.bottom() < target_.height() - 1 && reach.bottom() > band.bottom();
    if (pen && !reach.isNull() && (overTop || overBottom)) {
      paintThrough(round, band, i, style);
    } else {
      paint(round, canvas, op);
    }
  }
}

// Paints the operation on an image of its own over all it reaches within the picture, so its
// painter fits it to the picture's edges as one on the whole picture would, then copies the
// pixels it painted in the band's rows. Without antialiasing every pixel it paints takes the
// pen's or the fill's colour outright, so the copy is the pixels a painter of the picture gives.
void BandPainting::paintThrough(const Round& round, const QRect& band, std::size_t index,
                                int style) const {
  const QRect area = round.reach[index].intersected(QRect(QPoint(0, 0), target_.size()));
  const QRect rows = area.intersected(band);
  if (rows.isEmpty()) return;
  const QRgb key = unpainted(round.styles[static_cast<std::size_t>(style)].style);
  QImage own(area.size(), QImage::Format_RGB32);
  own.fill(key);
  OnRows canvas(std::move(own), area.topLeft(), target_.size());
  setStyle(round, canvas, style);
  paint(round, canvas, round.ops[index]);
  const QImage& painted = canvas.painted();
  for (int y = rows.top(); y <= rows.bottom(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(painted.constScanLine(y - area.top()));
    auto* to = reinterpret_cast<QRgb*>(const_cast<uchar*>(target_.constScanLine(y)));
    for (int x = rows.left(); x <= rows.right(); ++x) {
      const QRgb pixel = from[x - area.left()];
      if (pixel != key) to[x] = pixel;
    }
  }
}

void BandPainting::setStyle(const Round& round, PainterCanvas& canvas, int style) {
  if (style < 0) return;
  const Styled& styled = round.styles[static_cast<std::size_t>(style)];
  canvas.setStyle(styled.style);
  canvas.setBackgroundColor(styled.background);
}

void BandPainting::paint(const Round& round, PainterCanvas& canvas, const Op& op) {
  switch (op.kind) {
    case Kind::Style:
      setStyle(round, canvas, static_cast<int>(op.first));
      break;
    case Kind::Clear:
      canvas.clear();
      break;
    case Kind::Line:
      canvas.line(op.x1, op.y1, op.x2, op.y2);
      break;
    case Kind::Point:
      canvas.point(op.x1, op.y1);
      break;
    case Kind::Polygon:
      canvas.polygonCorners(std::span(round.corners).subspan(op.first, op.count));
      break;
    case Kind::Text:
      canvas.text(op.x1, op.y1, round.texts[op.first], op.size, op.align);
      break;
  }
}

}  // namespace kalvenor
