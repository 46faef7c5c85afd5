#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/display_surface.h"
#include "model/grid_surface.h"
#include "scene/scene.h"

namespace kalvenor {

// The nodes 1..count a scene is built on: every step-th, and always the last, so a lighter
// scene keeps the block's edges.
std::vector<int> keptNodes(int count, int step);

// Boundary k at display node (i, j): the stored node when the boundary grid shares the display
// grid's nodes, else the boundary evaluated there.
class BoundaryAtNodes {
 public:
  BoundaryAtNodes(const std::vector<GridSurface>& grids, const DisplaySurface& display, int Nbd);
  double at(int k, int i, int j) const;

 private:
  const std::vector<GridSurface>& grids_;
  const DisplaySurface& display_;
  std::vector<bool> sameNodes_;
};

// The boundaries' elevations at every kept node, (c, r) in the kept columns and rows, worked
// out once for every part that reads them. No boundaries when the build left fewer grids.
class NodeElevations {
 public:
  // The display nodes kept and the threads to work them out on.
  struct KeptNodes {
    const std::vector<int>& columns;
    const std::vector<int>& rows;
    int threads = 1;
  };
  NodeElevations(const std::vector<GridSurface>& grids, const DisplaySurface& display, int Nbd,
                 const KeptNodes& kept);
  int boundaries() const { return static_cast<int>(stride_) - 1; }
  // Boundaries 1..Nbd at node (c, r) into z, element 0 unused.
  void at(std::size_t c, std::size_t r, std::vector<double>& z) const;
  double at(std::size_t c, std::size_t r, int k) const {
    return z_[(r * columns_ + c) * stride_ + static_cast<std::size_t>(k)];
  }

 private:
  std::size_t columns_, stride_;
  std::vector<double> z_;
};

// True when a node of the cell from node (i, j) to node (i2, j2), corners or between them, has
// no elevation: a cell of a lighter scene spans several cells of the grid and keeps their holes.
bool openCell(const DisplaySurface& d, const std::array<int, 2>& from,
              const std::array<int, 2>& to);

// A display node with its elevation.
inline ScenePoint surfaceNode(const DisplaySurface& d, int i, int j) {
  return {d.nodeX[i], d.nodeY[j], d.dispZ(i, j)};
}

// The key of node (i, j) among the keys of one mesh.
inline std::uint64_t nodeKey(const DisplaySurface& d, int i, int j) {
  return static_cast<std::uint64_t>(j) * static_cast<std::uint64_t>(d.Nx + 2) +
         static_cast<std::uint64_t>(i);
}

}  // namespace kalvenor
