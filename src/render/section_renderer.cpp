#include "render/section_renderer.h"

#include "render/cell.h"
#include "render/cell_paint.h"
#include "render/line_tracing.h"
#include "render/map_renderer.h"
#include "render/profile_corners.h"
#include "render/trace_units.h"

namespace kalvenor {
namespace {

class SectionDrawing {
 public:
  SectionDrawing(Canvas& canvas, const Projection& projection, const SectionPicture& picture)
      : canvas_(canvas),
        projection_(projection),
        p_(picture),
        classify_(traceUnits(picture.model, picture.boundaryGrids)),
        traced_(picture.options.DrawBoundary == 1),
        boundaries_(gridsMatchModel(picture.model, picture.boundaryGrids) ? picture.model.Nbd : 0) {
  }

  void draw();

 private:
  void drawFrame();
  void drawCell(int h, int v);
  void loadColumns(int h);

  Canvas& canvas_;
  const Projection& projection_;
  const SectionPicture& p_;
  ClassifyAt classify_;
  bool traced_;
  int boundaries_;
  Array2D<MaybePoint> nodes_;
  std::array<MaybePoint, 5> frame_;  // F1..F4
  // Heights of columns h and h + 1 above each boundary ([k][v], k = 0: the ground surface).
  std::vector<std::vector<double>> here_, next_;
};

void SectionDrawing::draw() {
  const VerticalGrid& g = p_.grid;
  nodes_ = Array2D<MaybePoint>(1, g.nH, 1, g.nV);
  // A column over no known ground is left out whole: no fill, no trace, no ground line.
  const std::vector<bool>& known = p_.section.groundKnown;
  for (int h = 1; h <= g.nH; ++h) {
    if (h < static_cast<int>(known.size()) && !known[h]) continue;
    for (int v = 1; v <= g.nV; ++v) {
      nodes_(h, v) = projection_.project(g.x(h), g.y(h), g.z(v));
    }
  }
  const SectionGrid& s = p_.section;
  frame_[1] = projection_.project(s.Xstart, s.Ystart, p_.Zbase);
  frame_[2] = projection_.project(s.Xend, s.Yend, p_.Zbase);
  frame_[3] = projection_.project(s.Xstart, s.Ystart, p_.Zmax);
  frame_[4] = projection_.project(s.Xend, s.Yend, p_.Zmax);
  drawFrame();
  here_.assign(boundaries_ + 1, {});
  next_.assign(boundaries_ + 1, {});
  for (int h = 1; h < g.nH; ++h) {
    if (traced_) loadColumns(h);
    for (int v = 1; v < g.nV; ++v) drawCell(h, v);
  }
  drawFrame();
}

void SectionDrawing::drawFrame() {
  setSolidPen(canvas_, p_.options.LineColor, 1);
  lineBetween(canvas_, frame_[1], frame_[2]);
  lineBetween(canvas_, frame_[1], frame_[3]);
  lineBetween(canvas_, frame_[2], frame_[4]);
}

void SectionDrawing::loadColumns(int h) {
  p_.section.surfaceGapColumn(h, here_[0]);
  p_.section.surfaceGapColumn(h + 1, next_[0]);
  for (int k = 1; k <= boundaries_; ++k) {
    p_.profile.gapColumn(k, h, here_[k]);
    p_.profile.gapColumn(k, h + 1, next_[k]);
  }
}

void SectionDrawing::drawCell(int h, int v) {
  const CellNodes cell = cellNodes(h, v, h + 1, v + 1);
  const auto corners = canvasCorners(nodes_, cell);
  if (!corners) return;
  const Corners<CanvasPoint>& P = *corners;
  const auto unitAt = [this](int hh, int vv) {
    return p_.drawUnit.contains(hh, vv) ? p_.drawUnit(hh, vv) : kAir;
  };
  const int u = unitAt(h, v);
  const Quad quad{P[1], P[2], P[3], P[4]};
  if (u != kAir) paintUnitCell(canvas_, quad, colorOf(p_.unitColor, u), p_.options);
  if (!traced_) return;

  const ProfileCorners at = profileCorners(p_.profile, cell);
  const auto heights = [&](int k) {
    return cornerValues(cell, [&](int hh, int vv) { return (hh == h ? here_ : next_)[k][vv]; });
  };
  if (!oneUnit(cell, unitAt)) {
    for (int k = 1; k <= boundaries_; ++k) {
      setSolidPen(canvas_, colorOf(p_.boundaryColor, k), 2);
      drawCellTrace(canvas_, P, heights(k), at.x, at.y, at.z, p_.zEps, &classify_);
    }
  }
  // The ground surface, in every cell and without a unit test.
  setSolidPen(canvas_, kBlack, 2);
  drawCellTrace(canvas_, P, heights(0), at.x, at.y, at.z, p_.zEps, nullptr);
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
