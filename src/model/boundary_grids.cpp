#include "model/boundary_grids.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "model/grid_cell.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

// The nodes along one axis that evaluating the grid anywhere from `low` to `high` gives weight:
// the corners of every cell the rule finds there. The far corner of the last cell weighs nothing
// when the range ends on that cell's first node line, or enters it only by the tolerance, and is
// not needed then; beyond the grid's edge the clamped cell extrapolates from both its corners.
struct NodeSpan {
  int first;
  int last;
};

NodeSpan nodesRead(double low, double high, double origin, double spacing, int nodes) {
  const double a = (low - origin) / spacing + 1;  // 1-based places among the nodes
  const double b = (high - origin) / spacing + 1;
  const int firstCell =
      std::min(cellIndex(low, origin, spacing, nodes), cellIndex(high, origin, spacing, nodes));
  const int lastCell =
      std::max(cellIndex(low, origin, spacing, nodes), cellIndex(high, origin, spacing, nodes));
  const double farthest = std::max(a, b) - lastCell;
  const double nearest = firstCell == lastCell ? std::min(a, b) - lastCell : 0;
  const bool farCorner = farthest > kCellTolerance || nearest < -kCellTolerance;
  return {firstCell, farCorner ? lastCell + 1 : lastCell};
}

// The display area the boundary is needed over, lowest coordinates first.
std::string displayArea(const GridHeader& display) {
  const auto low = [](double a, double b) { return numberText(std::min(a, b)); };
  const auto high = [](double a, double b) { return numberText(std::max(a, b)); };
  return fill(translated("the display area (x {1} to {2}, y {3} to {4})"),
              {low(display.Xmin, display.xMax()), high(display.Xmin, display.xMax()),
               low(display.Ymin, display.yMax()), high(display.Ymin, display.yMax())});
}

// What to do about the gap: a raster warped from degrees has none where it did not reach (or
// where its source had none), which no filling within the raster mends.
std::string remedy(const GridSurface& grid) {
  if (!grid.note.empty()) {
    return translated(
        "warped from its geographic coordinates, the raster has no value where its source "
        "does not reach or has none: give a boundary raster that covers the display area with "
        "a margin, or a display surface that lies within the boundary's values");
  }
  return translated(
      "fill the gaps first, for example with gdal_fillnodata.py, or give a display surface "
      "that lies within the boundary's values");
}

}  // namespace

void requireValuesUnder(const std::string& path, const GridSurface& grid,
                        const GridHeader& display) {
  if (!grid.missing.any()) return;
  const NodeSpan along = nodesRead(display.Xmin, display.xMax(), grid.Xmin, grid.Dx, grid.Nx);
  const NodeSpan across = nodesRead(display.Ymin, display.yMax(), grid.Ymin, grid.Dy, grid.Ny);
  std::int64_t count = 0;
  int firstI = 0;
  int firstJ = 0;
  for (int i = along.first; i <= along.last; ++i) {
    for (int j = across.first; j <= across.last; ++j) {
      if (!grid.missing.at(i, j)) continue;
      if (count++ == 0) {
        firstI = i;
        firstJ = j;
      }
    }
  }
  if (count == 0) return;
  const char* pattern = translatedCount(
      "{1} node has no value (NODATA) where {2} needs the boundary, the first at node ({3}, {4}), "
      "x {5}, y {6}; {7}",
      "{1} nodes have no value (NODATA) where {2} needs the boundary, the first at node ({3}, "
      "{4}), x {5}, y {6}; {7}",
      static_cast<unsigned long>(count));
  throw ReadError(
      path, 0, 0,
      fill(pattern, {std::to_string(count), displayArea(display), std::to_string(firstI),
                     std::to_string(firstJ), numberText(grid.x(firstI)), numberText(grid.y(firstJ)),
                     remedy(grid)}));
}

GridSurface readBoundaryGrid(const std::string& path, const GridReading& reading,
                             const DisplaySurface& display) {
  GridSurface grid = readGridSurface(path, reading);
  if (display.loaded()) requireValuesUnder(path, grid, display);
  return grid;
}

EarlierRead readBoundaryToKeep(const std::string& path, const GridReading& reading,
                               const DisplaySurface& display) {
  // Stamped before reading: a change while it is read makes the next build read it again.
  const std::optional<FileStamp> stamp = fileStamp(path);
  GridSurface grid = readBoundaryGrid(path, reading, display);
  if (!stamp) return {"", reading.srs, {}, std::move(grid)};
  return {path, reading.srs, *stamp, std::move(grid)};
}

namespace {

GridSurface readBoundarySlot(const std::vector<std::string>& boundaryFile, int k,
                             const GridReading& reading, std::vector<EarlierRead>* earlier) {
  if (k >= static_cast<int>(boundaryFile.size()) || boundaryFile[k].empty()) {
    throw ReadError("", 0, 0,
                    fill(translated("no grid file has been picked for boundary {1}; pick the "
                                    "boundary files first"),
                         {std::to_string(k)}));
  }
  const std::string& path = boundaryFile[k];
  if (earlier && k < static_cast<int>(earlier->size())) {
    EarlierRead& kept = (*earlier)[k];
    if (!kept.path.empty() && !kept.lent && kept.path == path && kept.srs == reading.srs &&
        fileStamp(path) == kept.stamp) {
      kept.lent = true;
      return std::move(kept.grid);
    }
  }
  return readGridSurface(path, reading);
}

void inTurn(int Nbd, const std::function<void(int)>& readSlot) {
  for (int k = 1; k <= Nbd; ++k) readSlot(k);
}

// The grids lent from `earlier` go back there from the slots of `grids` they were read into.
void giveBack(std::vector<GridSurface>& grids, std::vector<EarlierRead>& earlier) {
  for (std::size_t k = 0; k < earlier.size() && k < grids.size(); ++k) {
    if (!earlier[k].lent) continue;
    earlier[k].grid = std::move(grids[k]);
    earlier[k].lent = false;
  }
}

}  // namespace

std::vector<GridSurface> readBoundaryGrids(const std::vector<std::string>& boundaryFile, int Nbd,
                                           const std::shared_ptr<const DisplaySurface>& display,
                                           const GridReading& reading,
                                           const ForEachBoundary& forEach,
                                           std::vector<EarlierRead>* earlier) {
  std::vector<GridSurface> grids(Nbd + 2);
  // A slot's failure is kept, not thrown, so it cannot escape a thread it was read on.
  std::vector<std::exception_ptr> failure(Nbd + 1);
  (forEach ? forEach : inTurn)(Nbd, [&](int k) {
    try {
      grids[k] = readBoundarySlot(boundaryFile, k, reading, earlier);
      requireValuesUnder(boundaryFile[k], grids[k], *display);
    } catch (...) {
      failure[k] = std::current_exception();
    }
  });
  try {
    for (int k = 1; k <= Nbd; ++k) {
      if (failure[k]) std::rethrow_exception(failure[k]);
    }
    grids[Nbd + 1] = asGridSurface(display);
  } catch (...) {
    if (earlier) giveBack(grids, *earlier);
    throw;
  }
  return grids;
}

// Slot 0 of the kept reads is unused, as in the grids; slots beyond the build's boundaries are
// left alone.
KeptUntilBuilt::~KeptUntilBuilt() {
  if (!earlier_) return;
  if (!built_) {
    giveBack(grids_, *earlier_);
    return;
  }
  const std::size_t displaySlot = grids_.empty() ? 0 : grids_.size() - 1;
  for (std::size_t k = 1; k < earlier_->size() && k < displaySlot; ++k) (*earlier_)[k] = {};
}

}  // namespace kalvenor
