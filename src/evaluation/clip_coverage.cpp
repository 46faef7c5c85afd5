#include "evaluation/clip_coverage.h"

#include <algorithm>
#include <cmath>

namespace kalvenor {
namespace {

// The ring's edges as pairs of corners, the last joined to the first.
template <typename Edge>
void forEachEdge(const PlanePolygon& ring, const Edge& edge) {
  for (std::size_t k = 0; k < ring.size(); ++k) edge(ring[k], ring[(k + 1) % ring.size()]);
}

// The heights at which the rings cross the vertical line x, sorted; a corner on the line counts
// once, with the edge that leaves it to the right.
std::vector<double> crossingsAt(const std::vector<PlanePolygon>& rings, double x) {
  std::vector<double> ys;
  for (const PlanePolygon& ring : rings) {
    forEachEdge(ring, [&](const PlanePoint& p, const PlanePoint& q) {
      if ((p.x <= x) == (q.x <= x)) return;
      ys.push_back(p.y + (x - p.x) / (q.x - p.x) * (q.y - p.y));
    });
  }
  std::sort(ys.begin(), ys.end());
  return ys;
}

// Whether each of the heights first, first + 1, ... up to last lies inside by the even-odd rule
// along the line whose crossings are `ys`.
template <typename Set>
void insideAlong(const std::vector<double>& ys, double first, int count, const Set& set) {
  std::size_t below = 0;
  for (int n = 0; n < count; ++n) {
    const double y = first + n;
    while (below < ys.size() && ys[below] <= y) ++below;
    set(n, below % 2 == 1);
  }
}

int clampedCell(double at, int cells) {
  return std::clamp(static_cast<int>(std::floor(at)) + 1, 1, cells);
}

}  // namespace

ClipCoverage::ClipCoverage(const ClipArea& area, const GridHeader& grid)
    : grid_(grid),
      cells_(1, grid.Nx - 1, 1, grid.Ny - 1, static_cast<std::uint8_t>(CellCover::Outside)),
      nodes_(1, grid.Nx, 1, grid.Ny, 0),
      strips_(grid.Nx),
      orientation_(grid.Dx * grid.Dy > 0 ? 1.0 : -1.0) {
  for (const Ring& ring : area.rings) {
    PlanePolygon& in = rings_.emplace_back();
    for (const PlanePoint& p : ring) {
      in.push_back({(p.x - grid.Xmin) / grid.Dx, (p.y - grid.Ymin) / grid.Dy});
    }
  }
  markEdges();
  fillByParity();
  cutStrips();
}

// Every cell an edge passes through, found column by column of cells over the edge's span.
void ClipCoverage::markEdges() {
  const int columns = grid_.Nx - 1;
  const int rows = grid_.Ny - 1;
  const auto edge = [&](const PlanePoint& p, const PlanePoint& q) {
    const double x0 = std::min(p.x, q.x);
    const double x1 = std::max(p.x, q.x);
    if (x1 < 0 || x0 > columns || std::max(p.y, q.y) < 0 || std::min(p.y, q.y) > rows) return;
    // Where the edge is at x; a vertical edge is all of its heights at once.
    const auto yAt = [&](double x, const PlanePoint& end) {
      return p.x == q.x ? end.y : p.y + (x - p.x) / (q.x - p.x) * (q.y - p.y);
    };
    for (int i = clampedCell(x0, columns); i <= clampedCell(x1, columns); ++i) {
      const double y0 = yAt(std::max(x0, i - 1.0), p);
      const double y1 = yAt(std::min(x1, static_cast<double>(i)), q);
      for (int j = clampedCell(std::min(y0, y1), rows); j <= clampedCell(std::max(y0, y1), rows);
           ++j) {
        cells_(i, j) = static_cast<std::uint8_t>(CellCover::Edge);
      }
    }
  };
  for (const PlanePolygon& ring : rings_) forEachEdge(ring, edge);
}

// Cells no edge passes through lie wholly on one side: the side of their centre.
void ClipCoverage::fillByParity() {
  for (int i = 1; i <= grid_.Nx - 1; ++i) {
    insideAlong(crossingsAt(rings_, i - 0.5), 0.5, grid_.Ny - 1, [&](int n, bool inside) {
      std::uint8_t& cover = cells_(i, n + 1);
      if (inside && cover != static_cast<std::uint8_t>(CellCover::Edge)) {
        cover = static_cast<std::uint8_t>(CellCover::Inside);
      }
    });
  }
  for (int i = 1; i <= grid_.Nx; ++i) {
    insideAlong(crossingsAt(rings_, i - 1.0), 0.0, grid_.Ny,
                [&](int n, bool inside) { nodes_(i, n + 1) = inside ? 1 : 0; });
  }
}

// Each column of cells with an edge cell keeps the rings cut to its strip, so that a cell is
// cut from a few edges and not from whole rings.
void ClipCoverage::cutStrips() {
  PlanePolygon scratch;
  for (int i = 1; i <= grid_.Nx - 1; ++i) {
    bool edge = false;
    for (int j = 1; j <= grid_.Ny - 1 && !edge; ++j) edge = cell(i, j) == CellCover::Edge;
    if (!edge) continue;
    for (const PlanePolygon& ring : rings_) {
      clipToHalfPlane(ring, {-(i - 1.0), 1, 0}, scratch);
      PlanePolygon strip;
      clipToHalfPlane(scratch, {static_cast<double>(i), -1, 0}, strip);
      if (!strip.empty()) strips_[i].push_back(std::move(strip));
    }
  }
}

void ClipCoverage::cellPolygons(int i, int j, std::vector<PlanePolygon>& polygons,
                                PlanePolygon& scratch) const {
  polygons.clear();
  for (const PlanePolygon& strip : strips_[i]) {
    clipToHalfPlane(strip, {-(j - 1.0), 0, 1}, scratch);
    PlanePolygon cell;
    clipToHalfPlane(scratch, {static_cast<double>(j), 0, -1}, cell);
    if (cell.empty()) continue;
    for (PlanePoint& p : cell) p = {p.x - (i - 1), p.y - (j - 1)};
    polygons.push_back(std::move(cell));
  }
}

}  // namespace kalvenor
