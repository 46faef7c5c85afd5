#pragma once

#include "render/canvas.h"
#include "render/column_nodes.h"

namespace kalvenor {

// Cells of one wall or section column that are only filled, one above the other in one colour,
// held back and filled as one quadrilateral. In a parallel view every node of a column lies on
// one canvas x, so the sides of the run are the vertical sides of its cells and the run covers
// the pixels its cells cover: the picture is the same, with one fill where a dense section has
// hundreds of cells smaller than a pixel. Anything else drawn must come after draw().
class FillRun {
 public:
  explicit FillRun(Canvas& canvas, ColumnNodes& nodes) : canvas_(canvas), nodes_(nodes) {}

  // The columns of the cells added next: from node column h to h2.
  void startColumns(int h, int h2);
  // Adds the cell from level v to v + 1, drawing the run held so far first when the cell does not
  // continue it in the same colour.
  void add(int v, PackedColor color);
  // Fills the run held, if any, and holds none.
  void draw();

 private:
  Canvas& canvas_;
  ColumnNodes& nodes_;
  int h_ = 0, h2_ = 0;
  int first_ = 0, end_ = 0;  // the run reaches from level first_ to end_; none when equal
  PackedColor color_ = kBlack;
};

}  // namespace kalvenor
