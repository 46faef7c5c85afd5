#include "model/boundary_grids.h"

#include <exception>
#include <utility>

#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {

void requireEveryNode(const std::string& path, const GridSurface& grid) {
  if (!grid.missing.any()) return;
  for (int i = 1; i <= grid.Nx; ++i) {
    for (int j = 1; j <= grid.Ny; ++j) {
      if (!grid.missing.at(i, j)) continue;
      const std::int64_t count = grid.missing.count();
      throw ReadError(path, 0, 0,
                      std::to_string(count) + (count == 1 ? " node has" : " nodes have") +
                          " no value (NODATA), the first at node (" + std::to_string(i) + ", " +
                          std::to_string(j) + "), x " + numberText(grid.x(i)) + ", y " +
                          numberText(grid.y(j)) +
                          "; a boundary needs an elevation at every node: fill the gaps first, "
                          "for example with gdal_fillnodata.py");
    }
  }
}

GridSurface readBoundaryGrid(const std::string& path, const GridReading& reading) {
  GridSurface grid = readGridSurface(path, reading);
  requireEveryNode(path, grid);
  return grid;
}

EarlierRead readBoundaryToKeep(const std::string& path, const GridReading& reading) {
  // Stamped before reading: a change while it is read makes the next build read it again.
  const std::optional<FileStamp> stamp = fileStamp(path);
  GridSurface grid = readBoundaryGrid(path, reading);
  if (!stamp) return {"", reading.srs, {}, std::move(grid)};
  return {path, reading.srs, *stamp, std::move(grid)};
}

namespace {

GridSurface readBoundarySlot(const std::vector<std::string>& boundaryFile, int k,
                             const GridReading& reading, std::vector<EarlierRead>* earlier) {
  if (k >= static_cast<int>(boundaryFile.size()) || boundaryFile[k].empty()) {
    throw ReadError("", 0, 0,
                    "no grid file has been picked for boundary " + std::to_string(k) +
                        "; pick the boundary files first");
  }
  const std::string& path = boundaryFile[k];
  if (earlier && k < static_cast<int>(earlier->size())) {
    EarlierRead kept = std::exchange((*earlier)[k], {});
    if (!kept.path.empty() && kept.path == path && kept.srs == reading.srs &&
        fileStamp(path) == kept.stamp) {
      return std::move(kept.grid);
    }
  }
  return readBoundaryGrid(path, reading);
}

void inTurn(int Nbd, const std::function<void(int)>& readSlot) {
  for (int k = 1; k <= Nbd; ++k) readSlot(k);
}

}  // namespace

std::vector<GridSurface> readBoundaryGrids(const std::vector<std::string>& boundaryFile, int Nbd,
                                           const DisplaySurface& display,
                                           const GridReading& reading,
                                           const ForEachBoundary& forEach,
                                           std::vector<EarlierRead>* earlier) {
  std::vector<GridSurface> grids(Nbd + 2);
  // A slot's failure is kept, not thrown, so it cannot escape a thread it was read on.
  std::vector<std::exception_ptr> failure(Nbd + 1);
  (forEach ? forEach : inTurn)(Nbd, [&](int k) {
    try {
      grids[k] = readBoundarySlot(boundaryFile, k, reading, earlier);
    } catch (...) {
      failure[k] = std::current_exception();
    }
  });
  for (int k = 1; k <= Nbd; ++k) {
    if (failure[k]) std::rethrow_exception(failure[k]);
  }
  grids[Nbd + 1] = asGridSurface(display);
  return grids;
}

}  // namespace kalvenor
