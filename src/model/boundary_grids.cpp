#include "model/boundary_grids.h"

#include "model/read_error.h"

namespace kalvenor {

std::vector<GridSurface> readBoundaryGrids(const std::vector<std::string>& boundaryFile, int Nbd,
                                           const DisplaySurface& display) {
  std::vector<GridSurface> grids(Nbd + 2);
  for (int k = 1; k <= Nbd; ++k) {
    if (k >= static_cast<int>(boundaryFile.size()) || boundaryFile[k].empty()) {
      throw ReadError("", 0, 0,
                      "no grid file has been picked for boundary " + std::to_string(k) +
                          "; pick the boundary files first");
    }
    grids[k] = readGridSurface(boundaryFile[k]);
  }
  grids[Nbd + 1] = asGridSurface(display);
  return grids;
}

}  // namespace kalvenor
