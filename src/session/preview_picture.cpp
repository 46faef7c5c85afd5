#include "session/preview_picture.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "render/draw_units.h"
#include "render/map_renderer.h"
#include "render/section_renderer.h"
#include "session/map_pieces.h"

namespace kalvenor {
namespace {

// 1-based node numbers (element 0 unused).
using Picks = std::vector<int>;

// Every stride-th node of 1..n or so, spread evenly: the first and the last always among them.
Picks spreadNodes(int n, int stride) {
  const int count = n < 2 ? n : (n + stride - 2) / stride + 1;
  Picks picks(count + 1, 1);
  for (int k = 2; k <= count; ++k) {
    picks[k] = 1 + static_cast<int>(std::lround((k - 1) * double(n - 1) / (count - 1)));
  }
  return picks;
}

int count(const Picks& picks) { return static_cast<int>(picks.size()) - 1; }

// The node stride that leaves at most about maxCells of the (nI - 1) x (nJ - 1) cells.
int strideFor(int nI, int nJ, int maxCells) {
  const double cells = std::max(nI - 1, 1) * double(std::max(nJ - 1, 1));
  return std::max(1, static_cast<int>(std::ceil(std::sqrt(cells / std::max(maxCells, 1)))));
}

// The spacing that spans the same distance in `picked` steps as `step` did in n - 1.
double spread(double step, int n, int picked) {
  return picked < 2 || picked == n ? step : step * (n - 1) / (picked - 1);
}

DisplaySurface coarseDisplay(const DisplaySurface& d, const Picks& pi, const Picks& pj) {
  DisplaySurface c;
  c.header() = d.header();
  c.Nx = count(pi);
  c.Ny = count(pj);
  c.Dx = spread(d.Dx, d.Nx, c.Nx);
  c.Dy = spread(d.Dy, d.Ny, c.Ny);
  c.Xmax = d.Xmax;
  c.Ymax = d.Ymax;
  c.Zmin = d.Zmin;
  c.Zmax = d.Zmax;
  c.Xc = d.Xc;
  c.Yc = d.Yc;
  c.Zc = d.Zc;
  c.zEps = d.zEps;
  c.dispZ = Array2D<double>(0, c.Nx + 1, 0, c.Ny + 1, 0.0);
  c.nodeX.assign(c.Nx + 2, 0.0);
  c.nodeY.assign(c.Ny + 2, 0.0);
  if (d.missing.any()) c.missing = MissingNodes(c.Nx, c.Ny);
  for (int i = 1; i <= c.Nx; ++i) c.nodeX[i] = d.nodeX[pi[i]];
  for (int j = 1; j <= c.Ny; ++j) c.nodeY[j] = d.nodeY[pj[j]];
  for (int i = 1; i <= c.Nx; ++i) {
    for (int j = 1; j <= c.Ny; ++j) {
      c.dispZ(i, j) = d.dispZ(pi[i], pj[j]);
      if (d.missing.at(pi[i], pj[j])) c.missing.set(i, j);
    }
  }
  return c;
}

// The values of the chosen columns, 1-based as the columns are.
template <typename T>
std::vector<T> pickedColumns(const std::vector<T>& all, const Picks& ph) {
  std::vector<T> picked(count(ph) + 1);
  for (int h = 1; h <= count(ph); ++h) picked[h] = all[ph[h]];
  return picked;
}

// A wall or section on the chosen columns and levels, its nodes evenly spaced over the same span
// (along a polyline, on the chosen columns' own positions).

VerticalGrid coarseGrid(const VerticalGrid& g, const Picks& ph, const Picks& pv) {
  VerticalGrid c;
  static_cast<LineGeometry&>(c) = g;
  c.nH = count(ph);
  c.nV = count(pv);
  c.dxH = spread(g.dxH, g.nH, c.nH);
  c.dyH = spread(g.dyH, g.nH, c.nH);
  c.dzV = spread(g.dzV, g.nV, c.nV);
  if (!g.columnX.empty()) {
    c.columnX = pickedColumns(g.columnX, ph);
    c.columnY = pickedColumns(g.columnY, ph);
  }
  c.unit = LevelUnits(c.nH, c.nV, 0);
  for (int h = 1; h <= c.nH; ++h) {
    for (int v = 1; v <= c.nV; ++v) c.unit.set(h, v, g.unit(ph[h], pv[v]));
  }
  return c;
}

// The walls on the chosen columns, every stride-th level or so.
MapGrid coarseWalls(const MapGrid& grid, const Picks& pi, const Picks& pj, int stride) {
  MapGrid coarse;
  for (int slot : {kSouthWall, kWestWall, kNorthWall, kEastWall}) {
    const VerticalGrid& wall = grid.verticalGrids[slot];
    if (wall.empty()) continue;
    const bool alongX = slot == kSouthWall || slot == kNorthWall;
    coarse.verticalGrids[slot] = coarseGrid(wall, alongX ? pi : pj, spreadNodes(wall.nV, stride));
  }
  return coarse;
}

void coarseMap(PreviewScene& scene, const ViewerState& state, int maxCells) {
  const DisplaySurface& d = *state.display;
  const int stride = strideFor(d.Nx, d.Ny, maxCells);
  const Picks pi = spreadNodes(d.Nx, stride), pj = spreadNodes(d.Ny, stride);
  if (stride == 1) {
    scene.display = state.display;
    scene.grid = state.mapGrid;
  } else {
    scene.display = shared(coarseDisplay(d, pi, pj));
    scene.grid = shared(coarseWalls(*state.mapGrid, pi, pj, stride));
  }
  const Array2D<std::int16_t>& units = state.mapGrid->mapUnit;
  scene.units = Array2D<std::int16_t>(1, count(pi), 1, count(pj), 0);
  for (int i = 1; i <= count(pi); ++i) {
    for (int j = 1; j <= count(pj); ++j) {
      if (units.contains(pi[i], pj[j])) scene.units(i, j) = units(pi[i], pj[j]);
    }
  }
  const auto& overlays = state.overlays;
  const bool contourMap =
      std::find(overlays.begin(), overlays.end(), DrawnOver::Contours) != overlays.end();
  scene.options.DrawMode = contourMap ? DrawingMode::ContourMap : DrawingMode::GeologicalMap;
}

// The section's line over the chosen columns of the grid `g`, `c` on them.
SectionGrid coarseLine(const SectionGrid& s, const VerticalGrid& g, const VerticalGrid& c,
                       const Picks& ph) {
  SectionGrid cs;
  cs.Xstart = s.Xstart;
  cs.Ystart = s.Ystart;
  cs.Xend = s.Xend;
  cs.Yend = s.Yend;
  cs.Fai = s.Fai;
  cs.Nxy = c.nH;
  cs.Dxx = spread(s.Dxx, g.nH, c.nH);
  cs.Dyy = spread(s.Dyy, g.nH, c.nH);
  cs.Zbase = s.Zbase;
  cs.Dzz = c.dzV;
  cs.Nz = c.nV;
  cs.Nmax = std::max({cs.Nxy, cs.Nz});
  if (s.unfolded()) {
    cs.columnX = pickedColumns(s.columnX, ph);
    cs.columnY = pickedColumns(s.columnY, ph);
    cs.columnDistance = pickedColumns(s.columnDistance, ph);
    cs.columnSegment = pickedColumns(s.columnSegment, ph);
    cs.bends = s.bends;
    cs.polylineLength = s.polylineLength;
  }
  cs.groundKnown.assign(c.nH + 1, true);
  for (int h = 1; h <= c.nH; ++h) {
    if (ph[h] < static_cast<int>(s.groundKnown.size())) cs.groundKnown[h] = s.groundKnown[ph[h]];
  }
  return cs;
}

void coarseSection(PreviewScene& scene, const ViewerState& state, int maxCells) {
  const VerticalGrid& g = *state.sectionGrid;
  const int stride = strideFor(g.nH, g.nV, maxCells);
  if (stride == 1) {
    scene.sectionGrid = state.sectionGrid;
    scene.section = state.section;
  } else {
    const Picks ph = spreadNodes(g.nH, stride), pv = spreadNodes(g.nV, stride);
    auto c = shared(coarseGrid(g, ph, pv));
    scene.section = shared(coarseLine(*state.section, g, *c, ph));
    scene.sectionGrid = std::move(c);
  }
  const VerticalGrid& c = *scene.sectionGrid;
  scene.units = unitsToDraw(c.unit, c.nH, c.nV);
  scene.options.DrawMode = DrawingMode::Section;
  scene.display = state.display;
}

// The painter's order of the whole grid over the chosen nodes: the same ends, far and near.
PaintersOrder coarseOrder(const PaintersOrder& order, int n) {
  return order.first == 1 ? PaintersOrder{1, n, 1} : PaintersOrder{n, 1, -1};
}

void drawMapPreview(Canvas& canvas, const PreviewScene& s, const Projection& whole,
                    const RenderContext& context) {
  const DisplaySurface& d = *s.display;
  const Projection p =
      whole.withPaintersOrder(coarseOrder(whole.orderX(), d.Nx), coarseOrder(whole.orderY(), d.Ny));
  const std::vector<GridSurface> noGrids;
  const std::array<BoundaryProfile, 5> noProfiles;
  const MapPieces pieces{.display = d,
                         .grid = *s.grid,
                         .wallProfiles = noProfiles,
                         .walls = facingWalls(p, d),
                         .units = s.units,
                         .contours = s.contours,
                         .style = {s.model, noGrids, s.unitColor, s.boundaryColor, s.options},
                         .mapOptions = s.mapOptions,
                         .Zbase = s.Zbase,
                         .contourLines = s.contourLines,
                         .fence = s.fence.get(),
                         .fenceCut = s.fenceCut};
  drawMapPieces(canvas, p, pieces, context);
}

void drawSectionPreview(Canvas& canvas, const PreviewScene& s, const Projection& projection,
                        const RenderContext& context) {
  const DisplaySurface& d = *s.display;
  const std::vector<GridSurface> noGrids;
  const BoundaryProfile noProfile;
  const SectionPicture picture{
      .grid = *s.sectionGrid,
      .drawUnit = s.units,
      .section = *s.section,
      .profile = noProfile,
      .Zbase = s.Zbase,
      .Zmax = d.Zmax,
      .zEps = d.zEps,
      .style = {s.model, noGrids, s.unitColor, s.boundaryColor, s.options}};
  drawSection(canvas, projection, picture, context);
}

}  // namespace

PreviewScene makePreviewScene(const ViewerState& state, PictureKind kind, int maxCells) {
  PreviewScene scene;
  scene.kind = kind;
  scene.model = state.model;
  scene.unitColor = state.unitColor;
  scene.boundaryColor = state.boundaryColor;
  scene.contours = state.contours;
  scene.contourLines =
      state.contourLinesWanted && state.contours.Cin != 0 && contoursDrawable(state.contours);
  scene.options = state.drawOptions;
  scene.options.DrawBoundary = false;
  scene.options.contacts = Contacts::Cells;
  scene.mapOptions = state.mapOptions;
  scene.Zbase = state.Zbase;
  if (kind == PictureKind::Map && state.display->loaded()) {
    coarseMap(scene, state, maxCells);
    scene.fence = state.fence;
    scene.fenceCut = state.fenceCut;
  }
  if (kind == PictureKind::Section && !state.sectionGrid->empty()) {
    coarseSection(scene, state, maxCells);
  }
  return scene;
}

void drawPreview(Canvas& canvas, const PreviewScene& scene, const Projection& projection,
                 const RenderContext& context) {
  if (scene.kind == PictureKind::Map && scene.display->loaded()) {
    drawMapPreview(canvas, scene, projection, context);
  } else if (scene.kind == PictureKind::Section && !scene.units.empty()) {
    drawSectionPreview(canvas, scene, projection, context);
  }
}

}  // namespace kalvenor
