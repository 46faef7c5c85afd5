// Feeds arbitrary bytes to the grid file reader. A ReadError is the expected answer to bad
// input; anything else that escapes, and any broken promise checked below, stops the run.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/grid_surface.h"
#include "model/item_reader.h"
#include "model/read_error.h"

namespace {

const std::string kPath = "fuzz-grid.txt";

void require(bool condition, const char* promise) {
  if (!condition) {
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
  }
}

// Lines as the reader counts them: "\r\n", "\r" and "\n" each end one.
int lineCount(const std::string& text) {
  int lines = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++lines;
    }
  }
  return lines;
}

void checkGrid(const kalvenor::GridSurface& grid, std::size_t textSize) {
  require(grid.Nx >= 2 && grid.Ny >= 2, "at least 2 nodes a direction");
  const std::int64_t nodes = std::int64_t{grid.Nx} * grid.Ny;
  require(nodes <= kalvenor::kMaxGridNodes, "no more nodes than the cap");
  // Six header items and one item per node, each at least one character with a separator
  // between neighbours.
  require(2 * (6 + nodes) - 1 <= static_cast<std::int64_t>(textSize),
          "every node was read from the text");
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
  std::string text(reinterpret_cast<const char*>(data), size);
  const int lines = lineCount(text);
  kalvenor::ItemReader reader(kPath, std::move(text));
  try {
    checkGrid(kalvenor::readGridSurface(reader), size);
  } catch (const kalvenor::ReadError& error) {
    require(error.path() == kPath, "error names the file");
    require(error.line() >= 1 && error.line() <= lines, "error names a line of the file");
    require(error.item() >= 1, "error names an item");
    require(!error.problem().empty(), "error says what went wrong");
  }
  return 0;
}
