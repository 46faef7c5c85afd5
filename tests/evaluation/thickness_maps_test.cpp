#include "evaluation/thickness_maps.h"

#include <gtest/gtest.h>

#include <cmath>

#include "planar_model.h"

namespace kalvenor {
namespace {

TEST(UnitThicknessGrid, APlanarModelGivesEachUnitsThicknessAtEveryNode) {
  const PlanarModel planar;
  const auto ground = [](double x) { return 100 + 0.05 * x; };
  const auto b1 = [](double x, double y) { return -10 + 0.01 * x + 0.05 * y; };
  const auto b2 = [](double x, double y) { return 57 + 0.1 * x + 0.02 * y; };
  const struct {
    int unit;
    double (*thickness)(double x, double y);
  } units[] = {
      {1, [](double x, double y) { return std::max(0.0, -10 + 0.01 * x + 0.05 * y); }},
      {2,
       [](double x, double y) {
         return std::min(57 + 0.1 * x + 0.02 * y, 100 + 0.05 * x) -
                std::max(0.0, -10 + 0.01 * x + 0.05 * y);
       }},
      {3, [](double x, double y) { return std::max(0.0, 43 - 0.05 * x - 0.02 * y); }},
  };
  for (const auto& u : units) {
    const Array2D<double> grid = unitThicknessGrid(planar.columns(), u.unit);
    for (int i = 1; i <= 11; ++i) {
      for (int j = 1; j <= 11; ++j) {
        const double x = (i - 1) * 100.0, y = (j - 1) * 100.0;
        EXPECT_NEAR(grid(i, j), u.thickness(x, y), 1e-9)
            << "unit " << u.unit << " at " << x << ", " << y;
      }
    }
  }
  // The three fill the column from the base to the ground.
  const Array2D<double> t1 = unitThicknessGrid(planar.columns(), 1);
  const Array2D<double> t2 = unitThicknessGrid(planar.columns(), 2);
  const Array2D<double> t3 = unitThicknessGrid(planar.columns(), 3);
  EXPECT_NEAR(t1(7, 3) + t2(7, 3) + t3(7, 3), ground(600), 1e-9);
  EXPECT_GT(b2(600, 200), b1(600, 200));
}

// An unconformity (boundary 2, flat at 50) cuts a tilted boundary 1 (b1 = 5 + x / 10): below the
// unconformity unit 1 lies under b1 and unit 2 over it, above it lies unit 3 whatever b1 does.
// The ground falls from 105 in the west to 42.5 in the east (g = 105 - x / 16); the nodes are
// 100 m apart from x = 0 (i = 1).
struct Unconformity {
  Unconformity() {
    model.modelCell(1, 1) = -1;
    model.modelCell(1, 2) = -1;
    model.modelCell(2, 1) = 1;
    model.modelCell(2, 2) = -1;
    model.modelCell(3, 2) = 1;
    buildUnitOfPattern(model);
    const auto grid = [](auto z) { return makeGrid(11, 3, 0, 0, 100, 100, z); };
    grids = {{}, grid([](double x, double) { return 5 + x / 10; }), grid([](double, double) {
               return 50.0;
             })};
    display = exactDisplaySurface(grid([](double x, double) { return 105 - x / 16; }));
  }
  LogicalModel model = allocateModel(2);
  std::vector<GridSurface> grids;
  DisplaySurface display;
};

TEST(BoundaryDepthGrid, ABoundaryHasADepthOnlyWhereItIsAContactBelowTheGround) {
  Unconformity u;
  u.display.missing = MissingNodes(11, 3);
  u.display.missing.set(2, 2);
  const ModelColumns columns{u.model, u.grids, u.display, -100.0};
  const Array2D<double> depth1 = boundaryDepthGrid(columns, 1);
  const Array2D<double> depth2 = boundaryDepthGrid(columns, 2);
  const struct {
    const char* where;
    int i, k;
    double depth;  // NaN: none
  } cases[] = {
      {"b1 under the unconformity", 3, 1, 92.5 - 25},
      {"b1 just under the unconformity", 5, 1, 80 - 45},
      {"b1 above the unconformity, below the ground", 6, 1, NAN},
      {"b1 above the unconformity, just below the ground", 7, 1, NAN},
      {"b1 above the ground", 8, 1, NAN},
      {"the unconformity below the ground", 3, 2, 92.5 - 50},
      {"the unconformity just below the ground", 9, 2, 55 - 50},
      {"the unconformity above the ground", 11, 2, NAN},
  };
  for (const auto& c : cases) {
    const double value = (c.k == 1 ? depth1 : depth2)(c.i, 1);
    if (std::isnan(c.depth)) {
      EXPECT_TRUE(std::isnan(value)) << c.where << ": " << value;
    } else {
      EXPECT_NEAR(value, c.depth, 1e-9) << c.where;
    }
  }
  EXPECT_TRUE(std::isnan(depth2(2, 2))) << "a node without an elevation";
  EXPECT_TRUE(std::isnan(unitThicknessGrid(columns, 3)(2, 2))) << "a node without an elevation";
}

TEST(UnitThicknessGrid, AUnitCutOffByTheBaseOrTheGroundCountsOnlyWithinTheBlock) {
  const Unconformity u;
  const struct {
    const char* where;
    double Zbase;
    int unit, i;
    double thickness;
  } cases[] = {
      {"unit 3 between the unconformity and the ground", 0, 3, 1, 105 - 50},
      {"unit 3 where the unconformity is above the ground", 0, 3, 11, 0},
      {"unit 2 between b1 and the unconformity", 0, 2, 3, 50 - 25},
      {"unit 2 where b1 is above the unconformity", 0, 2, 9, 0},
      {"unit 1 from the base to b1", 0, 1, 3, 25},
      {"unit 1 from the base to the ground under b1", 0, 1, 11, 42.5},
      {"unit 1 under a base above b1", 30, 1, 3, 0},
      {"unit 2 from a base above b1", 30, 2, 3, 50 - 30},
      {"a ground below the base", 70, 1, 11, 0},
  };
  for (const auto& c : cases) {
    const ModelColumns columns{u.model, u.grids, u.display, c.Zbase};
    EXPECT_NEAR(unitThicknessGrid(columns, c.unit)(c.i, 2), c.thickness, 1e-9) << c.where;
  }
}

}  // namespace
}  // namespace kalvenor
