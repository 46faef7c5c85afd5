// Feeds arbitrary bytes, as a file, to the grid reader the programs use: the own format or a
// raster, decided by the content, and GDAL's reading of whatever raster it recognises. A
// ReadError is the expected answer to bad input; anything else that escapes, and any broken
// promise checked below, stops the run.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_checks.h"
#include "model/grid_range.h"
#include "model/grid_surface.h"

namespace {

using kalvenor::fuzz::require;

void checkGrid(const kalvenor::GridSurface& grid) {
  require(grid.Nx >= 2 && grid.Ny >= 2, "at least 2 nodes a direction");
  require(std::int64_t{grid.Nx} * grid.Ny <= kalvenor::kMaxGridNodes, "no more nodes than the cap");
  require(grid.Dx != 0 && grid.Dy != 0, "a spacing that is not 0");
  for (const double end : {grid.Xmin, grid.Ymin, grid.xMax(), grid.yMax()}) {
    require(std::abs(end) <= kalvenor::kLargestGridNumber, "coordinates within reach");
  }
  require(grid.x(2) != grid.x(1) && grid.xMax() != grid.x(grid.Nx - 1), "nodes told apart in x");
  require(grid.y(2) != grid.y(1) && grid.yMax() != grid.y(grid.Ny - 1), "nodes told apart in y");
  require(grid.z.iFirst() == 1 && grid.z.iLast() == grid.Nx && grid.z.jFirst() == 1 &&
              grid.z.jLast() == grid.Ny,
          "elevations span 1..Nx x 1..Ny");
  require(grid.missing.count() < std::int64_t{grid.Nx} * grid.Ny, "some node has a value");
  for (int i = 1; i <= grid.Nx; ++i) {
    for (int j = 1; j <= grid.Ny; ++j) {
      const double z = grid.z(i, j);
      require(std::isfinite(z), "every stored elevation a number, missing ones too");
      if (!grid.missing.at(i, j)) {
        require(std::abs(z) <= kalvenor::kLargestGridNumber, "elevations within reach");
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = kalvenor::fuzz::inputFile(data, size, "grid.xyz");
  const int lines =
      kalvenor::fuzz::lineCount(std::string(reinterpret_cast<const char*>(data), size));
  try {
    checkGrid(kalvenor::readGridSurface(path));
  } catch (const kalvenor::ReadError& error) {
    kalvenor::fuzz::requireFileError(error, path, lines);
  }
  return 0;
}
