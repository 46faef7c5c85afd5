#include "render/column_cell_painter.h"

#include <utility>

#include "evaluation/vertical_grid.h"
#include "render/cell_paint.h"
#include "render/cell_split.h"
#include "render/map_renderer.h"
#include "render/profile_corners.h"

namespace kalvenor {

ColumnCellPainter::ColumnCellPainter(Canvas& canvas, ColumnNodes& nodes, int nV,
                                     const ColumnCellLook& look, const BoundaryProfile& profile,
                                     const ClassifyAt& classify, ReadUnits readUnits,
                                     ReadGround readGround)
    : canvas_(canvas),
      nodes_(nodes),
      nV_(nV),
      look_(look),
      profile_(profile),
      classify_(classify),
      readUnits_(std::move(readUnits)),
      readGround_(std::move(readGround)),
      run_(canvas, nodes),
      held_(canvas) {
  for (Column* column : {&here_, &next_}) {
    column->unit.assign(nV + 1, kAir);
    column->gap.assign(look.boundaries + 1, {});
  }
}

// The heights are read only where a line or a cut needs them.
void ColumnCellPainter::read(int h, Column& column) const {
  readUnits_(h, column.unit);
  if (!look_.traced && !look_.smooth) return;
  readGround_(h, column.gap[0]);
  profile_.gapColumns(h, column.gap);
}

// Column h is the last pair's second column when the pair before was drawn.
void ColumnCellPainter::drawColumns(int h, int h2) {
  if (loaded_ == h) {
    std::swap(here_, next_);
  } else {
    read(h, here_);
  }
  read(h2, next_);
  loaded_ = h2;
  h_ = h;
  h2_ = h2;
  run_.startColumns(h, h2);
  for (int v = 1; v < nV_; ++v) {
    if (const auto color = look_.runs ? onlyFilled(v) : std::nullopt) {
      run_.add(v, *color);
      continue;
    }
    run_.draw();
    if (!drawsNothing(v)) drawCell(v);
  }
}

PackedColor ColumnCellPainter::colorOf(std::int32_t unit) const {
  return look_.white ? kWhite : kalvenor::colorOf(look_.unitColor, unit);
}

// The colour of a cell drawCell would only fill, whole: without lines, a cell whose first node
// is in a unit; with lines, one in that unit at all four corners; with a cut or a ground line,
// such a cell also wholly below the ground, so that neither a contact nor the ground crosses it.
// Nothing for any other cell.
std::optional<PackedColor> ColumnCellPainter::onlyFilled(int v) const {
  const std::int32_t u = unitAt(h_, v);
  if (u == kAir) return std::nullopt;
  const bool lined = look_.traced && !look_.white;
  if (!look_.smooth && !lined && !groundTraced()) return colorOf(u);
  if (unitAt(h2_, v) != u || unitAt(h_, v + 1) != u || unitAt(h2_, v + 1) != u) return std::nullopt;
  if (!look_.smooth && !groundTraced()) return colorOf(u);
  // Not `>= 0`: a height that is not a number is no ground either.
  const auto below = [&](int h, int level) { return (h == h_ ? here_ : next_).gap[0][level] < 0; };
  if (!(below(h_, v) && below(h2_, v) && below(h_, v + 1) && below(h2_, v + 1))) {
    return std::nullopt;
  }
  return colorOf(u);
}

// True for a cell drawn with nothing: in the air at all four corners (cell by cell on a wall, at
// its first node), with the ground below all of them where a ground line would be drawn.
bool ColumnCellPainter::drawsNothing(int v) const {
  if (unitAt(h_, v) != kAir) return false;
  if (look_.wallCells && !look_.smooth) return true;
  if (unitAt(h2_, v) != kAir || unitAt(h_, v + 1) != kAir || unitAt(h2_, v + 1) != kAir) {
    return false;
  }
  if (!groundTraced()) return true;
  const auto above = [&](int h, int level) { return (h == h_ ? here_ : next_).gap[0][level] >= 0; };
  return above(h_, v) && above(h2_, v) && above(h_, v + 1) && above(h2_, v + 1);
}

void ColumnCellPainter::drawCell(int v) {
  const CellNodes cell = cellNodes(h_, v, h2_, v + 1);
  const auto corners = canvasCorners(nodes_, cell);
  if (!corners) return;
  const Corners<CanvasPoint>& P = *corners;
  if (banded()) {
    fillBand(P, cell);
  } else {
    paintCell(P, cell);
  }
  if (!groundTraced()) return;
  // The ground surface, in every cell and without a unit test.
  setSolidPen(lines(), look_.smooth ? look_.options.LineColor : kBlack, 2);
  drawCellTrace(lines(), P, heights(cell, 0), {}, look_.zEps, nullptr);
}

// The whole cell in the unit of its first node (only outlined in the grid-line mode, and not
// filled at all there with the smooth look, whose grid is drawn apart), then the boundaries that
// cross it where its corners are in different units.
void ColumnCellPainter::paintCell(const Corners<CanvasPoint>& P, const CellNodes& cell) {
  const std::int32_t u = unitAt(h_, cell.j[1]);
  if (u != kAir && !look_.smooth) {
    paintUnitCell(canvas_, {P[1], P[2], P[3], P[4]}, colorOf(u), look_.options);
  }
  if (look_.white || !look_.traced) return;
  const auto contactUnit = [this](int h, int v) {
    const std::int32_t unit = unitAt(h, v);
    return look_.wallCells && unit == kAir ? 0 : unit;
  };
  if (look_.boundaries == 0 || oneUnit(cell, contactUnit)) return;
  const ModelCorners at = profileCorners(profile_, cell);
  for (int k = 1; k <= look_.boundaries; ++k) {
    setSolidPen(lines(), kalvenor::colorOf(look_.boundaryColor, k), 2);
    drawCellTrace(lines(), P, heights(cell, k), at, look_.zEps, &classify_);
  }
}

// Only what lies below the ground is filled, split along the contacts the tracer draws, so the
// wall or section rises to the ground in bands of its units; the contacts follow all fills.
void ColumnCellPainter::fillBand(const Corners<CanvasPoint>& P, const CellNodes& cell) {
  Corners<std::int32_t> unit{};
  bool anyGround = false;
  for (int n = 1; n <= 4; ++n) {
    unit[n] = unitAt(cell.i[n], cell.j[n]);
    anyGround = anyGround || unit[n] != kAir;
  }
  if (!anyGround) return;
  const double zEps = look_.zEps;
  std::vector<CellCut> cuts;
  std::vector<int> cutBoundary;
  const Corners<double> aboveGround = heights(cell, 0);
  if (const auto ground = cellTrace(P, aboveGround, {}, zEps, nullptr)) {
    cuts.push_back({*ground, aboveGround, true});
    cutBoundary.push_back(0);
  }
  const bool contact = !oneUnit(cell, [&](int h, int v) {
    const std::int32_t u = unitAt(h, v);
    return u == kAir ? unit[1] : u;
  });
  if (contact && !look_.white && look_.boundaries > 0) {
    const ModelCorners at = profileCorners(profile_, cell);
    for (int k = 1; k <= look_.boundaries; ++k) {
      const Corners<double> w = heights(cell, k);
      if (const auto trace = cellTrace(P, w, at, zEps, &classify_)) {
        cuts.push_back({*trace, w});
        cutBoundary.push_back(k);
      }
    }
  }
  for (const CellPart& part : splitCell(P, cuts, zEps)) {
    fillPolygon(canvas_, part.corners, colorOf(partUnit(part, cuts, unit, zEps)));
  }
  if (!look_.traced || look_.white) return;
  for (std::size_t c = 0; c < cuts.size(); ++c) {
    if (cutBoundary[c] == 0) continue;
    setSolidPen(lines(), kalvenor::colorOf(look_.boundaryColor, cutBoundary[c]), 2);
    drawCrossingSegments(lines(), cuts[c].crossings);
  }
}

}  // namespace kalvenor
