#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "evaluation/boundary_interpolation.h"
#include "evaluation/boundary_profile.h"
#include "grid_fixtures.h"

namespace kalvenor {
namespace {

double bumpy(double x, double y) { return 0.37 * x * x - 2.0 * y + 0.01 * x * y + 5.0; }

TEST(Interpolation, OnItsOwnNodesAGridReturnsItsValuesIncludingTheLastColumnAndRow) {
  const GridSurface grid = makeGrid(5, 4, 100, -20, 10, 7.5, bumpy);
  for (int i = 1; i <= grid.Nx; ++i) {
    for (int j = 1; j <= grid.Ny; ++j) {
      const double x = 100 + (i - 1) * 10.0, y = -20 + (j - 1) * 7.5;
      EXPECT_DOUBLE_EQ(elevationAt(grid, x, y), grid.z(i, j)) << i << "," << j;
    }
  }
}

// Elevations 0, 0, 1e6 along x: which cell a point falls in shows directly in the value.
TEST(Interpolation, APointOnOrJustShortOfAGridLineUsesTheCellThatBeginsThere) {
  const GridSurface grid =
      makeGrid(4, 2, 0, 0, 1, 1, [](double x, double) { return x >= 2 ? 1e6 * (x - 1) : 0.0; });
  EXPECT_DOUBLE_EQ(elevationAt(grid, 1.0, 0), 0.0);             // cell 2 with u = 0
  EXPECT_NEAR(elevationAt(grid, 1.0 - 0.5e-6, 0), -0.5, 1e-6);  // still cell 2: u < 0
  EXPECT_DOUBLE_EQ(elevationAt(grid, 1.0 - 2e-6, 0), 0.0);      // cell 1
  EXPECT_DOUBLE_EQ(elevationAt(grid, 3.0, 0), 2e6);             // last node line: u = 1
}

TEST(Interpolation, BeyondTheGridTheEdgeCellsExtendLinearly) {
  const GridSurface grid = makeGrid(3, 3, 0, 0, 10, 10, bumpy);
  // One cell west on node row 2: 2 z(1, 2) - z(2, 2).
  EXPECT_DOUBLE_EQ(elevationAt(grid, -10, 10), 2 * grid.z(1, 2) - grid.z(2, 2));
  // Far east on row 1: the last cell's line continued.
  const double slope = (grid.z(3, 1) - grid.z(2, 1)) / 10;
  EXPECT_NEAR(elevationAt(grid, 520, 0), grid.z(3, 1) + slope * 500, 1e-9);
  // A cell index beyond the integer range is clamped, not overflowed.
  const GridSurface tiny = makeGrid(2, 2, 0, 0, 1e-3, 1e-3, bumpy);
  EXPECT_TRUE(std::isfinite(elevationAt(tiny, 1e12, -1e12)));
}

TEST(Interpolation, TheDisplaySurfaceFollowsTheSameRule) {
  const GridSurface grid = makeGrid(6, 5, -3, 4, 2.5, -1.5, bumpy);
  const DisplaySurface display = exactDisplaySurface(grid);
  for (double x : {-10.0, -3.0, 0.3, 9.9, 30.0}) {
    for (double y : {10.0, 4.0, 0.1, -2.0, -9.0}) {
      EXPECT_EQ(surfaceElevationAt(display, x, y), elevationAt(grid, x, y)) << x << "," << y;
    }
  }
}

// The map build classifies every display node through LatticeElevations: it must give the very
// bits elevationAt gives, on the grid's own nodes, on finer, coarser and shifted lattices, and
// on lattices reaching beyond the grid, where the edge cells extrapolate.
TEST(Interpolation, ALatticeGivesTheBitsElevationAtGivesAtEachNode) {
  const GridSurface grid = makeGrid(7, 5, 0.1, 1e5 + 0.3, 0.7, 1.3, bumpy);
  const GridHeader lattices[] = {grid.header(),
                                 {13, 9, 0.1, 1e5 + 0.3, 0.35, 0.65},
                                 {4, 3, 0.45, 1e5 + 0.1, 1.4, 2.6},
                                 {20, 16, -3.0, 1e5 - 4.0, 0.6, 0.9}};
  for (const GridHeader& lattice : lattices) {
    const LatticeElevations at(grid, lattice);
    for (int i = 1; i <= lattice.Nx; ++i) {
      for (int j = 1; j <= lattice.Ny; ++j) {
        const double expected = elevationAt(grid, lattice.x(i), lattice.y(j));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(at.at(i, j)), std::bit_cast<std::uint64_t>(expected))
            << lattice.Nx << " x " << lattice.Ny << " lattice, node " << i << "," << j;
      }
    }
  }
}

TEST(BoundaryProfile, LevelsAreReachedByRepeatedAdditionAndGapsChangeSignAtTheBoundary) {
  const std::vector<GridSurface> grids = {
      {}, makeGrid(3, 3, 0, 0, 10, 10, [](double x, double) { return 3.3 + x; })};
  const LineGeometry south{3, 4, 0, 0, -1.0, 10, 0, 0.7};
  const BoundaryProfile profile = buildBoundaryProfile(south, grids, 1);
  EXPECT_EQ(profile.bndZ(1, 2), grids[1].z(2, 1));
  EXPECT_EQ(profile.X(3, 4), 20);
  EXPECT_EQ(profile.Y(3, 4), 0);
  double z = -1.0, gap = -1.0 - 3.3;
  for (int v = 1; v <= 4; ++v) {
    EXPECT_EQ(profile.Z(2, v), z);
    EXPECT_EQ(profile.bndGap(1, 1, v), gap);
    z += 0.7;
    gap += 0.7;
  }
  std::vector<std::vector<double>> columns(2);
  profile.gapColumns(3, columns);
  for (int v = 1; v <= 4; ++v) EXPECT_EQ(columns[1][v], profile.bndGap(1, 3, v));
  EXPECT_LT(profile.bndGap(1, 1, 1), 0);  // below the boundary at the base
  EXPECT_LT(profile.bndGap(1, 2, 4), 0);

  const BoundaryProfile none = buildBoundaryProfile(south, grids, 0);
  EXPECT_EQ(none.X(3, 1), 0);  // with no boundary nothing is written
}

}  // namespace
}  // namespace kalvenor
