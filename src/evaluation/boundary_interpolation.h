#pragma once

#include <vector>

#include "model/display_surface.h"
#include "model/grid_surface.h"

namespace kalvenor {

// The one rule by which a grid is evaluated anywhere: the cell is found with a tolerance of a
// millionth of a cell, clamped to the grid (lower bound first), and weighted bilinearly with
// unclamped fractions, so points beyond the edge extrapolate the nearest edge cell linearly.
double elevationAt(const GridSurface& grid, double x, double y);

// A grid at every node of a lattice (the display's nodes, say), as elevationAt gives it at each,
// with the cell and weight of each column and row of the lattice found once. Where every node of
// the lattice is a node of the grid (a boundary grid of the display grid's nodes), its value is
// read as it is: the weights would give it exactly.
class LatticeElevations {
 public:
  LatticeElevations(const GridSurface& grid, const GridHeader& lattice);
  double at(int i, int j) const {
    return onNodes_ ? grid_.z(cellI_[i], cellJ_[j]) : weightedAt(i, j);
  }

 private:
  double weightedAt(int i, int j) const;

  const GridSurface& grid_;
  std::vector<int> cellI_, cellJ_;  // 1-based, as the lattice's nodes
  std::vector<double> u_, v_;
  bool onNodes_ = false;
};

// Boundary k of the tables a build read (slot Nbd + 1 is the display surface).
inline double boundaryElevationAt(const std::vector<GridSurface>& grids, int k, double x,
                                  double y) {
  return elevationAt(grids[k], x, y);
}

// The display surface by the same rule.
double surfaceElevationAt(const DisplaySurface& display, double x, double y);

// False where the cell the same rule finds for (x, y) has a corner without an elevation: there
// the surface is not known.
bool surfaceDefinedAt(const DisplaySurface& display, double x, double y);

}  // namespace kalvenor
