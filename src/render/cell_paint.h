#pragma once

#include "model/packed_color.h"
#include "render/canvas.h"
#include "render/draw_options.h"

namespace kalvenor {

// Fills a cell in one colour without an outline.
inline void fillCell(Canvas& canvas, const Quad& quad, PackedColor color) {
  canvas.setFillStyle(FillStyle::Solid);
  canvas.setPenStyle(PenStyle::Invisible);
  canvas.setFillColor(color);
  canvas.polygon(quad);
}

// A part of a cell in one colour without an outline.
inline void fillPolygon(Canvas& canvas, std::span<const CanvasPoint> corners, PackedColor color) {
  canvas.setFillStyle(FillStyle::Solid);
  canvas.setPenStyle(PenStyle::Invisible);
  canvas.setFillColor(color);
  canvas.polygonCorners(corners);
}

// A cell of the map surface or the section in the colour of its unit; the grid-line pictures
// only outline it in the line colour.
inline void paintUnitCell(Canvas& canvas, const Quad& quad, PackedColor color,
                          const DrawOptions& options) {
  if (options.DrawMode != kGridLines) return fillCell(canvas, quad, color);
  canvas.setFillStyle(FillStyle::Transparent);
  setSolidPen(canvas, options.LineColor, 1);
  canvas.setFillColor(color);
  canvas.polygon(quad);
}

}  // namespace kalvenor
