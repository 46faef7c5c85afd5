#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "model/packed_color.h"

namespace kalvenor {

enum class PenStyle { Solid, Dot, Invisible };
enum class FillStyle { Solid, Transparent };
// Where a text's anchor point lies along its baseline.
enum class TextAlign { Left, Center, Right };

struct CanvasPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};

// A canvas point, or nothing where a model point could not be projected.
using MaybePoint = std::optional<CanvasPoint>;

using Quad = std::array<CanvasPoint, 4>;

// The drawing area every renderer draws on: pixels, origin top-left, y downward. The pen and
// fill state persists until changed again.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // Fills the whole area, persistent image included, with the background colour.
  virtual void clear() = 0;
  virtual void setBackgroundColor(PackedColor color) = 0;
  virtual void setPenColor(PackedColor color) = 0;
  virtual void setPenWidth(int width) = 0;  // 1 or 2
  virtual void setPenStyle(PenStyle style) = 0;
  virtual void setFillColor(PackedColor color) = 0;
  virtual void setFillStyle(FillStyle style) = 0;

  virtual void line(float x1, float y1, float x2, float y2) = 0;
  // A line in the given colour; the pen colour stays as it was.
  virtual void line(float x1, float y1, float x2, float y2, PackedColor color) = 0;
  virtual void point(float x, float y) = 0;
  // Filled by the even-odd rule and outlined with the pen (no outline with the invisible pen).
  virtual void polygon(const Quad& corners) = 0;
  // The same for any number of corners: the parts of a cell split along its contacts.
  virtual void polygonCorners(std::span<const CanvasPoint> corners) = 0;

  virtual double width() const = 0;
  virtual double height() const = 0;

  // UTF-8 text in the pen colour, `size` pixels high, its baseline at y and its start, middle or
  // end at x. Japanese names need a font that has them, so every canvas uses one that does.
  virtual void text(float x, float y, const std::string& utf8, int size, TextAlign align) = 0;
  // The width in pixels `text` would take, so that labels can be laid out before drawing.
  virtual double textWidth(const std::string& utf8, int size) const = 0;
};

// A solid pen of the given colour and width (1 or 2).
inline void setSolidPen(Canvas& canvas, PackedColor color, int width) {
  canvas.setPenColor(color);
  canvas.setPenStyle(PenStyle::Solid);
  canvas.setPenWidth(width);
}

// The line between two projected points, in the pen colour or in `color`; nothing when either
// point could not be projected.
inline void lineBetween(Canvas& canvas, const MaybePoint& a, const MaybePoint& b,
                        std::optional<PackedColor> color = std::nullopt) {
  if (!a || !b) return;
  const auto x1 = static_cast<float>(a->x), y1 = static_cast<float>(a->y);
  const auto x2 = static_cast<float>(b->x), y2 = static_cast<float>(b->y);
  if (color) {
    canvas.line(x1, y1, x2, y2, *color);
  } else {
    canvas.line(x1, y1, x2, y2);
  }
}

}  // namespace kalvenor
