#include "model/boundary_grids.h"

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

std::vector<GridSurface> readBoundaryGrids(const std::vector<std::string>& boundaryFile, int Nbd,
                                           const DisplaySurface& display,
                                           const GridReading& reading) {
  std::vector<GridSurface> grids(Nbd + 2);
  for (int k = 1; k <= Nbd; ++k) {
    if (k >= static_cast<int>(boundaryFile.size()) || boundaryFile[k].empty()) {
      throw ReadError("", 0, 0,
                      "no grid file has been picked for boundary " + std::to_string(k) +
                          "; pick the boundary files first");
    }
    grids[k] = readBoundaryGrid(boundaryFile[k], reading);
  }
  grids[Nbd + 1] = asGridSurface(display);
  return grids;
}

}  // namespace kalvenor
