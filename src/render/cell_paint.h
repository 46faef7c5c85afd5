#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "model/packed_color.h"
#include "render/canvas.h"
#include "render/draw_options.h"

namespace kalvenor {

// True when all the corners lie on one line: they enclose no area, and a fill without an outline
// paints nothing on any canvas.
inline bool onOneLine(std::span<const CanvasPoint> corners) {
  const auto cross = [](const CanvasPoint& o, const CanvasPoint& a, const CanvasPoint& b) {
    return (std::int64_t{a.x} - o.x) * (std::int64_t{b.y} - o.y) -
           (std::int64_t{a.y} - o.y) * (std::int64_t{b.x} - o.x);
  };
  for (std::size_t a = 0; a < corners.size(); ++a) {
    for (std::size_t b = a + 1; b < corners.size(); ++b) {
      for (std::size_t c = b + 1; c < corners.size(); ++c) {
        if (cross(corners[a], corners[b], corners[c]) != 0) return false;
      }
    }
  }
  return true;
}

// Fills a cell in one colour without an outline. A cell seen edge on, as most are where several
// fall on a pixel, is not handed to the canvas: it would paint nothing.
inline void fillCell(Canvas& canvas, const Quad& quad, PackedColor color) {
  canvas.setFillStyle(FillStyle::Solid);
  canvas.setPenStyle(PenStyle::Invisible);
  canvas.setFillColor(color);
  if (!onOneLine(quad)) canvas.polygon(quad);
}

// A part of a cell in one colour without an outline.
inline void fillPolygon(Canvas& canvas, std::span<const CanvasPoint> corners, PackedColor color) {
  canvas.setFillStyle(FillStyle::Solid);
  canvas.setPenStyle(PenStyle::Invisible);
  canvas.setFillColor(color);
  if (!onOneLine(corners)) canvas.polygonCorners(corners);
}

// A cell of the map surface or the section in the colour of its unit; the grid-line pictures
// only outline it in the line colour.
inline void paintUnitCell(Canvas& canvas, const Quad& quad, PackedColor color,
                          const DrawOptions& options) {
  if (options.DrawMode != DrawingMode::GridLines) return fillCell(canvas, quad, color);
  canvas.setFillStyle(FillStyle::Transparent);
  setSolidPen(canvas, options.LineColor, 1);
  canvas.setFillColor(color);
  canvas.polygon(quad);
}

}  // namespace kalvenor
