#include "evaluation/classification.h"

#include <gtest/gtest.h>

#include "grid_fixtures.h"

namespace kalvenor {
namespace {

GridSurface flatAt(double z) {
  return makeGrid(2, 2, 0, 0, 10, 10, [z](double, double) { return z; });
}

LogicalModel modelOf(int Nbd, std::initializer_list<std::initializer_list<int>> rows) {
  LogicalModel model = allocateModel(Nbd);
  int i = 1;
  for (const auto& row : rows) {
    int k = 1;
    for (int cell : row) model.modelCell(i, k++) = static_cast<std::int16_t>(cell);
    ++i;
  }
  buildUnitOfPattern(model);
  return model;
}

TEST(ClassifyPoint, OnABoundaryStrictCountsBelowAndInclusiveAbove) {
  // Two layers: unit 1 above the boundary, unit 2 below it.
  const LogicalModel model = modelOf(1, {{1}, {-1}});
  const std::vector<GridSurface> grids = {{}, flatAt(10.0)};
  double above = 10.5, on = 10.0, below = 9.0;
  EXPECT_EQ(classifyPoint(model, grids, 3, 3, above).unitStrict, 1);
  const Classification onBoundary = classifyPoint(model, grids, 3, 3, on);
  EXPECT_EQ(onBoundary.unitStrict, 2);
  EXPECT_EQ(onBoundary.unitInclusive, 1);
  const Classification under = classifyPoint(model, grids, 3, 3, below);
  EXPECT_EQ(under.unitStrict, 2);
  EXPECT_EQ(under.unitInclusive, 2);
}

// A folded surface (boundary 1) under an unconformity (boundary 2): units a and b lie below the
// unconformity on either side of the fold, c above it whatever the fold does.
TEST(ClassifyAmong, OnABoundaryTheTwoSidesDifferOnlyWhereItSeparatesUnits) {
  const LogicalModel model = modelOf(2, {{-1, -1}, {1, -1}, {0, 1}});
  const auto sides = [&](double z1, double z2, double z) {
    const Classification c = classifyAmong(model, {0, z1, z2}, z);
    return std::pair{c.unitStrict, c.unitInclusive};
  };
  EXPECT_EQ(sides(3, 5, 3), std::pair(std::int16_t{1}, std::int16_t{2}));  // the fold below
  EXPECT_EQ(sides(7, 5, 7), std::pair(std::int16_t{3}, std::int16_t{3}));  // cut off above it
  EXPECT_EQ(sides(7, 5, 5), std::pair(std::int16_t{1}, std::int16_t{3}));  // the unconformity
  // Nothing is rounded: a point a hundred-millionth above the boundary is above it.
  EXPECT_EQ(sides(3, 5, 3 + 1e-8), std::pair(std::int16_t{2}, std::int16_t{2}));
}

TEST(ClassifyTracePoint, ElevationsAreTruncatedTowardZeroNotFloored) {
  // Unit 1 above the boundary, unit 2 below it.
  const LogicalModel model = modelOf(1, {{1}, {-1}});
  // Truncated, -0.5 and 0.3 are both 0: on the boundary. Floored they would be -1 and 0: below.
  const std::vector<GridSurface> grids = {{}, flatAt(0.3)};
  const Classification c = classifyTracePoint(model, grids, 3, 3, -0.5);
  EXPECT_EQ(c.unitStrict, 2);
  EXPECT_EQ(c.unitInclusive, 1);
  // 12.9 and 12.1 are both 12 whole metres: on the boundary as well.
  const std::vector<GridSurface> higher = {{}, flatAt(12.1)};
  EXPECT_EQ(classifyTracePoint(model, higher, 3, 3, 12.9).unitInclusive, 1);
  EXPECT_EQ(classifyTracePoint(model, higher, 3, 3, 12.9).unitStrict, 2);
  EXPECT_EQ(classifyTracePoint(model, higher, 3, 3, 13.0).unitStrict, 1);
}

TEST(ClassifyPoint, ElevationsAreComparedAtSevenDecimalsAndTheRoundedZIsWrittenBack) {
  const LogicalModel model = modelOf(1, {{-1}, {1}});
  const std::vector<GridSurface> grids = {{}, flatAt(100.00000004)};
  double z = 99.99999996;  // both round to 100.0000000
  const Classification result = classifyPoint(model, grids, 1, 1, z);
  EXPECT_EQ(result.unitStrict, 1);
  EXPECT_EQ(result.unitInclusive, 2);
  EXPECT_EQ(z, 100.0);
  EXPECT_EQ(roundTo7Decimals(-1234.56789012), -1234.5678901);
}

TEST(ClassifyPoint, TheLogicalModelSettlesEveryPattern) {
  const std::vector<GridSurface> grids = {{}, flatAt(0), flatAt(10)};
  // A first row of zeros takes every pattern.
  const LogicalModel greedy = modelOf(2, {{0, 0}, {1, 1}, {-1, -1}});
  for (double height : {-5.0, 5.0, 15.0}) {
    double z = height;
    EXPECT_EQ(classifyPoint(greedy, grids, 1, 1, z).unitStrict, 1);
  }
  // Nothing lies above the lower boundary but below the upper one: such points get 0.
  const LogicalModel gap = modelOf(2, {{-1, -1}, {1, 1}, {-1, 1}});
  double between = 5.0, top = 15.0, bottom = -5.0;
  EXPECT_EQ(classifyPoint(gap, grids, 1, 1, between).unitStrict, 0);
  EXPECT_EQ(classifyPoint(gap, grids, 1, 1, top).unitStrict, 2);
  EXPECT_EQ(classifyPoint(gap, grids, 1, 1, bottom).unitStrict, 1);
}

TEST(ClassifyPoint, WithoutBoundariesEveryPointIsTheOneUnitAndZStaysAsItWas) {
  const LogicalModel model = modelOf(0, {{}});
  double z = 1.23456789012;
  EXPECT_EQ(classifyPoint(model, {{}}, 0, 0, z).unitStrict, 1);
  EXPECT_EQ(z, 1.23456789012);
}

TEST(ColumnClassifier, GivesExactlyWhatClassifyPointGives) {
  const std::vector<GridSurface> grids = {
      {},
      makeGrid(4, 4, 0, 0, 3, 3, [](double x, double y) { return 0.1 * x + 0.37 * y; }),
      makeGrid(3, 5, -1, -1, 5, 2.5, [](double x, double y) { return 2 + 0.21 * x * y; })};
  const LogicalModel model = modelOf(2, {{-1, -1}, {1, -1}, {-1, 1}});
  ColumnClassifier column(model, grids);
  for (double x : {0.0, 1.7, 8.9}) {
    const double y = 2.0 + x / 3;
    column.moveTo(x, y);
    for (double z = -3; z < 12; z += 0.0137) {
      double a = z, b = z;
      const Classification expected = classifyPoint(model, grids, x, y, a);
      const Classification actual = column.classify(b);
      ASSERT_EQ(actual.unitStrict, expected.unitStrict);
      ASSERT_EQ(actual.unitInclusive, expected.unitInclusive);
      ASSERT_EQ(a, b);
    }
  }
}

// Levels from -3 every 0.1 (not exact in binary) against boundaries that meet levels exactly, meet
// them only after rounding to 7 decimals, cross the column, or lie wholly below or above it, in a
// model whose units come back higher up (so runs of one unit are not one per unit).
TEST(ColumnClassifier, LevelsClassifiedInRunsGetWhatEachGetsAlone) {
  const std::vector<GridSurface> grids = {
      {},
      flatAt(0.3),
      makeGrid(2, 2, 0, 0, 10, 10, [](double x, double) { return 4.00000004 + 0.5 * x; }),
      makeGrid(3, 3, 0, 0, 5, 5, [](double x, double y) { return 7.5 - 0.3 * x + 0.2 * y; }),
      flatAt(-40.0)};
  const LogicalModel model =
      modelOf(4, {{-1, 0, 0, 0}, {1, -1, -1, 1}, {1, 1, -1, 1}, {1, -1, 1, 1}, {1, 1, 1, 1}});
  LineGeometry levels;
  levels.nV = 161;
  levels.z0 = -3;
  levels.dzV = 0.1;
  ColumnClassifier column(model, grids);
  for (const double x : {0.0, 1.0, 3.3, 10.0}) {
    column.moveTo(x, 2.0);
    for (const double ceiling : {1e9, 12.0, 4.1, 2.0, -3.0, -3.5, -1e9}) {
      SCOPED_TRACE("x " + std::to_string(x) + ", ceiling " + std::to_string(ceiling));
      std::vector<int> unit(levels.nV + 2, -99);
      int next = 1;
      const int top = column.classifyLevels(levels, ceiling, [&](int first, int last, int u) {
        EXPECT_EQ(first, next) << "runs in order, without gaps";
        for (int v = first; v <= last; ++v) unit[v] = u;
        next = last + 1;
      });
      EXPECT_EQ(next, top + 1);
      for (int v = 1; v <= levels.nV; ++v) {
        double z = levels.z(v);
        if (z > ceiling) {
          EXPECT_GT(v, top);
          continue;
        }
        ASSERT_LE(v, top);
        EXPECT_EQ(unit[v], column.classify(z).unitStrict) << "level " << v << ", z " << z;
      }
    }
  }
}

}  // namespace
}  // namespace kalvenor
