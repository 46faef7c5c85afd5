#pragma once

#include <QPainterPath>
#include <optional>

#include "canvas/painter_canvas.h"

namespace kalvenor {

// A canvas for SVG and PDF. Consecutive cells filled in one colour without an outline become one
// region, drawn when anything else comes: a unit is one path instead of thousands of quads, and
// no seam shows between its cells in a viewer that antialiases every shape on its own. Each
// region is also stroked in its own colour a fraction of a pixel wide, which closes the hairline
// between regions of different units. Painter's order is kept: a region is drawn at the place of
// its last cell, and nothing of another colour came between its cells.
class VectorCanvas : public DeviceCanvas {
 public:
  using DeviceCanvas::DeviceCanvas;
  ~VectorCanvas() override;

  void clear() override;
  void line(float x1, float y1, float x2, float y2) override;
  void line(float x1, float y1, float x2, float y2, PackedColor color) override;
  void point(float x, float y) override;
  void polygon(const Quad& corners) override;
  void text(float x, float y, const std::string& utf8, int size, TextAlign align) override;

 private:
  void flush();

  std::optional<PackedColor> regionColor_;
  QPainterPath region_;
};

}  // namespace kalvenor
