#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "evaluation/boundary_profile.h"
#include "render/canvas.h"
#include "render/cell.h"
#include "render/column_nodes.h"
#include "render/deferred_lines.h"
#include "render/draw_options.h"
#include "render/fill_run.h"
#include "render/line_tracing.h"

namespace kalvenor {

// How the cells of a wall or a section are painted.
struct ColumnCellLook {
  DrawOptions options;  // the drawing mode and the line colour
  const std::vector<PackedColor>& unitColor;
  const std::vector<PackedColor>& boundaryColor;
  // Cells cut along the ground and the contacts, each part in its unit, the lines after all
  // fills; in the grid-line mode cells are only outlined.
  bool smooth = false;
  bool traced = false;      // boundary lines where a boundary separates two units
  int boundaries = 0;       // the boundaries traced or cut along: none without their grids
  bool white = false;       // every cell plain white and no line, as under a contour map
  bool groundLine = false;  // with boundary lines, the ground surface traced in every cell
  // Cell by cell, a cell whose first node is air is left out, so the top is a staircase, and air
  // counts as no unit (0) in the test for a contact: the walls as they are described.
  bool wallCells = false;
  bool runs = false;  // cells that are only filled are filled in runs (FillRun)
  double zEps = 0.0;  // of the display surface
};

// Paints the cells of a wall or a section a pair of neighbouring columns at a time: fills, runs of
// one colour, cuts along the contacts and the ground, boundary and ground lines. The walls and the
// section differ only in their look and in where a column's units and ground come from.
class ColumnCellPainter {
 public:
  // The units of column h on levels 1..nV, kAir for air.
  using ReadUnits = std::function<void(int h, std::vector<std::int32_t>& units)>;
  // The heights of column h's levels above the ground, 1..nV: negative below it.
  using ReadGround = std::function<void(int h, std::vector<double>& heights)>;

  ColumnCellPainter(Canvas& canvas, ColumnNodes& nodes, int nV, const ColumnCellLook& look,
                    const BoundaryProfile& profile, const ClassifyAt& classify, ReadUnits readUnits,
                    ReadGround readGround);

  // The cells between columns h and h2, h2 = h + 1 or h - 1, from the lowest level up.
  void drawColumns(int h, int h2);
  // Fills the run still held; anything drawn on the canvas after it comes over the cells.
  void finishFills() { run_.draw(); }
  // Draws the lines held back until all fills were done (smooth look).
  void drawHeldLines() { held_.flush(); }

 private:
  // What a column holds on each level: its unit, and heights above the ground (0) and above
  // each boundary (1..boundaries).
  struct Column {
    std::vector<std::int32_t> unit;
    std::vector<std::vector<double>> gap;
  };

  void read(int h, Column& column) const;
  std::optional<PackedColor> onlyFilled(int v) const;
  bool drawsNothing(int v) const;
  void drawCell(int v);
  void paintCell(const Corners<CanvasPoint>& P, const CellNodes& cell);
  void fillBand(const Corners<CanvasPoint>& P, const CellNodes& cell);
  PackedColor colorOf(std::int32_t unit) const;
  std::int32_t unitAt(int h, int v) const { return (h == h_ ? here_ : next_).unit[v]; }
  Corners<double> heights(const CellNodes& cell, int k) const {
    return cornerValues(cell, [&](int h, int v) { return (h == h_ ? here_ : next_).gap[k][v]; });
  }
  Canvas& lines() { return look_.smooth ? static_cast<Canvas&>(held_) : canvas_; }
  bool banded() const { return look_.smooth && look_.options.DrawMode != DrawingMode::GridLines; }
  bool groundTraced() const { return look_.groundLine && look_.traced; }

  Canvas& canvas_;
  ColumnNodes& nodes_;
  int nV_;
  const ColumnCellLook& look_;
  const BoundaryProfile& profile_;
  const ClassifyAt& classify_;
  ReadUnits readUnits_;
  ReadGround readGround_;
  FillRun run_;
  DeferredLines held_;
  int h_ = 0, h2_ = 0;  // the columns drawn now
  int loaded_ = 0;      // the column next_ holds
  Column here_, next_;
};

}  // namespace kalvenor
