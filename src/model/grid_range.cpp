#include "model/grid_range.h"

#include <cmath>

#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {

std::optional<std::string> axisProblem(const std::string& axis, const std::string& spacingName,
                                       double origin, double spacing, std::int32_t nodes) {
  const auto node = [&](std::int32_t n) { return origin + (n - 1) * spacing; };
  for (const double end : {node(1), node(nodes)}) {
    if (!(std::abs(end) <= kLargestGridNumber)) {
      return "the grid reaches " + axis + " " + numberText(end) + ", beyond the " +
             numberText(kLargestGridNumber) + " a coordinate may reach";
    }
  }
  for (std::int32_t n = 1; n < nodes; ++n) {
    if (node(n + 1) == node(n)) {
      return spacingName + " " + numberText(spacing) + " is too small to tell the nodes apart at " +
             axis + " " + numberText(node(n)) + ": nodes " + std::to_string(n) + " and " +
             std::to_string(n + 1) + " fall on the same number";
    }
  }
  return std::nullopt;
}

std::optional<std::string> elevationProblem(double z) {
  if (std::abs(z) <= kLargestGridNumber) return std::nullopt;
  return "the elevation " + numberText(z) + " is beyond the " + numberText(kLargestGridNumber) +
         " an elevation may reach";
}

void requireUsableRange(const std::string& path, const GridSurface& grid) {
  for (const auto& problem : {axisProblem("x", "Dx", grid.Xmin, grid.Dx, grid.Nx),
                              axisProblem("y", "Dy", grid.Ymin, grid.Dy, grid.Ny)}) {
    if (problem) throw ReadError(path, 0, 0, *problem);
  }
  grid.z.visit([&](const auto& z) {
    for (int i = 1; i <= grid.Nx; ++i) {
      for (int j = 1; j <= grid.Ny; ++j) {
        if (grid.missing.at(i, j)) continue;
        if (const auto problem = elevationProblem(z(i, j))) {
          throw ReadError(path, 0, 0,
                          *problem + " (node (" + std::to_string(i) + ", " + std::to_string(j) +
                              "), x " + numberText(grid.x(i)) + ", y " + numberText(grid.y(j)) +
                              ")");
        }
      }
    }
  });
}

}  // namespace kalvenor
