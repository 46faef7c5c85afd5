#include "render/side_walls.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "render/cancellable_canvas.h"
#include "render/column_cell_painter.h"
#include "render/column_nodes.h"
#include "render/parts_in_order.h"
#include "render/trace_units.h"

namespace kalvenor {
namespace {

class WallDrawing {
 public:
  WallDrawing(Canvas& canvas, const Projection& projection, const SidePicture& picture, int threads)
      : canvas_(canvas),
        projection_(projection),
        p_(picture),
        classify_(traceUnits(picture.style.model, picture.style.boundaryGrids)),
        look_{.options = picture.style.options,
              .unitColor = picture.style.unitColor,
              .boundaryColor = picture.style.boundaryColor,
              .smooth = picture.style.options.contacts == Contacts::Smooth,
              .traced = picture.style.options.DrawBoundary &&
                        gridsMatchModel(picture.style.model, picture.style.boundaryGrids),
              .boundaries = gridsMatchModel(picture.style.model, picture.style.boundaryGrids)
                                ? picture.style.model.Nbd
                                : 0,
              .white = picture.style.options.DrawMode == DrawingMode::ContourMap,
              .wallCells = true,
              .runs = projection.parallel(),
              .zEps = picture.display.zEps},
        threads_(threads) {}

  // Pass 1 draws the x-parallel wall, pass 2 the y-parallel one; both walls of a pair share the
  // geometry of the pair's first slot.
  void drawPass(int pass, int wall);

 private:
  // The edge node of the display grid under column h of the wall drawn now.
  std::array<int, 2> edgeNode(int h) const {
    return pass_ == 1 ? std::array{h, edgeRow_} : std::array{edgeColumn_, h};
  }
  MaybePoint projectNode(int h, int v) const {
    if (!onGround_[h]) return std::nullopt;
    const auto [i, j] = edgeNode(h);
    return projection_.project(p_.display.nodeX[i], p_.display.nodeY[j], geometry_->z(v));
  }
  int pairCount() const { return geometry_->nH - 1; }
  // Whether the pair of columns h, h2 stands in front of a fence that cuts the block away.
  bool cutAway(int h, int h2) const {
    if (!p_.fenceCut) return false;
    const auto [i, j] = edgeNode(h);
    const auto [i2, j2] = edgeNode(h2);
    return p_.fenceCut->hidesNode(i, j) && p_.fenceCut->hidesNode(i2, j2);
  }
  // Paints the pairs of neighbouring columns from..to - 1 (0 the first in drawing order) on
  // `canvas`: their fills and the lines drawn with them, then afterFills(), then the lines held
  // back until the fills were done.
  void drawPairs(Canvas& canvas, int from, int to, const std::function<void()>& afterFills) const;

  Canvas& canvas_;
  const Projection& projection_;
  const SidePicture& p_;
  ClassifyAt classify_;
  ColumnCellLook look_;
  int threads_;
  // The wall drawn now: its pass and slot, the row or column of the display grid it stands on,
  // the display elevation at the foot of each column (1..nH) and whether it has one, and the
  // column its first pair starts from and the way the pairs go.
  int pass_ = 1, wall_ = kSouthWall, edgeRow_ = 1, edgeColumn_ = 1;
  std::vector<double> ground_;
  std::vector<bool> onGround_;
  const VerticalGrid* geometry_ = nullptr;
  const VerticalGrid* units_ = nullptr;
  int firstColumn_ = 1, step_ = 1;
};

void WallDrawing::drawPass(int pass, int wall) {
  const VerticalGrid& geometry = p_.grid.verticalGrids[pass];
  const VerticalGrid& units = p_.grid.verticalGrids[wall];
  if (geometry.empty() || units.empty() || units.nH != geometry.nH || units.nV != geometry.nV) {
    return;
  }
  const DisplaySurface& d = p_.display;
  pass_ = pass;
  wall_ = wall;
  edgeRow_ = wall == kSouthWall ? 1 : d.Ny;
  edgeColumn_ = wall == kWestWall ? 1 : d.Nx;
  geometry_ = &geometry;
  units_ = &units;
  ground_.assign(geometry.nH + 1, 0.0);
  onGround_.assign(geometry.nH + 1, false);
  for (int h = 1; h <= geometry.nH; ++h) {
    // The wall stands only where its edge node has an elevation.
    const auto [i, j] = edgeNode(h);
    onGround_[h] = !d.missing.at(i, j);
    if (onGround_[h]) ground_[h] = d.dispZ(i, j);
  }
  // West to east or south to north whichever way the grid is stored, so that a later cell
  // covers the same edge of the lines before it as for the grid stored the other way round.
  const bool reversed = (pass == 1 ? geometry.dxH : geometry.dyH) < 0;
  step_ = reversed ? -1 : 1;
  firstColumn_ = reversed ? geometry.nH : 1;
  drawColumnPairs(
      canvas_, pairCount(), geometry.nV, threads_,
      [this](Canvas& canvas, int from, int to, const std::function<void()>& afterFills) {
        drawPairs(canvas, from, to, afterFills);
      },
      [] {});
}

void WallDrawing::drawPairs(Canvas& canvas, int from, int to,
                            const std::function<void()>& afterFills) const {
  ColumnNodes nodes(geometry_->nV, [this](int h, int v) { return projectNode(h, v); });
  ColumnCellPainter cells(
      canvas, nodes, geometry_->nV, look_, p_.wallProfiles[wall_], classify_,
      [this](int h, std::vector<std::int32_t>& column) {
        for (int v = 1; v <= units_->nV; ++v) column[v] = units_->unit(h, v);
      },
      [this](int h, std::vector<double>& heights) {
        heights.resize(geometry_->nV + 1);
        for (int v = 1; v <= geometry_->nV; ++v) heights[v] = geometry_->z(v) - ground_[h];
      });
  for (int n = from; n < to; ++n) {
    const int h = firstColumn_ + n * step_;
    if (cutAway(h, h + step_)) continue;
    cells.drawColumns(h, h + step_);
  }
  cells.finishFills();
  afterFills();
  cells.drawHeldLines();
}

}  // namespace

void drawSideMaps(Canvas& canvas, const Projection& projection, const SidePicture& picture,
                  const RenderContext& context) {
  if (!picture.display.loaded()) return;
  // Named copies, not a structured binding: clang 14 cannot capture one in the lambda below.
  const std::int16_t xWall = picture.visibleWall[0];
  const std::int16_t yWall = picture.visibleWall[1];
  const bool xWallValid = xWall == kSouthWall || xWall == kNorthWall;
  const bool yWallValid = yWall == kWestWall || yWall == kEastWall;
  drawUnlessCancelled(canvas, context, [&](Canvas& on) {
    WallDrawing drawing(on, projection, picture, std::max(1, context.threads));
    if (xWallValid) drawing.drawPass(1, xWall);
    if (yWallValid) drawing.drawPass(2, yWall);
  });
}

}  // namespace kalvenor
