#include "model/grid_range.h"

#include <cmath>

#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {

std::optional<std::string> axisProblem(const std::string& axis, const std::string& spacingName,
                                       double origin, double spacing, std::int32_t nodes) {
  const auto node = [&](std::int32_t n) { return origin + (n - 1) * spacing; };
  for (const double end : {node(1), node(nodes)}) {
    if (!(std::abs(end) <= kLargestGridNumber)) {
      return fill(translated("the grid reaches {1} {2}, beyond the {3} a coordinate may reach"),
                  {axis, numberText(end), numberText(kLargestGridNumber)});
    }
  }
  for (std::int32_t n = 1; n < nodes; ++n) {
    if (node(n + 1) == node(n)) {
      return fill(translated("{1} {2} is too small to tell the nodes apart at {3} {4}: nodes {5} "
                             "and {6} fall on the same number"),
                  {spacingName, numberText(spacing), axis, numberText(node(n)), std::to_string(n),
                   std::to_string(n + 1)});
    }
  }
  return std::nullopt;
}

std::optional<std::string> elevationProblem(double z) {
  if (std::abs(z) <= kLargestGridNumber) return std::nullopt;
  return fill(translated("the elevation {1} is beyond the {2} an elevation may reach"),
              {numberText(z), numberText(kLargestGridNumber)});
}

void requireUsableRange(const std::string& path, const GridSurface& grid) {
  for (const auto& problem : {axisProblem("x", "Dx", grid.Xmin, grid.Dx, grid.Nx),
                              axisProblem("y", "Dy", grid.Ymin, grid.Dy, grid.Ny)}) {
    if (problem) throw ReadError(path, 0, 0, *problem);
  }
  grid.z.visit([&](const auto& z) {
    // One pass without a branch tells the usual grid, every value within the range, from the
    // others, which are looked at node by node.
    bool allWithin = true;
    for (int i = 1; i <= grid.Nx; ++i) {
      for (int j = 1; j <= grid.Ny; ++j) allWithin &= std::abs(z(i, j)) <= kLargestGridNumber;
    }
    if (allWithin) return;
    for (int i = 1; i <= grid.Nx; ++i) {
      for (int j = 1; j <= grid.Ny; ++j) {
        if (grid.missing.at(i, j)) continue;
        if (const auto problem = elevationProblem(z(i, j))) {
          throw ReadError(path, 0, 0,
                          fill(translated("{1} (node ({2}, {3}), x {4}, y {5})"),
                               {*problem, std::to_string(i), std::to_string(j),
                                numberText(grid.x(i)), numberText(grid.y(j))}));
        }
      }
    }
  });
}

}  // namespace kalvenor
