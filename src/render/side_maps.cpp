#include "render/side_maps.h"

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

class WallDrawing {
 public:
  WallDrawing(Canvas& canvas, const Projection& projection, const SidePicture& picture)
      : canvas_(canvas),
        projection_(projection),
        p_(picture),
        classify_(traceUnits(picture.style.model, picture.style.boundaryGrids)),
        traced_(picture.style.options.DrawBoundary &&
                gridsMatchModel(picture.style.model, picture.style.boundaryGrids)),
        smooth_(picture.style.options.contacts == Contacts::Smooth),
        cut_(smooth_ && gridsMatchModel(picture.style.model, picture.style.boundaryGrids)),
        runs_(projection.parallel()),
        held_(canvas) {}

  // Pass 1 draws the x-parallel wall, pass 2 the y-parallel one; both walls of a pair share the
  // geometry of the pair's first slot.
  void drawPass(int pass, int wall);

 private:
  void drawCell(const VerticalGrid& units, const BoundaryProfile& profile, int h, int h2, int v);
  void drawBand(const VerticalGrid& units, const BoundaryProfile& profile, int h, int h2, int v);
  std::optional<PackedColor> onlyFilled(const VerticalGrid& units, int h, int h2, int v) const;
  bool drawsNothing(const VerticalGrid& units, int h, int h2, int v) const;
  // The edge node of the display grid under column h of the wall drawn now.
  std::array<int, 2> edgeNode(int h) const {
    return pass_ == 1 ? std::array{h, edgeRow_} : std::array{edgeColumn_, h};
  }
  MaybePoint projectNode(int h, int v) const {
    if (!onGround_[h]) return std::nullopt;
    const auto [i, j] = edgeNode(h);
    return projection_.project(p_.display.nodeX[i], p_.display.nodeY[j], geometry_->z(v));
  }
  std::int32_t drawUnit(const VerticalGrid& units, int h, int v) const {
    const std::int16_t unit = units.unit(h, v);
    return unit == kAir ? 0 : unit;
  }
  Canvas& lines() { return smooth_ ? static_cast<Canvas&>(held_) : canvas_; }

  Canvas& canvas_;
  const Projection& projection_;
  const SidePicture& p_;
  ClassifyAt classify_;
  bool traced_;
  bool smooth_;  // walls as unit bands cut along the contacts and the ground
  bool cut_;     // the bands follow the contacts too
  bool runs_;    // cells that are only filled are filled in runs (FillRun)
  DeferredLines held_;
  // The wall drawn now: its pass, the row or column of the display grid it stands on, the
  // display elevation at the foot of each column (1..nH) and whether it has one.
  int pass_ = 1, edgeRow_ = 1, edgeColumn_ = 1;
  std::vector<double> ground_;
  std::vector<bool> onGround_;
  const VerticalGrid* geometry_ = nullptr;
  std::optional<ColumnNodes> nodes_;
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
  pass_ = pass;
  edgeRow_ = wall == kSouthWall ? 1 : d.Ny;
  edgeColumn_ = wall == kWestWall ? 1 : d.Nx;
  geometry_ = &geometry;
  ground_.assign(geometry.nH + 1, 0.0);
  onGround_.assign(geometry.nH + 1, false);
  for (int h = 1; h <= geometry.nH; ++h) {
    // The wall stands only where its edge node has an elevation.
    const auto [i, j] = edgeNode(h);
    onGround_[h] = !d.missing.at(i, j);
    if (onGround_[h]) ground_[h] = d.dispZ(i, j);
  }
  nodes_.emplace(geometry.nV, [this](int h, int v) { return projectNode(h, v); });
  FillRun run(canvas_, *nodes_);
  const int Nbd = traced_ || cut_ ? p_.style.model.Nbd : 0;
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
    run.startColumns(h, h + step);
    for (int v = 1; v < geometry.nV; ++v) {
      if (const auto color = runs_ ? onlyFilled(units, h, h + step, v) : std::nullopt) {
        run.add(v, *color);
        continue;
      }
      run.draw();
      if (drawsNothing(units, h, h + step, v)) continue;
      if (smooth_) {
        drawBand(units, profile, h, h + step, v);
      } else {
        drawCell(units, profile, h, h + step, v);
      }
    }
  }
  run.draw();
  held_.flush();
}

// The colour of a cell drawCell or drawBand would only fill, whole: cell by cell, a cell in a
// unit, and with boundary lines one in that unit at all four corners; a band, a cell in one unit
// at all four corners wholly below the ground. Nothing for any other cell.
std::optional<PackedColor> WallDrawing::onlyFilled(const VerticalGrid& units, int h, int h2,
                                                   int v) const {
  const std::int16_t unit = units.unit(h, v);
  if (unit == kAir) return std::nullopt;
  const bool contourMap = p_.style.options.DrawMode == DrawingMode::ContourMap;
  const PackedColor color = contourMap ? kWhite : colorOf(p_.style.unitColor, unit);
  if (!smooth_ && (contourMap || !traced_)) return color;
  if (units.unit(h2, v) != unit || units.unit(h, v + 1) != unit || units.unit(h2, v + 1) != unit) {
    return std::nullopt;
  }
  if (!smooth_) return color;
  // Not `>= 0`: a height that is not a number is no ground either.
  const double z = geometry_->z(v), z2 = geometry_->z(v + 1);
  const bool below =
      z - ground_[h] < 0 && z - ground_[h2] < 0 && z2 - ground_[h] < 0 && z2 - ground_[h2] < 0;
  return below ? std::optional(color) : std::nullopt;
}

// True for a cell that is drawn with nothing: in the air at all four corners; a band also with
// the ground below all of them, as its ground line is traced for the cut.
bool WallDrawing::drawsNothing(const VerticalGrid& units, int h, int h2, int v) const {
  if (units.unit(h, v) != kAir) return false;
  if (!smooth_) return true;
  return units.unit(h2, v) == kAir && units.unit(h, v + 1) == kAir && units.unit(h2, v + 1) == kAir;
}

void WallDrawing::drawCell(const VerticalGrid& units, const BoundaryProfile& profile, int h, int h2,
                           int v) {
  if (units.unit(h, v) == kAir) return;
  const CellNodes cell = cellNodes(h, v, h2, v + 1);
  const auto corners = canvasCorners(*nodes_, cell);
  if (!corners) return;
  const Corners<CanvasPoint>& P = *corners;
  const Quad quad{P[1], P[2], P[3], P[4]};
  if (p_.style.options.DrawMode == DrawingMode::ContourMap) return fillCell(canvas_, quad, kWhite);
  fillCell(canvas_, quad, colorOf(p_.style.unitColor, drawUnit(units, h, v)));
  if (!traced_) return;
  setSolidPen(canvas_, kBlack, 2);
  if (oneUnit(cell, [&](int hh, int vv) { return drawUnit(units, hh, vv); })) return;

  const ProfileCorners at = profileCorners(profile, cell);
  for (int k = 1; k <= p_.style.model.Nbd; ++k) {
    setSolidPen(canvas_, colorOf(p_.style.boundaryColor, k), 2);
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
  const auto corners = canvasCorners(*nodes_, cell);
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
  const bool contourMap = p_.style.options.DrawMode == DrawingMode::ContourMap;
  const ProfileCorners at = profileCorners(profile, cell);
  for (int k = 1; cut_ && contact && !contourMap && k <= p_.style.model.Nbd; ++k) {
    const Corners<double> w = cornerValues(
        cell, [&](int hh, int vv) { return (hh == h ? gapsHere_ : gapsNext_)[k][vv]; });
    if (const auto trace = cellTrace(P, w, at.x, at.y, at.z, zEps, &classify_)) {
      cuts.push_back({*trace, w});
      cutBoundary.push_back(k);
    }
  }
  for (const CellPart& part : splitCell(P, cuts, zEps)) {
    const PackedColor color =
        contourMap ? kWhite : colorOf(p_.style.unitColor, partUnit(part, cuts, unit, zEps));
    fillPolygon(canvas_, part.corners, color);
  }
  if (!traced_ || contourMap) return;
  for (std::size_t c = 0; c < cuts.size(); ++c) {
    if (cutBoundary[c] == 0) continue;
    setSolidPen(lines(), colorOf(p_.style.boundaryColor, cutBoundary[c]), 2);
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
