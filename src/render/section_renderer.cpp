#include "render/section_renderer.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "render/cell.h"
#include "render/cell_paint.h"
#include "render/cell_split.h"
#include "render/column_nodes.h"
#include "render/deferred_lines.h"
#include "render/fill_run.h"
#include "render/line_tracing.h"
#include "render/map_renderer.h"
#include "render/profile_corners.h"
#include "render/trace_units.h"

namespace kalvenor {
namespace {

constexpr double kMinGridSpacing = 4;  // pixels between grid lines of a sparse section grid

class SectionDrawing {
 public:
  SectionDrawing(Canvas& canvas, const Projection& projection, const SectionPicture& picture)
      : canvas_(canvas),
        projection_(projection),
        p_(picture),
        classify_(traceUnits(picture.style.model, picture.style.boundaryGrids)),
        traced_(picture.style.options.DrawBoundary),
        boundaries_(gridsMatchModel(picture.style.model, picture.style.boundaryGrids)
                        ? picture.style.model.Nbd
                        : 0),
        smooth_(picture.style.options.contacts == Contacts::Smooth),
        runs_(projection.parallel() && picture.style.options.DrawMode != DrawingMode::GridLines),
        held_(canvas),
        nodes_(picture.grid.nV, [this](int h, int v) { return projectNode(h, v); }),
        run_(canvas, nodes_) {}

  void draw();

 private:
  void drawFrame();
  void drawCell(int h, int v);
  std::optional<PackedColor> onlyFilled(int h, int v) const;
  bool drawsNothing(int h, int v) const;
  MaybePoint projectNode(int h, int v) const;
  bool groundKnown(int h) const {
    const std::vector<bool>& known = p_.section.groundKnown;
    return h >= static_cast<int>(known.size()) || known[h];
  }
  void fillAlongContacts(const Corners<CanvasPoint>& P, const CellNodes& cell, int h);
  void drawSparseGrid();
  void loadColumns(int h);
  Canvas& lines() { return smooth_ ? static_cast<Canvas&>(held_) : canvas_; }
  Corners<double> heights(const CellNodes& cell, int h, int k) const {
    return cornerValues(cell, [&](int hh, int vv) { return (hh == h ? here_ : next_)[k][vv]; });
  }
  std::int32_t unitAt(int h, int v) const {
    return p_.drawUnit.contains(h, v) ? p_.drawUnit(h, v) : kAir;
  }

  Canvas& canvas_;
  const Projection& projection_;
  const SectionPicture& p_;
  ClassifyAt classify_;
  bool traced_;
  int boundaries_;
  // Cells split along the contacts and the ground, lines after all fills, the ground line in the
  // line colour and a grid no denser than one line in kMinGridSpacing pixels.
  bool smooth_;
  bool runs_;  // cells that are only filled are filled in runs (FillRun)
  DeferredLines held_;
  ColumnNodes nodes_;
  FillRun run_;
  std::array<MaybePoint, 5> frame_;  // F1..F4
  // Heights of columns h and h + 1 above each boundary ([k][v], k = 0: the ground surface).
  std::vector<std::vector<double>> here_, next_;
  int loadedNext_ = 0;  // the column next_ holds
};

void SectionDrawing::draw() {
  const VerticalGrid& g = p_.grid;
  const SectionGrid& s = p_.section;
  frame_[1] = projection_.project(s.Xstart, s.Ystart, p_.Zbase);
  frame_[2] = projection_.project(s.Xend, s.Yend, p_.Zbase);
  frame_[3] = projection_.project(s.Xstart, s.Ystart, p_.Zmax);
  frame_[4] = projection_.project(s.Xend, s.Yend, p_.Zmax);
  drawFrame();
  here_.assign(boundaries_ + 1, {});
  next_.assign(boundaries_ + 1, {});
  for (int h = 1; h < g.nH; ++h) {
    // A column over no known ground is left out whole: no fill, no trace, no ground line.
    if (!groundKnown(h) || !groundKnown(h + 1)) continue;
    if (traced_ || smooth_) loadColumns(h);
    run_.startColumns(h, h + 1);
    for (int v = 1; v < g.nV; ++v) {
      if (const auto color = runs_ ? onlyFilled(h, v) : std::nullopt) {
        run_.add(v, *color);
        continue;
      }
      if (drawsNothing(h, v)) continue;
      run_.draw();
      drawCell(h, v);
    }
  }
  run_.draw();
  if (smooth_ && p_.style.options.DrawMode == DrawingMode::GridLines) drawSparseGrid();
  held_.flush();
  drawFrame();
}

void SectionDrawing::drawFrame() {
  setSolidPen(canvas_, p_.style.options.LineColor, 1);
  lineBetween(canvas_, frame_[1], frame_[2]);
  lineBetween(canvas_, frame_[1], frame_[3]);
  lineBetween(canvas_, frame_[2], frame_[4]);
}

void SectionDrawing::loadColumns(int h) {
  // Column h is the last pair's second column when the pair before was drawn.
  if (loadedNext_ == h) {
    std::swap(here_, next_);
  } else {
    p_.section.surfaceGapColumn(h, here_[0]);
    for (int k = 1; k <= boundaries_; ++k) p_.profile.gapColumn(k, h, here_[k]);
  }
  p_.section.surfaceGapColumn(h + 1, next_[0]);
  for (int k = 1; k <= boundaries_; ++k) p_.profile.gapColumn(k, h + 1, next_[k]);
  loadedNext_ = h + 1;
}

MaybePoint SectionDrawing::projectNode(int h, int v) const {
  if (!groundKnown(h)) return std::nullopt;
  const VerticalGrid& g = p_.grid;
  return projection_.project(g.x(h), g.y(h), g.z(v));
}

// The colour of a cell drawCell would only fill, whole: without lines, a cell in a unit; with
// them or with smooth contacts, a cell in one unit at all four corners wholly below the ground,
// so that neither a contact nor the ground line crosses it. Nothing for any other cell.
std::optional<PackedColor> SectionDrawing::onlyFilled(int h, int v) const {
  const std::int32_t u = unitAt(h, v);
  if (u == kAir) return std::nullopt;
  if (traced_ || smooth_) {
    if (unitAt(h + 1, v) != u || unitAt(h, v + 1) != u || unitAt(h + 1, v + 1) != u) {
      return std::nullopt;
    }
    // Not `>= 0`: a height that is not a number is no ground either.
    const auto below = [](double aboveGround) { return aboveGround < 0; };
    if (!(below(here_[0][v]) && below(here_[0][v + 1]) && below(next_[0][v]) &&
          below(next_[0][v + 1]))) {
      return std::nullopt;
    }
  }
  return colorOf(p_.style.unitColor, u);
}

// True for a cell drawCell draws nothing in: in the air at all four corners, with the ground
// below all of them where a ground line would be drawn.
bool SectionDrawing::drawsNothing(int h, int v) const {
  if (unitAt(h, v) != kAir || unitAt(h + 1, v) != kAir || unitAt(h, v + 1) != kAir ||
      unitAt(h + 1, v + 1) != kAir) {
    return false;
  }
  if (!traced_) return true;
  const auto above = [](double aboveGround) { return aboveGround >= 0; };
  return above(here_[0][v]) && above(here_[0][v + 1]) && above(next_[0][v]) &&
         above(next_[0][v + 1]);
}

void SectionDrawing::drawCell(int h, int v) {
  const CellNodes cell = cellNodes(h, v, h + 1, v + 1);
  const auto corners = canvasCorners(nodes_, cell);
  if (!corners) return;
  const Corners<CanvasPoint>& P = *corners;
  const bool gridLines = p_.style.options.DrawMode == DrawingMode::GridLines;
  if (smooth_ && !gridLines) {
    fillAlongContacts(P, cell, h);
  } else {
    const int u = unitAt(h, v);
    const Quad quad{P[1], P[2], P[3], P[4]};
    if (u != kAir && !(smooth_ && gridLines)) {
      paintUnitCell(canvas_, quad, colorOf(p_.style.unitColor, u), p_.style.options);
    }
    if (!traced_) return;
    const ProfileCorners at = profileCorners(p_.profile, cell);
    if (!oneUnit(cell, [this](int hh, int vv) { return unitAt(hh, vv); })) {
      for (int k = 1; k <= boundaries_; ++k) {
        setSolidPen(lines(), colorOf(p_.style.boundaryColor, k), 2);
        drawCellTrace(lines(), P, heights(cell, h, k), at.x, at.y, at.z, p_.zEps, &classify_);
      }
    }
  }
  if (!traced_) return;
  // The ground surface, in every cell and without a unit test.
  setSolidPen(lines(), smooth_ ? p_.style.options.LineColor : kBlack, 2);
  drawCellTrace(lines(), P, heights(cell, h, 0), {}, {}, {}, p_.zEps, nullptr);
}

// The part of the cell below the ground, split along the contacts the tracer draws.
void SectionDrawing::fillAlongContacts(const Corners<CanvasPoint>& P, const CellNodes& cell,
                                       int h) {
  Corners<std::int32_t> unit{};
  bool anyGround = false;
  for (int n = 1; n <= 4; ++n) {
    unit[n] = unitAt(cell.i[n], cell.j[n]);
    anyGround = anyGround || unit[n] != kAir;
  }
  if (!anyGround) return;
  std::vector<CellCut> cuts;
  std::vector<int> cutBoundary;
  const Corners<double> aboveGround = heights(cell, h, 0);
  if (const auto ground = cellTrace(P, aboveGround, {}, {}, {}, p_.zEps, nullptr)) {
    cuts.push_back({*ground, aboveGround, true});
    cutBoundary.push_back(0);
  }
  const bool contact = !oneUnit(cell, [&](int hh, int vv) {
    const std::int32_t u = unitAt(hh, vv);
    return u == kAir ? unit[1] : u;
  });
  const ProfileCorners at = profileCorners(p_.profile, cell);
  for (int k = 1; contact && k <= boundaries_; ++k) {
    const Corners<double> w = heights(cell, h, k);
    if (const auto trace = cellTrace(P, w, at.x, at.y, at.z, p_.zEps, &classify_)) {
      cuts.push_back({*trace, w});
      cutBoundary.push_back(k);
    }
  }
  for (const CellPart& part : splitCell(P, cuts, p_.zEps)) {
    fillPolygon(canvas_, part.corners,
                colorOf(p_.style.unitColor, partUnit(part, cuts, unit, p_.zEps)));
  }
  if (!traced_) return;
  for (std::size_t c = 0; c < cuts.size(); ++c) {
    if (cutBoundary[c] == 0) continue;
    setSolidPen(lines(), colorOf(p_.style.boundaryColor, cutBoundary[c]), 2);
    drawCrossingSegments(lines(), cuts[c].crossings);
  }
}

// Grid lines every so many columns and levels that neighbouring lines stay kMinGridSpacing
// pixels apart; as in the dense grid, a block whose first node is air is not outlined.
void SectionDrawing::drawSparseGrid() {
  const VerticalGrid& g = p_.grid;
  const auto stride = [&](const MaybePoint& a, const MaybePoint& b, int steps) {
    if (!a || !b || steps < 1) return 1;
    const double pixels = std::hypot(double(b->x - a->x), double(b->y - a->y)) / steps;
    return pixels >= kMinGridSpacing ? 1 : static_cast<int>(std::ceil(kMinGridSpacing / pixels));
  };
  const int sh = stride(nodes_(1, 1), nodes_(g.nH, 1), g.nH - 1);
  const int sv = stride(nodes_(1, 1), nodes_(1, g.nV), g.nV - 1);
  for (int h = 1; h < g.nH; h += sh) {
    for (int v = 1; v < g.nV; v += sv) {
      if (unitAt(h, v) == kAir) continue;
      const CellNodes block = cellNodes(h, v, std::min(h + sh, g.nH), std::min(v + sv, g.nV));
      const auto corners = canvasCorners(nodes_, block);
      if (!corners) continue;
      const Corners<CanvasPoint>& P = *corners;
      paintUnitCell(canvas_, {P[1], P[2], P[3], P[4]}, colorOf(p_.style.unitColor, unitAt(h, v)),
                    p_.style.options);
    }
  }
}

}  // namespace

void drawSection(Canvas& canvas, const Projection& projection, const SectionPicture& picture) {
  if (picture.grid.empty()) return;
  SectionDrawing(canvas, projection, picture).draw();
}

void drawSurveyLine(Canvas& canvas, const Projection& projection, const SectionGrid& s,
                    double Zbase, double Zmax, PackedColor lineColor) {
  canvas.setPenStyle(PenStyle::Dot);
  const MaybePoint startBase = projection.project(s.Xstart, s.Ystart, Zbase);
  const MaybePoint endBase = projection.project(s.Xend, s.Yend, Zbase);
  const MaybePoint startTop = projection.project(s.Xstart, s.Ystart, Zmax);
  const MaybePoint endTop = projection.project(s.Xend, s.Yend, Zmax);
  lineBetween(canvas, startBase, endBase, lineColor);
  lineBetween(canvas, startBase, startTop, lineColor);
  lineBetween(canvas, endBase, endTop, lineColor);
  lineBetween(canvas, startTop, endTop, lineColor);
  canvas.setPenStyle(PenStyle::Solid);
}

}  // namespace kalvenor
