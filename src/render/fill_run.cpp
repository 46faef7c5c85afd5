#include "render/fill_run.h"

#include "render/cell.h"
#include "render/cell_paint.h"

namespace kalvenor {

void FillRun::startColumns(int h, int h2) {
  draw();
  h_ = h;
  h2_ = h2;
}

void FillRun::add(int v, PackedColor color) {
  if (first_ != end_ && (v != end_ || color != color_)) draw();
  if (first_ == end_) {
    first_ = v;
    color_ = color;
  }
  end_ = v + 1;
}

void FillRun::draw() {
  if (first_ == end_) return;
  const auto corners = canvasCorners(nodes_, cellNodes(h_, first_, h2_, end_));
  if (corners) {
    const Corners<CanvasPoint>& P = *corners;
    fillCell(canvas_, {P[1], P[2], P[3], P[4]}, color_);
  } else {
    // A node beyond the canvas' range: the cells that can be drawn, one by one.
    for (int v = first_; v < end_; ++v) {
      if (const auto cell = canvasCorners(nodes_, cellNodes(h_, v, h2_, v + 1))) {
        fillCell(canvas_, {(*cell)[1], (*cell)[2], (*cell)[3], (*cell)[4]}, color_);
      }
    }
  }
  first_ = end_ = 0;
}

}  // namespace kalvenor
