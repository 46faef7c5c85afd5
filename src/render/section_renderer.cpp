#include "render/section_renderer.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "render/cancellable_canvas.h"
#include "render/cell.h"
#include "render/cell_paint.h"
#include "render/column_cell_painter.h"
#include "render/column_nodes.h"
#include "render/map_renderer.h"
#include "render/parts_in_order.h"
#include "render/section_bends.h"
#include "render/trace_units.h"

namespace kalvenor {
namespace {

constexpr double kMinGridSpacing = 4;  // pixels between grid lines of a sparse section grid

class SectionDrawing {
 public:
  SectionDrawing(Canvas& canvas, const Projection& projection, const SectionPicture& picture,
                 int threads)
      : canvas_(canvas),
        projection_(projection),
        p_(picture),
        classify_(traceUnits(picture.style.model, picture.style.boundaryGrids)),
        look_{.options = picture.style.options,
              .unitColor = picture.style.unitColor,
              .boundaryColor = picture.style.boundaryColor,
              .smooth = picture.style.options.contacts == Contacts::Smooth,
              .traced = picture.style.options.DrawBoundary,
              .boundaries = gridsMatchModel(picture.style.model, picture.style.boundaryGrids)
                                ? picture.style.model.Nbd
                                : 0,
              .groundLine = true,
              .runs =
                  projection.parallel() && picture.style.options.DrawMode != DrawingMode::GridLines,
              .zEps = picture.zEps},
        threads_(threads) {}

  void draw();

 private:
  // Paints the pairs of columns from h = first up to last - 1: their fills and the lines drawn
  // with them, then afterFills(), then the lines held back until the fills were done.
  void drawColumns(Canvas& canvas, int first, int last,
                   const std::function<void()>& afterFills) const;
  void drawFrame();
  MaybePoint projectNode(int h, int v) const;
  bool groundKnown(int h) const {
    const std::vector<bool>& known = p_.section.groundKnown;
    return h >= static_cast<int>(known.size()) || known[h];
  }
  void drawSparseGrid() const;
  std::int32_t unitAt(int h, int v) const {
    return p_.drawUnit.contains(h, v) ? p_.drawUnit(h, v) : kAir;
  }

  Canvas& canvas_;
  const Projection& projection_;
  const SectionPicture& p_;
  ClassifyAt classify_;
  // Smooth: cells split along the contacts and the ground, lines after all fills, the ground line
  // in the line colour and a grid no denser than one line in kMinGridSpacing pixels.
  ColumnCellLook look_;
  int threads_;
  std::array<MaybePoint, 5> frame_;  // F1..F4
};

void SectionDrawing::draw() {
  const VerticalGrid& g = p_.grid;
  const SectionGrid& s = p_.section;
  frame_[1] = projection_.project(s.pictureXstart(), s.pictureYstart(), p_.Zbase);
  frame_[2] = projection_.project(s.pictureXend(), s.pictureYend(), p_.Zbase);
  frame_[3] = projection_.project(s.pictureXstart(), s.pictureYstart(), p_.Zmax);
  frame_[4] = projection_.project(s.pictureXend(), s.pictureYend(), p_.Zmax);
  drawFrame();
  // Pair n is that of columns n + 1 and n + 2.
  drawColumnPairs(
      canvas_, g.nH - 1, g.nV, threads_,
      [this](Canvas& canvas, int from, int to, const std::function<void()>& afterFills) {
        drawColumns(canvas, from + 1, to + 1, afterFills);
      },
      [this] { drawSparseGrid(); });
  drawFrame();
  drawSectionBends(canvas_, projection_, s, p_.Zbase, p_.Zmax, p_.style.options.LineColor);
}

void SectionDrawing::drawColumns(Canvas& canvas, int first, int last,
                                 const std::function<void()>& afterFills) const {
  ColumnNodes nodes(p_.grid.nV, [this](int h, int v) { return projectNode(h, v); });
  ColumnCellPainter cells(
      canvas, nodes, p_.grid.nV, look_, p_.profile, classify_,
      [this](int h, std::vector<std::int32_t>& units) {
        for (int v = 1; v <= p_.grid.nV; ++v) units[v] = unitAt(h, v);
      },
      [this](int h, std::vector<double>& heights) { p_.section.surfaceGapColumn(h, heights); });
  for (int h = first; h < last; ++h) {
    // A column over no known ground is left out whole: no fill, no trace, no ground line.
    if (groundKnown(h) && groundKnown(h + 1)) cells.drawColumns(h, h + 1);
  }
  cells.finishFills();
  afterFills();
  cells.drawHeldLines();
}

void SectionDrawing::drawFrame() {
  setSolidPen(canvas_, p_.style.options.LineColor, 1);
  lineBetween(canvas_, frame_[1], frame_[2]);
  lineBetween(canvas_, frame_[1], frame_[3]);
  lineBetween(canvas_, frame_[2], frame_[4]);
}

MaybePoint SectionDrawing::projectNode(int h, int v) const {
  if (!groundKnown(h)) return std::nullopt;
  const VerticalGrid& g = p_.grid;
  const SectionGrid& s = p_.section;
  // Unfolded: the columns of a polyline stand on one straight line in the picture.
  if (s.unfolded()) {
    const double along = s.distance(h);
    return projection_.project(s.pictureX(along), s.pictureY(along), g.z(v));
  }
  return projection_.project(g.x(h), g.y(h), g.z(v));
}

// Grid lines every so many columns and levels that neighbouring lines stay kMinGridSpacing
// pixels apart; as in the dense grid, a block whose first node is air is not outlined. Only the
// smooth look in the grid-line mode draws them.
void SectionDrawing::drawSparseGrid() const {
  if (!look_.smooth || p_.style.options.DrawMode != DrawingMode::GridLines) return;
  const VerticalGrid& g = p_.grid;
  ColumnNodes nodes(g.nV, [this](int h, int v) { return projectNode(h, v); });
  const auto stride = [&](const MaybePoint& a, const MaybePoint& b, int steps) {
    if (!a || !b || steps < 1) return 1;
    const double pixels = std::hypot(double(b->x - a->x), double(b->y - a->y)) / steps;
    return pixels >= kMinGridSpacing ? 1 : static_cast<int>(std::ceil(kMinGridSpacing / pixels));
  };
  const int sh = stride(nodes(1, 1), nodes(g.nH, 1), g.nH - 1);
  const int sv = stride(nodes(1, 1), nodes(1, g.nV), g.nV - 1);
  for (int h = 1; h < g.nH; h += sh) {
    for (int v = 1; v < g.nV; v += sv) {
      if (unitAt(h, v) == kAir) continue;
      const CellNodes block = cellNodes(h, v, std::min(h + sh, g.nH), std::min(v + sv, g.nV));
      const auto corners = canvasCorners(nodes, block);
      if (!corners) continue;
      const Corners<CanvasPoint>& P = *corners;
      paintUnitCell(canvas_, {P[1], P[2], P[3], P[4]}, colorOf(p_.style.unitColor, unitAt(h, v)),
                    p_.style.options);
    }
  }
}

}  // namespace

void drawSection(Canvas& canvas, const Projection& projection, const SectionPicture& picture,
                 const RenderContext& context) {
  if (picture.grid.empty()) return;
  drawUnlessCancelled(canvas, context, [&](Canvas& on) {
    SectionDrawing(on, projection, picture, std::max(1, context.threads)).draw();
  });
}

void drawSurveyLine(Canvas& canvas, const Projection& projection, const SectionGrid& s,
                    double Zbase, double Zmax, PackedColor lineColor) {
  canvas.setPenStyle(PenStyle::Dot);
  // The line on the map: its ends and the bends between them, at the base and at the top.
  std::vector<MaybePoint> base{projection.project(s.Xstart, s.Ystart, Zbase)};
  std::vector<MaybePoint> top{projection.project(s.Xstart, s.Ystart, Zmax)};
  for (const SectionBend& bend : s.bends) {
    base.push_back(projection.project(bend.x, bend.y, Zbase));
    top.push_back(projection.project(bend.x, bend.y, Zmax));
  }
  base.push_back(projection.project(s.Xend, s.Yend, Zbase));
  top.push_back(projection.project(s.Xend, s.Yend, Zmax));
  for (std::size_t i = 1; i < base.size(); ++i)
    lineBetween(canvas, base[i - 1], base[i], lineColor);
  lineBetween(canvas, base.front(), top.front(), lineColor);
  lineBetween(canvas, base.back(), top.back(), lineColor);
  for (std::size_t i = 1; i < top.size(); ++i) lineBetween(canvas, top[i - 1], top[i], lineColor);
  for (std::size_t i = 1; i + 1 < top.size(); ++i) lineBetween(canvas, base[i], top[i], lineColor);
  canvas.setPenStyle(PenStyle::Solid);
}

}  // namespace kalvenor
