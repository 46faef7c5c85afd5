#include "render/map_renderer.h"

#include <algorithm>
#include <cmath>

#include "evaluation/boundary_interpolation.h"
#include "evaluation/classification.h"
#include "evaluation/map_grid.h"
#include "evaluation/thickness_maps.h"
#include "render/cancellable_canvas.h"
#include "render/cell.h"
#include "render/cell_paint.h"
#include "render/cell_split.h"
#include "render/column_nodes.h"
#include "render/deferred_lines.h"
#include "render/line_tracing.h"
#include "render/parts_in_order.h"
#include "render/projection.h"
#include "render/relief_light.h"

namespace kalvenor {
namespace {

// Boundary k at display node (i, j): the stored node when the boundary grid shares the display
// grid's nodes, else the boundary evaluated there, so a grid of another size is never read
// beyond its nodes.
class BoundaryAtNodes {
 public:
  BoundaryAtNodes(const std::vector<GridSurface>& grids, const DisplaySurface& d, int Nbd)
      : grids_(grids), display_(d), sameNodes_(Nbd + 1, false) {
    for (int k = 1; k <= Nbd && k < static_cast<int>(grids.size()); ++k) {
      sameNodes_[k] = sameNodes(grids[k], d);
    }
  }
  double at(int k, int i, int j) const {
    if (sameNodes_[k]) return grids_[k].z(i, j);
    return elevationAt(grids_[k], display_.nodeX[i], display_.nodeY[j]);
  }

 private:
  const std::vector<GridSurface>& grids_;
  const DisplaySurface& display_;
  std::vector<bool> sameNodes_;
};

class MapDrawing {
 public:
  // Without a light the terrain is drawn in flat colours.
  MapDrawing(Canvas& canvas, const Projection& projection, const MapPicture& picture,
             const ReliefLight* light, int threads)
      : canvas_(canvas),
        p_(picture),
        d_(picture.display),
        projection_(projection),
        rows_(d_.Nx, [this](int j, int i) { return projectNode(i, j); }),
        boundaries_(picture.style.boundaryGrids, d_, boundaryCount()),
        held_{DeferredLines(canvas), DeferredLines(canvas)},
        light_(light),
        threads_(threads) {}

  void draw();

 private:
  int boundaryCount() const {
    const int Nbd = p_.style.model.Nbd;
    return static_cast<int>(p_.style.boundaryGrids.size()) >= Nbd + 2 ? Nbd : 0;
  }
  MaybePoint projectNode(int i, int j) const;
  // Node (i, j) on the canvas; the rows are projected as the cells reach them.
  MaybePoint node(int i, int j) { return rows_(j, i); }
  void projectBase(double z);
  void drawBaseAndEdges(bool farSides);
  int rowCount() const {
    const PaintersOrder& oy = projection_.orderY();
    return (oy.last - oy.first) / oy.step;
  }
  void drawSurface();
  void drawSurfaceInParts(int rowsPerPart);
  // Row r of cells, 0 the farthest; in smooth mode its lines are held until flushRowLines(r).
  void drawRow(int r);
  void flushRowLines(int r) { held_[r % 2].flush(); }
  void drawCell(int i, int j, int i2, int j2);
  void drawBoundaries(const Corners<CanvasPoint>& P, const CellNodes& cell);
  bool smooth() const { return p_.style.options.contacts == Contacts::Smooth; }
  // Where the lines of the row drawn now go: held back in smooth mode until the next row is
  // filled, so that no neighbouring fill covers them while nearer terrain still does.
  Canvas& lines() { return smooth() ? held_[row_ % 2] : canvas_; }
  ClassifyAt classifier() const;
  void fillAlongContacts(const Corners<CanvasPoint>& P, const CellNodes& cell);
  void drawContours(const Corners<CanvasPoint>& P, const CellNodes& cell);
  void drawFrame();
  int unitAt(int i, int j) const { return p_.drawUnit.contains(i, j) ? p_.drawUnit(i, j) : 0; }
  double valueAt(int i, int j) const {
    return p_.values->contains(i, j) ? (*p_.values)(i, j) : kNoValue;
  }
  double cellValue(const CellNodes& cell) const;
  // A value on a contour level counts as just above it, as an elevation does by zEps.
  double valueEps() const { return 1e-9 * std::max(1.0, p_.ramp.high - p_.ramp.low); }
  PackedColor cellColor(int unit, const CellNodes& cell) const {
    const PackedColor color = colorOf(p_.style.unitColor, unit);
    return light_ ? light_->shade(color, cell) : color;
  }

  Canvas& canvas_;
  const MapPicture& p_;
  const DisplaySurface& d_;
  const Projection& projection_;
  ColumnNodes rows_;  // the nodes of the rows drawn now, a row standing for a column
  std::array<MaybePoint, 4> base_;
  BoundaryAtNodes boundaries_;
  std::array<DeferredLines, 2> held_;
  const ReliefLight* light_;
  int threads_;
  int row_ = 0;
};

// A node without an elevation has no place on the canvas, so every cell, frame line and
// corner edge that would use it is left out like one behind the eye.
MaybePoint MapDrawing::projectNode(int i, int j) const {
  if (d_.missing.at(i, j)) return std::nullopt;
  return projection_.project(d_.nodeX[i], d_.nodeY[j], d_.dispZ(i, j));
}

// Corner 0 is the far corner, 2 the near one.
void MapDrawing::projectBase(double z) {
  const PaintersOrder& ox = projection_.orderX();
  const PaintersOrder& oy = projection_.orderY();
  base_[0] = projection_.project(d_.nodeX[ox.first], d_.nodeY[oy.first], z);
  base_[1] = projection_.project(d_.nodeX[ox.first], d_.nodeY[oy.last], z);
  base_[2] = projection_.project(d_.nodeX[ox.last], d_.nodeY[oy.last], z);
  base_[3] = projection_.project(d_.nodeX[ox.last], d_.nodeY[oy.first], z);
}

// The base rectangle and the corner edges from the surface down to it; with farSides the far
// edges as well (they are drawn first, so the surface covers them).
void MapDrawing::drawBaseAndEdges(bool farSides) {
  const PaintersOrder& ox = projection_.orderX();
  const PaintersOrder& oy = projection_.orderY();
  lineBetween(canvas_, base_[1], base_[2]);
  lineBetween(canvas_, base_[2], base_[3]);
  if (farSides) {
    lineBetween(canvas_, base_[3], base_[0]);
    lineBetween(canvas_, base_[0], base_[1]);
  }
  lineBetween(canvas_, node(ox.first, oy.last), base_[1]);
  lineBetween(canvas_, node(ox.last, oy.last), base_[2]);
  lineBetween(canvas_, node(ox.last, oy.first), base_[3]);
  if (farSides) lineBetween(canvas_, node(ox.first, oy.first), base_[0]);
}

void MapDrawing::draw() {
  setSolidPen(canvas_, p_.style.options.LineColor, 1);
  if (p_.base) {
    projectBase(*p_.base);
    drawBaseAndEdges(true);
  }

  if (p_.drawFence && !p_.fenceCut) p_.drawFence(projection_);
  drawSurface();

  const DrawingMode mode = p_.style.options.DrawMode;
  if (p_.drawSideMaps && !p_.values &&
      ((p_.sideWalls && mode == DrawingMode::GeologicalMap) || mode == DrawingMode::ContourMap)) {
    p_.drawSideMaps(projection_);
  }
  if (p_.drawFence && p_.fenceCut) p_.drawFence(projection_);
  setSolidPen(canvas_, p_.style.options.LineColor, 1);
  if (p_.frame) drawFrame();
  if (p_.base) drawBaseAndEdges(false);
}

void MapDrawing::drawRow(int r) {
  const PaintersOrder& ox = projection_.orderX();
  const PaintersOrder& oy = projection_.orderY();
  row_ = r;
  const int j = oy.first + r * oy.step;
  for (int i = ox.first; i != ox.last; i += ox.step) drawCell(i, j, i + ox.step, j + oy.step);
}

// Far rows first; a row's lines follow the next row's fills, so that no neighbouring fill covers
// them while nearer terrain still does. On several threads the rows are drawn in parts of a few
// thousand cells each.
void MapDrawing::drawSurface() {
  const int rows = rowCount();
  constexpr int kCellsPerPart = 1 << 16;
  const int rowsPerPart =
      std::min(std::max(1, kCellsPerPart / std::max(1, d_.Nx)), rows / (8 * threads_));
  if (threads_ > 1 && rowsPerPart >= 1) return drawSurfaceInParts(rowsPerPart);
  for (int r = 0; r < rows; ++r) {
    drawRow(r);
    if (r > 0) flushRowLines(r - 1);
  }
  flushRowLines(rows - 1);
}

// Each part is drawn by a drawing of its own into a recording, and painted as the rows would be
// drawn one after the other: its first row's fills, the lines of the part before's last row,
// the rest of its rows with their lines, and last of all the last part's last lines.
void MapDrawing::drawSurfaceInParts(int rowsPerPart) {
  const int rows = rowCount();
  const int parts = (rows + rowsPerPart - 1) / rowsPerPart;
  struct Marks {
    RecordedCanvas::Mark firstRow, lastLines;
  };
  std::vector<Marks> marks(static_cast<std::size_t>(parts));
  drawPartsInOrder(
      canvas_, parts, threads_,
      [&](int part, RecordedCanvas& recording) {
        MapDrawing drawing(recording, projection_, p_, light_, 1);
        const int first = part * rowsPerPart, last = std::min(rows, first + rowsPerPart) - 1;
        drawing.drawRow(first);
        marks[part].firstRow = recording.mark();
        for (int r = first + 1; r <= last; ++r) {
          drawing.drawRow(r);
          drawing.flushRowLines(r - 1);
        }
        marks[part].lastLines = recording.mark();
        drawing.flushRowLines(last);
      },
      [&](int part, const RecordedCanvas& recording, const RecordedCanvas* before) {
        const Marks& m = marks[part];
        recording.drawOn(canvas_, {}, m.firstRow);
        if (before) before->drawOn(canvas_, marks[part - 1].lastLines, before->end());
        recording.drawOn(canvas_, m.firstRow, m.lastLines);
        if (part == parts - 1) recording.drawOn(canvas_, m.lastLines, recording.end());
      });
}

void MapDrawing::drawCell(int i, int j, int i2, int j2) {
  if (p_.fenceCut && p_.fenceCut->hidesCell(i, j, i2, j2)) return;
  const CellNodes cell = cellNodes(i, j, i2, j2);
  const auto corners = canvasCorners([this](int i, int j) { return node(i, j); }, cell);
  if (!corners) return;  // a corner at or behind the eye: the cell cannot be drawn
  const Corners<CanvasPoint>& P = *corners;
  const Quad quad{P[1], P[2], P[3], P[4]};

  if (p_.style.options.DrawMode == DrawingMode::ContourMap) {
    fillCell(canvas_, quad, kWhite);
    if (p_.contourLines) drawContours(P, cell);
    return;
  }
  const bool contact = !oneUnit(cell, [this](int ni, int nj) { return unitAt(ni, nj); });
  if (p_.values) {
    paintUnitCell(canvas_, quad, p_.ramp.colorOf(cellValue(cell)), p_.style.options);
    if (p_.style.options.DrawBoundary && contact) drawBoundaries(P, cell);
    if (p_.contourLines) drawContours(P, cell);
    return;
  }
  if (smooth() && contact && p_.style.options.DrawMode == DrawingMode::GeologicalMap) {
    fillAlongContacts(P, cell);
  } else {
    paintUnitCell(canvas_, quad, cellColor(unitAt(i, j), cell), p_.style.options);
    if (p_.style.options.DrawBoundary && contact) drawBoundaries(P, cell);
  }
  if (p_.contourLines) drawContours(P, cell);
}

ClassifyAt MapDrawing::classifier() const {
  return [this](double px, double py, double pz) {
    return classifyPoint(p_.style.model, p_.style.boundaryGrids, px, py, pz);
  };
}

void MapDrawing::drawBoundaries(const Corners<CanvasPoint>& P, const CellNodes& cell) {
  const ModelCorners at{cornerValues(cell, [this](int i, int) { return d_.nodeX[i]; }),
                        cornerValues(cell, [this](int, int j) { return d_.nodeY[j]; }),
                        cornerValues(cell, [this](int i, int j) { return d_.dispZ(i, j); })};
  const ClassifyAt classify = classifier();
  for (int k = 1; k <= boundaryCount(); ++k) {
    setSolidPen(lines(), colorOf(p_.style.boundaryColor, k), 2);
    const Corners<double> w =
        cornerValues(cell, [&](int i, int j) { return d_.dispZ(i, j) - boundaries_.at(k, i, j); });
    drawBoundaryInCell(lines(), P, w, at, d_.zEps, classify);
  }
}

// The cell cut along the boundary lines the tracer draws through it, each part in its own unit;
// the lines themselves follow the fills.
void MapDrawing::fillAlongContacts(const Corners<CanvasPoint>& P, const CellNodes& cell) {
  const ModelCorners at{cornerValues(cell, [this](int i, int) { return d_.nodeX[i]; }),
                        cornerValues(cell, [this](int, int j) { return d_.nodeY[j]; }),
                        cornerValues(cell, [this](int i, int j) { return d_.dispZ(i, j); })};
  const ClassifyAt classify = classifier();
  std::vector<CellCut> cuts;
  std::vector<int> cutBoundary;
  for (int k = 1; k <= boundaryCount(); ++k) {
    const Corners<double> w =
        cornerValues(cell, [&](int i, int j) { return d_.dispZ(i, j) - boundaries_.at(k, i, j); });
    if (const auto trace = boundaryTrace(P, w, at, d_.zEps, classify)) {
      cuts.push_back({*trace, w});
      cutBoundary.push_back(k);
    }
  }
  Corners<std::int32_t> units{};
  for (int n = 1; n <= 4; ++n) units[n] = unitAt(cell.i[n], cell.j[n]);
  for (const CellPart& part : splitCell(P, cuts, d_.zEps)) {
    fillPolygon(canvas_, part.corners, cellColor(partUnit(part, cuts, units, d_.zEps), cell));
  }
  if (!p_.style.options.DrawBoundary) return;
  for (std::size_t c = 0; c < cuts.size(); ++c) {
    setSolidPen(lines(), colorOf(p_.style.boundaryColor, cutBoundary[c]), 2);
    drawCrossingSegments(lines(), cuts[c].crossings);
  }
}

// The mean of the corners' values that have one; NaN when none has.
double MapDrawing::cellValue(const CellNodes& cell) const {
  double sum = 0;
  int count = 0;
  for (int n = 1; n <= 4; ++n) {
    const double v = valueAt(cell.i[n], cell.j[n]);
    if (std::isnan(v)) continue;
    sum += v;
    ++count;
  }
  return count > 0 ? sum / count : kNoValue;
}

// The elevations' contours, or the values' in a map of values (where all four corners have one).
void MapDrawing::drawContours(const Corners<CanvasPoint>& P, const CellNodes& cell) {
  if (p_.values) {
    const Corners<double> w = cornerValues(cell, [this](int i, int j) { return valueAt(i, j); });
    if (std::isnan(w[1]) || std::isnan(w[2]) || std::isnan(w[3]) || std::isnan(w[4])) return;
    setSolidPen(lines(), kBlack, 1);
    drawContoursInCell(lines(), P, w, p_.contours, valueEps());
    return;
  }
  if (d_.Zmin == d_.Zmax) return;
  const Corners<double> w = cornerValues(cell, [this](int i, int j) { return d_.dispZ(i, j); });
  setSolidPen(lines(), kBlack, 1);
  drawContoursInCell(lines(), P, w, p_.contours, d_.zEps);
}

// The near row and column of grid lines, and with four sides the far ones too, over the
// finished surface; none where the block is cut away in front of a fence.
void MapDrawing::drawFrame() {
  const PaintersOrder& ox = projection_.orderX();
  const PaintersOrder& oy = projection_.orderY();
  const auto cut = [this](int i, int j, int i2, int j2) {
    return p_.fenceCut && p_.fenceCut->hidesNode(i, j) && p_.fenceCut->hidesNode(i2, j2);
  };
  const auto row = [&](int j) {
    for (int i = ox.first; i != ox.last; i += ox.step) {
      if (!cut(i, j, i + ox.step, j)) lineBetween(canvas_, node(i, j), node(i + ox.step, j));
    }
  };
  const auto column = [&](int i) {
    for (int j = oy.first; j != oy.last; j += oy.step) {
      if (!cut(i, j, i, j + oy.step)) lineBetween(canvas_, node(i, j), node(i, j + oy.step));
    }
  };
  row(oy.last);
  column(ox.last);
  if (p_.frameFourSides) {
    row(oy.first);
    column(ox.first);
  }
}

}  // namespace

PackedColor colorOf(const std::vector<PackedColor>& colors, int index) {
  return index >= 0 && index < static_cast<int>(colors.size()) ? colors[index] : kBlack;
}

std::array<std::int16_t, 2> visibleWalls(const Projection& projection, int Nx, int Ny) {
  std::array<std::int16_t, 2> walls{0, 0};
  const int row = projection.orderY().first;
  const int column = projection.orderX().first;
  if (row == 1 && column == 1) walls = {3, 4};
  if (row == Ny && column == 1) walls = {1, 4};
  if (row == 1 && column == Nx) walls = {3, 2};
  if (row == Ny && column == Nx) walls = {1, 2};
  return walls;
}

std::array<std::int16_t, 2> facingWalls(const Projection& projection, const DisplaySurface& d) {
  if (projection.parallel()) return visibleWalls(projection, d.Nx, d.Ny);
  // Outside the plane at `at` on the side away from `opposite`.
  const auto outside = [](double eye, double at, double opposite) {
    return (eye - at) * (opposite - at) < 0;
  };
  std::array<std::int16_t, 2> walls{0, 0};
  if (outside(projection.Yeye(), d.Ymin, d.Ymax)) walls[0] = kSouthWall;
  if (outside(projection.Yeye(), d.Ymax, d.Ymin)) walls[0] = kNorthWall;
  if (outside(projection.Xeye(), d.Xmin, d.Xmax)) walls[1] = kWestWall;
  if (outside(projection.Xeye(), d.Xmax, d.Xmin)) walls[1] = kEastWall;
  return walls;
}

void drawGeoMap(Canvas& canvas, const Projection& projection, const MapPicture& picture,
                const RenderContext& context) {
  if (!picture.display.loaded()) return;
  const DrawOptions& options = picture.style.options;
  std::optional<ReliefLight> light;
  if (options.shading.on && options.DrawMode == DrawingMode::GeologicalMap) {
    light.emplace(picture.display, options.shading, projection.view().Ve, context);
  }
  drawUnlessCancelled(canvas, context, [&](Canvas& on) {
    MapDrawing(on, projection, picture, light ? &*light : nullptr, std::max(1, context.threads))
        .draw();
  });
}

}  // namespace kalvenor
