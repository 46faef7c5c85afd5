#include "canvas/band_painting.h"

#include <omp.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <utility>

#include "canvas/packed_qcolor.h"

namespace kalvenor {
namespace {

// Enough operations to keep every band busy for a while, few enough to hold little memory.
constexpr std::size_t kOpsPerRound = 1 << 16;

constexpr float kEverywhere = std::numeric_limits<float>::max();

// How far beyond its points a pen of this style can reach, with a pixel to spare.
float penReach(const PainterCanvas::Style& style) {
  return style.penStyle == PenStyle::Invisible ? 1.0f : static_cast<float>(style.penWidth) + 1.0f;
}

}  // namespace

// A painter on a band's rows, moved up so that the picture's coordinates land on them.
class BandPainting::BandCanvas : public PainterCanvas {
 public:
  BandCanvas(QImage rows, int top, QSize picture)
      : rows_(std::move(rows)), painter_(&rows_), picture_(picture) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.translate(0, -top);
  }

  void clear() override {
    painter_.fillRect(QRect(QPoint(0, 0), picture_), toQColor(backgroundColor()));
  }
  double width() const override { return picture_.width(); }
  double height() const override { return picture_.height(); }

 protected:
  QPainter& painter() override { return painter_; }

 private:
  QImage rows_;
  QPainter painter_;
  QSize picture_;
};

BandPainting::BandPainting(QImage& target, const PainterCanvas::Style& style,
                           PackedColor background, bool antialiasedLines, int bands)
    : target_(target),
      style_(style),
      background_(background),
      antialiasedLines_(antialiasedLines),
      bands_(std::clamp(bands, 1, std::max(1, target.height()))) {
  // The bands write through the rows' addresses: the image must own its pixels alone by then.
  target_.bits();
}

void BandPainting::hold(const Op& op) {
  ops_.push_back(op);
  if (ops_.size() >= kOpsPerRound) finish();
}

void BandPainting::clear() {
  hold({Kind::Clear, style_, background_, -kEverywhere, kEverywhere, 0, 0, 0, 0, 0, 0, 0, {}});
}

void BandPainting::line(float x1, float y1, float x2, float y2) {
  const float reach = penReach(style_);
  hold({Kind::Line,
        style_,
        background_,
        std::min(y1, y2) - reach,
        std::max(y1, y2) + reach,
        x1,
        y1,
        x2,
        y2,
        0,
        0,
        0,
        {}});
}

void BandPainting::line(float x1, float y1, float x2, float y2, PackedColor color) {
  const PackedColor pen = style_.penColor;
  style_.penColor = color;
  line(x1, y1, x2, y2);
  style_.penColor = pen;
}

void BandPainting::point(float x, float y) {
  const float reach = static_cast<float>(style_.penWidth) + 1.0f;
  hold({Kind::Point, style_, background_, y - reach, y + reach, x, y, x, y, 0, 0, 0, {}});
}

void BandPainting::polygonCorners(std::span<const CanvasPoint> corners) {
  if (corners.empty()) return;
  const auto [low, high] =
      std::minmax_element(corners.begin(), corners.end(),
                          [](const CanvasPoint& a, const CanvasPoint& b) { return a.y < b.y; });
  const float reach = penReach(style_);
  const auto first = static_cast<std::uint32_t>(corners_.size());
  corners_.insert(corners_.end(), corners.begin(), corners.end());
  hold({Kind::Polygon,
        style_,
        background_,
        static_cast<float>(low->y) - reach,
        static_cast<float>(high->y) + reach,
        0,
        0,
        0,
        0,
        first,
        static_cast<std::uint32_t>(corners.size()),
        0,
        {}});
}

// Text is rare and its extent depends on the font: every band paints it.
void BandPainting::text(float x, float y, const std::string& utf8, int size, TextAlign align) {
  texts_.push_back(utf8);
  hold({Kind::Text, style_, background_, -kEverywhere, kEverywhere, x, y, x, y,
        static_cast<std::uint32_t>(texts_.size() - 1), 0, size, align});
}

double BandPainting::textWidth(const std::string& utf8, int size) const {
  return painterTextWidth(utf8, size);
}

// A fill covers the same pixels whichever rows a painter can reach, but a line is fitted to
// those rows before it is stepped along, so its pixels may shift where it crosses from one band
// into the next: an operation with a pen that reaches over a band's edge waits for the bands to
// finish what came before it and is painted on the whole picture, before they go on.
void BandPainting::finish() {
  if (ops_.empty()) return;
  const int rows = target_.height();
  std::vector<int> edges(bands_ + 1);
  for (int band = 0; band <= bands_; ++band) edges[band] = rows * band / bands_;
  std::vector<std::unique_ptr<BandCanvas>> bands;
  for (int band = 0; band < bands_; ++band)
    bands.push_back(bandCanvas(edges[band], edges[band + 1]));
  const std::unique_ptr<BandCanvas> whole = bandCanvas(0, rows);
  std::size_t from = 0;
  for (std::size_t i = 0; i < ops_.size(); ++i) {
    if (!overEdge(ops_[i], edges)) continue;
    paintInBands(bands, edges, from, i);
    paint(*whole, ops_[i]);
    from = i + 1;
  }
  paintInBands(bands, edges, from, ops_.size());
  painted_ = true;
  ops_.clear();
  corners_.clear();
  texts_.clear();
}

bool BandPainting::overEdge(const Op& op, const std::vector<int>& edges) const {
  if (op.style.penStyle == PenStyle::Invisible && op.kind == Kind::Polygon) return false;
  if (op.kind == Kind::Clear) return false;
  // Antialiased lines blend a shade or so differently on a band's painter, wherever they are.
  if (antialiasedLines_ && (op.kind == Kind::Line || op.kind == Kind::Point)) return true;
  for (std::size_t band = 1; band + 1 < edges.size(); ++band) {
    const auto edge = static_cast<float>(edges[band]);
    if (op.top < edge && op.bottom >= edge) return true;
  }
  return false;
}

std::unique_ptr<BandPainting::BandCanvas> BandPainting::bandCanvas(int top, int bottom) const {
  // The band's rows of the target, without a copy: the target was detached before painting.
  auto canvas = std::make_unique<BandCanvas>(
      QImage(const_cast<uchar*>(target_.constScanLine(top)), target_.width(), bottom - top,
             target_.bytesPerLine(), target_.format()),
      top, target_.size());
  canvas->setAntialiasedLines(antialiasedLines_);
  return canvas;
}

void BandPainting::paintInBands(const std::vector<std::unique_ptr<BandCanvas>>& bands,
                                const std::vector<int>& edges, std::size_t from,
                                std::size_t to) const {
  if (from == to) return;
#pragma omp parallel for num_threads(bands_) schedule(static, 1)
  for (int band = 0; band < bands_; ++band) {
    const auto top = static_cast<float>(edges[band]), bottom = static_cast<float>(edges[band + 1]);
    for (std::size_t i = from; i < to; ++i) {
      const Op& op = ops_[i];
      if (op.bottom >= top && op.top < bottom) paint(*bands[band], op);
    }
  }
}

void BandPainting::paint(BandCanvas& canvas, const Op& op) const {
  canvas.setStyle(op.style);
  canvas.setBackgroundColor(op.background);
  switch (op.kind) {
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
      canvas.polygonCorners(std::span(corners_).subspan(op.first, op.count));
      break;
    case Kind::Text:
      canvas.text(op.x1, op.y1, texts_[op.first], op.size, op.align);
      break;
  }
}

}  // namespace kalvenor
