#include "render/side_maps.h"

#include "render/cell.h"
#include "render/cell_paint.h"
#include "render/cell_split.h"
#include "render/deferred_lines.h"
#include "render/line_tracing.h"
#include "render/map_renderer.h"
#include "render/profile_corners.h"
#include "render/trace_units.h"

namespace kalvenor {
namespace {

class WallDrawing {
 public:
  WallDrawing(Canvas& canvas, const Projection& projection, const SidePicture& picture)
      : canvas_(canvas),
        projection_(projection),
        p_(picture),
        classify_(traceUnits(picture.model, picture.boundaryGrids)),
        traced_(picture.options.DrawBoundary == 1 &&
                gridsMatchModel(picture.model, picture.boundaryGrids)),
        smooth_(picture.options.contacts == Contacts::Smooth),
        cut_(smooth_ && gridsMatchModel(picture.model, picture.boundaryGrids)),
        held_(canvas) {}

  // Pass 1 draws the x-parallel wall, pass 2 the y-parallel one; both walls of a pair share the
  // geometry of the pair's first slot.
  void drawPass(int pass, int wall);

 private:
  void drawCell(const VerticalGrid& units, const BoundaryProfile& profile, int h, int h2, int v);
  void drawBand(const VerticalGrid& units, const BoundaryProfile& profile, int h, int h2, int v);
  Canvas& lines() { return smooth_ ? static_cast<Canvas&>(held_) : canvas_; }

  Canvas& canvas_;
  const Projection& projection_;
  const SidePicture& p_;
  ClassifyAt classify_;
  bool traced_;
  bool smooth_;  // walls as unit bands cut along the contacts and the ground
  bool cut_;     // the bands follow the contacts too
  DeferredLines held_;
  std::vector<double> ground_;  // 1..nH: the display elevation at the foot of each column
  const VerticalGrid* geometry_ = nullptr;
  Array2D<MaybePoint> nodes_;
  Array2D<std::int32_t> drawUnit_;
  // Heights above each boundary of the two columns of the cells drawn now (index [k][v]).
  std::vector<std::vector<double>> gapsHere_, gapsNext_;
};

void WallDrawing::drawPass(int pass, int wall) {
  const VerticalGrid& geometry = p_.grid.verticalGrids[pass];
  const VerticalGrid& units = p_.grid.verticalGrids[wall];
  const BoundaryProfile& profile = p_.wallProfiles[wall];
  if (geometry.empty() || units.empty() || units.nH != geometry.nH || units.nV != geometry.nV) {
    return;
  }
  const DisplaySurface& d = p_.display;
  const int edgeRow = wall == kSouthWall ? 1 : d.Ny;
  const int edgeColumn = wall == kWestWall ? 1 : d.Nx;
  geometry_ = &geometry;
  ground_.assign(geometry.nH + 1, 0.0);
  nodes_ = Array2D<MaybePoint>(1, geometry.nH, 1, geometry.nV);
  drawUnit_ = Array2D<std::int32_t>(1, geometry.nH, 1, geometry.nV, 0);
  for (int h = 1; h <= geometry.nH; ++h) {
    // The edge node under column h; the wall stands only where it has an elevation.
    const int i = pass == 1 ? h : edgeColumn;
    const int j = pass == 1 ? edgeRow : h;
    const bool onGround = !d.missing.at(i, j);
    if (onGround) ground_[h] = d.dispZ(i, j);
    for (int v = 1; v <= geometry.nV; ++v) {
      if (onGround) nodes_(h, v) = projection_.project(d.nodeX[i], d.nodeY[j], geometry.z(v));
      const std::int16_t unit = units.unit(h, v);
      drawUnit_(h, v) = unit == kAir ? 0 : unit;
    }
  }
  const int Nbd = traced_ || cut_ ? p_.model.Nbd : 0;
  gapsHere_.assign(Nbd + 1, {});
  gapsNext_.assign(Nbd + 1, {});
  // West to east or south to north whichever way the grid is stored, so that a later cell
  // covers the same edge of the lines before it as for the grid stored the other way round.
  const bool reversed = (pass == 1 ? geometry.dxH : geometry.dyH) < 0;
  const int step = reversed ? -1 : 1;
  const int first = reversed ? geometry.nH : 1;
  for (int n = 1, h = first; n < geometry.nH; ++n, h += step) {
    for (int k = 1; k <= Nbd; ++k) {
      profile.gapColumn(k, h, gapsHere_[k]);
      profile.gapColumn(k, h + step, gapsNext_[k]);
    }
    for (int v = 1; v < geometry.nV; ++v) {
      if (smooth_) {
        drawBand(units, profile, h, h + step, v);
      } else {
        drawCell(units, profile, h, h + step, v);
      }
    }
  }
  held_.flush();
}

void WallDrawing::drawCell(const VerticalGrid& units, const BoundaryProfile& profile, int h, int h2,
                           int v) {
  if (units.unit(h, v) == kAir) return;
  const CellNodes cell = cellNodes(h, v, h2, v + 1);
  const auto corners = canvasCorners(nodes_, cell);
  if (!corners) return;
  const Corners<CanvasPoint>& P = *corners;
  const Quad quad{P[1], P[2], P[3], P[4]};
  if (p_.options.DrawMode == kContourMap) return fillCell(canvas_, quad, kWhite);
  fillCell(canvas_, quad, colorOf(p_.unitColor, drawUnit_(h, v)));
  if (!traced_) return;
  setSolidPen(canvas_, kBlack, 2);
  if (oneUnit(cell, [this](int hh, int vv) { return drawUnit_(hh, vv); })) return;

  const ProfileCorners at = profileCorners(profile, cell);
  for (int k = 1; k <= p_.model.Nbd; ++k) {
    setSolidPen(canvas_, colorOf(p_.boundaryColor, k), 2);
    const Corners<double> w = cornerValues(
        cell, [&](int hh, int vv) { return (hh == h ? gapsHere_ : gapsNext_)[k][vv]; });
    drawCellTrace(canvas_, P, w, at.x, at.y, at.z, p_.display.zEps, &classify_);
  }
}

// A wall cell in smooth mode: only what lies below the ground is filled, split along the
// contacts, so the wall rises to the surface edge in bands of its units.
void WallDrawing::drawBand(const VerticalGrid& units, const BoundaryProfile& profile, int h, int h2,
                           int v) {
  const CellNodes cell = cellNodes(h, v, h2, v + 1);
  Corners<std::int32_t> unit{};
  bool anyGround = false;
  for (int n = 1; n <= 4; ++n) {
    const std::int16_t u = units.unit(cell.i[n], cell.j[n]);
    unit[n] = u == kAir ? kAirUnit : u;
    anyGround = anyGround || u != kAir;
  }
  if (!anyGround) return;
  const auto corners = canvasCorners(nodes_, cell);
  if (!corners) return;
  const Corners<CanvasPoint>& P = *corners;
  const double zEps = p_.display.zEps;
  std::vector<CellCut> cuts;
  std::vector<int> cutBoundary;
  const Corners<double> aboveGround =
      cornerValues(cell, [this](int hh, int vv) { return geometry_->z(vv) - ground_[hh]; });
  if (const auto ground = cellTrace(P, aboveGround, {}, {}, {}, zEps, nullptr)) {
    cuts.push_back({*ground, aboveGround, true});
    cutBoundary.push_back(0);
  }
  const bool contact = !oneUnit(cell, [&](int hh, int vv) {
    const std::int16_t u = units.unit(hh, vv);
    return u == kAir ? units.unit(cell.i[1], cell.j[1]) : u;
  });
  const bool contourMap = p_.options.DrawMode == kContourMap;
  const ProfileCorners at = profileCorners(profile, cell);
  for (int k = 1; cut_ && contact && !contourMap && k <= p_.model.Nbd; ++k) {
    const Corners<double> w = cornerValues(
        cell, [&](int hh, int vv) { return (hh == h ? gapsHere_ : gapsNext_)[k][vv]; });
    if (const auto trace = cellTrace(P, w, at.x, at.y, at.z, zEps, &classify_)) {
      cuts.push_back({*trace, w});
      cutBoundary.push_back(k);
    }
  }
  for (const CellPart& part : splitCell(P, cuts, zEps)) {
    const PackedColor color =
        contourMap ? kWhite : colorOf(p_.unitColor, partUnit(part, cuts, unit, zEps));
    fillPolygon(canvas_, part.corners, color);
  }
  if (!traced_ || contourMap) return;
  for (std::size_t c = 0; c < cuts.size(); ++c) {
    if (cutBoundary[c] == 0) continue;
    setSolidPen(lines(), colorOf(p_.boundaryColor, cutBoundary[c]), 2);
    drawCrossingSegments(lines(), cuts[c].crossings);
  }
}

}  // namespace

void drawSideMaps(Canvas& canvas, const Projection& projection, const SidePicture& picture) {
  if (!picture.display.loaded()) return;
  const auto [xWall, yWall] = picture.visibleWall;
  const bool xWallValid = xWall == kSouthWall || xWall == kNorthWall;
  const bool yWallValid = yWall == kWestWall || yWall == kEastWall;
  WallDrawing drawing(canvas, projection, picture);
  if (xWallValid) drawing.drawPass(1, xWall);
  if (yWallValid) drawing.drawPass(2, yWall);
}

}  // namespace kalvenor
