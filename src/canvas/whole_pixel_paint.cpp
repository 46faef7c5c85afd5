#include "canvas/whole_pixel_paint.h"

#include <QImage>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

namespace kalvenor {
namespace {

// Positions in 16.16 fixed point, as the painter steps along an edge.
using Fixed = std::int64_t;
constexpr Fixed kOne = 1 << 16;
constexpr Fixed kHalf = kOne / 2;

// An edge that crosses the middle of the rows top..bottom, inclusive, at x (fixed point) on its
// top row, moving by step on each row below.
struct Edge {
  int top, bottom;
  Fixed x, step;
};

// The rows an edge from a to b crosses and where: a row is crossed where its middle lies at or
// below the upper end and above the lower one. The step is the slope in fixed point cut towards
// zero, and the x is where the edge meets the top row's middle, both as the painter works them
// out, so that the rounding of every crossing is the painter's.
std::optional<Edge> edgeBetween(CanvasPoint a, CanvasPoint b) {
  if (a.y == b.y) return std::nullopt;
  if (a.y > b.y) std::swap(a, b);
  const Fixed ax = Fixed{a.x} * kOne + kHalf;
  if (a.x == b.x) return Edge{a.y, b.y - 1, ax, 0};
  const double slope = double(b.x - a.x) / double(b.y - a.y);
  const auto step = static_cast<Fixed>(slope * double(kOne));
  return Edge{a.y, b.y - 1, ax + ((step * kHalf) >> 16), step};
}

QRgb pixelOf(PackedColor color) { return qRgb(redOf(color), greenOf(color), blueOf(color)); }

}  // namespace

std::optional<PixelTarget> pixelTargetOf(QPainter& painter) {
  QPaintDevice* device = painter.device();
  if (device == nullptr || device->devType() != QInternal::Image) return std::nullopt;
  auto* image = static_cast<QImage*>(device);
  const QImage::Format format = image->format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied &&
      format != QImage::Format_ARGB32)
    return std::nullopt;
  if (image->devicePixelRatio() != 1 || painter.hasClipping() ||
      painter.compositionMode() != QPainter::CompositionMode_SourceOver)
    return std::nullopt;
  const QTransform t = painter.combinedTransform();
  if (t.type() > QTransform::TxTranslate || t.dx() != std::round(t.dx()) ||
      t.dy() != std::round(t.dy()))
    return std::nullopt;
  return PixelTarget{reinterpret_cast<QRgb*>(const_cast<uchar*>(image->constBits())),
                     static_cast<std::ptrdiff_t>(image->bytesPerLine() / sizeof(QRgb)),
                     image->width(), image->height(),
                     QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy()))};
}

bool fillWholePixels(const PixelTarget& target, std::span<const CanvasPoint> corners,
                     PackedColor color) {
  constexpr std::size_t kMostCorners = 16;
  if (corners.size() > kMostCorners) return false;
  // An edge's crossings drift from the true line by less than a pixel in 65 536 rows, as the
  // painter's do, so within a few thousand rows of the picture they stay within its sides.
  constexpr std::int64_t kFarthestRow = 1 << 14;
  std::array<CanvasPoint, kMostCorners> shifted;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const std::int64_t x = std::int64_t{corners[i].x} + target.shift.x();
    const std::int64_t y = std::int64_t{corners[i].y} + target.shift.y();
    if (x < 0 || x >= target.width || y < -kFarthestRow || y > kFarthestRow) return false;
    shifted[i] = {static_cast<int>(x), static_cast<int>(y)};
  }
  std::array<Edge, kMostCorners> edges;
  std::size_t count = 0;
  int top = target.height, bottom = -1;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const auto edge = edgeBetween(shifted[i], shifted[(i + 1) % corners.size()]);
    if (!edge) continue;
    edges[count++] = *edge;
    top = std::min(top, edge->top);
    bottom = std::max(bottom, edge->bottom);
  }
  top = std::max(top, 0);
  bottom = std::min(bottom, target.height - 1);
  const QRgb pixel = pixelOf(color);
  std::array<int, kMostCorners> crossings;
  for (int y = top; y <= bottom; ++y) {
    std::size_t n = 0;
    for (std::size_t e = 0; e < count; ++e) {
      const Edge& edge = edges[e];
      if (y < edge.top || y > edge.bottom) continue;
      const auto x = static_cast<int>((edge.x + edge.step * (y - edge.top)) >> 16);
      crossings[n++] = std::clamp(x, 0, target.width);
    }
    std::sort(crossings.begin(), crossings.begin() + n);
    QRgb* row = target.pixels + target.stride * y;
    for (std::size_t k = 0; k + 1 < n; k += 2) {
      std::fill(row + crossings[k], row + crossings[k + 1], pixel);
    }
  }
  return true;
}

bool dotWholePixel(const PixelTarget& target, float x, float y, int width, PackedColor color) {
  constexpr float kFar = 1e6f;  // beyond any picture, and whole as an int
  if ((width != 1 && width != 2) || !(std::abs(x) < kFar && std::abs(y) < kFar) ||
      x != std::floor(x) || y != std::floor(y))
    return false;
  const int right = static_cast<int>(x) + target.shift.x();
  const int bottom = static_cast<int>(y) + target.shift.y();
  const int left = right - (width - 1), top = bottom - (width - 1);
  if (left < 0 || top < 0 || right >= target.width || bottom >= target.height) return false;
  for (int row = top; row <= bottom; ++row) {
    QRgb* pixels = target.pixels + target.stride * row;
    std::fill(pixels + left, pixels + right + 1, pixelOf(color));
  }
  return true;
}

}  // namespace kalvenor
