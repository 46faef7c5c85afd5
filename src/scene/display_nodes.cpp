#include "scene/display_nodes.h"

#include <algorithm>

#include "evaluation/boundary_interpolation.h"
#include "model/parallel_for.h"

namespace kalvenor {

std::vector<int> keptNodes(int count, int step) {
  std::vector<int> nodes;
  step = std::max(1, step);
  for (int n = 1; n <= count; n += step) nodes.push_back(n);
  if (!nodes.empty() && nodes.back() != count) nodes.push_back(count);
  return nodes;
}

bool openCell(const DisplaySurface& d, const std::array<int, 2>& from,
              const std::array<int, 2>& to) {
  if (!d.missing.any()) return false;
  for (int i = std::min(from[0], to[0]); i <= std::max(from[0], to[0]); ++i) {
    for (int j = std::min(from[1], to[1]); j <= std::max(from[1], to[1]); ++j) {
      if (d.missing.at(i, j)) return true;
    }
  }
  return false;
}

BoundaryAtNodes::BoundaryAtNodes(const std::vector<GridSurface>& grids,
                                 const DisplaySurface& display, int Nbd)
    : grids_(grids), display_(display), sameNodes_(Nbd + 1, false) {
  for (int k = 1; k <= Nbd && k < static_cast<int>(grids.size()); ++k) {
    sameNodes_[k] = sameNodes(grids[k], display);
  }
}

double BoundaryAtNodes::at(int k, int i, int j) const {
  if (sameNodes_[k]) return grids_[k].z(i, j);
  return elevationAt(grids_[k], display_.nodeX[i], display_.nodeY[j]);
}

NodeElevations::NodeElevations(const std::vector<GridSurface>& grids, const DisplaySurface& display,
                               int Nbd, const KeptNodes& kept)
    : columns_(kept.columns.size()),
      stride_(static_cast<int>(grids.size()) >= Nbd + 1 ? static_cast<std::size_t>(Nbd) + 1 : 1) {
  const BoundaryAtNodes grid(grids, display, boundaries());
  z_.assign(kept.columns.size() * kept.rows.size() * stride_, 0.0);
  parallelFor(0, static_cast<int>(kept.rows.size()) - 1,
              [&](int r) {
                auto z =
                    z_.begin() + static_cast<std::ptrdiff_t>(std::size_t(r) * columns_ * stride_);
                for (const int i : kept.columns) {
                  ++z;
                  for (int k = 1; k <= boundaries(); ++k)
                    *z++ = grid.at(k, i, kept.rows[std::size_t(r)]);
                }
              },
              {.threads = kept.threads, .chunk = 16, .dynamic = false});
}

void NodeElevations::at(std::size_t c, std::size_t r, std::vector<double>& z) const {
  const auto first = z_.begin() + static_cast<std::ptrdiff_t>((r * columns_ + c) * stride_);
  z.assign(first, first + static_cast<std::ptrdiff_t>(stride_));
}

}  // namespace kalvenor
