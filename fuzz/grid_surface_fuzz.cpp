// Feeds arbitrary bytes to the grid file reader. A ReadError is the expected answer to bad
// input; anything else that escapes, and any broken promise checked below, stops the run.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_checks.h"
#include "model/grid_surface.h"
#include "model/item_reader.h"

namespace {

using kalvenor::fuzz::require;

const std::string kPath = "fuzz-grid.txt";

void checkGrid(const kalvenor::GridSurface& grid, std::size_t textSize) {
  require(grid.Nx >= 2 && grid.Ny >= 2, "at least 2 nodes a direction");
  const std::int64_t nodes = std::int64_t{grid.Nx} * grid.Ny;
  require(nodes <= kalvenor::kMaxGridNodes, "no more nodes than the cap");
  // Six header items, one item per node and the values after them, each at least one character
  // with a separator between neighbours.
  require(grid.trailingValues >= 0, "no negative count of values after the grid");
  require(2 * (6 + nodes + grid.trailingValues) - 1 <= static_cast<std::int64_t>(textSize),
          "every node and every value after them was read from the text");
  require(std::isfinite(grid.Xmin) && std::isfinite(grid.Ymin), "finite origin");
  require(std::isfinite(grid.Dx) && grid.Dx != 0.0, "finite non-zero Dx");
  require(std::isfinite(grid.Dy) && grid.Dy != 0.0, "finite non-zero Dy");
  require(std::isfinite(grid.xMax()) && std::isfinite(grid.yMax()), "finite extent");
  require(grid.z.iFirst() == 1 && grid.z.iLast() == grid.Nx && grid.z.jFirst() == 1 &&
              grid.z.jLast() == grid.Ny,
          "elevations span 1..Nx x 1..Ny");
  for (int i = 1; i <= grid.Nx; ++i) {
    for (int j = 1; j <= grid.Ny; ++j) require(std::isfinite(grid.z(i, j)), "finite elevation");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kalvenor::fuzz::readAndCheck(
      data, size, kPath,
      [](kalvenor::ItemReader& reader) { return kalvenor::readGridSurface(reader); },
      [size](const kalvenor::GridSurface& grid) { checkGrid(grid, size); });
  return 0;
}
