#include "render/cell_split.h"

#include <gtest/gtest.h>

namespace kalvenor {
namespace {

Corners<CanvasPoint> square() {
  Corners<CanvasPoint> P{};
  P[1] = {0, 0};
  P[2] = {10, 0};
  P[3] = {10, 10};
  P[4] = {0, 10};
  closeCorners(P);
  return P;
}

CellCut cutOf(Corners<double> w, bool dropAbove = false) {
  closeCorners(w);
  return {edgeCrossings(w, square(), 1e-6), w, dropAbove};
}

double area(const std::vector<CanvasPoint>& c) {
  double twice = 0;
  for (std::size_t n = 0; n < c.size(); ++n) {
    const CanvasPoint& p = c[n];
    const CanvasPoint& q = c[(n + 1) % c.size()];
    twice += double(p.x) * q.y - double(q.x) * p.y;
  }
  return std::abs(twice) / 2;
}

// One contact across the cell: two parts that share the traced segment's ends and cover the
// cell, each in the unit of the corners on its side.
TEST(SplitCell, OneContactGivesEachSideItsUnit) {
  const std::vector<CellCut> cuts = {cutOf({0, -3, 7, 7, -3})};  // crosses edges 1-2 and 3-4
  const auto parts = splitCell(square(), cuts, 1e-6);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_DOUBLE_EQ(area(parts[0].corners) + area(parts[1].corners), 100.0);
  const Corners<std::int32_t> units{0, 1, 2, 2, 1, 1};
  for (const CellPart& part : parts) {
    const bool hasCorner2 = std::find(part.corners.begin(), part.corners.end(),
                                      CanvasPoint{10, 0}) != part.corners.end();
    EXPECT_EQ(partUnit(part, cuts, units, 1e-6), hasCorner2 ? 2 : 1);
  }
}

// Two contacts crossing inside the cell make four parts; the part above the ground cut of a
// wall is left out, and a corner in the air gives no unit.
TEST(SplitCell, CrossingContactsAndTheGround) {
  const std::vector<CellCut> crossing = {cutOf({0, -1, 1, 1, -1}), cutOf({0, -1, -1, 1, 1})};
  EXPECT_EQ(splitCell(square(), crossing, 1e-6).size(), 4u);

  const std::vector<CellCut> ground = {cutOf({0, -5, -5, 5, 5}, true)};  // air above y = 5
  const auto parts = splitCell(square(), ground, 1e-6);
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_DOUBLE_EQ(area(parts[0].corners), 50.0);
  const Corners<std::int32_t> units{0, 3, 3, kAirUnit, kAirUnit, 3};
  EXPECT_EQ(partUnit(parts[0], ground, units, 1e-6), 3);
}

// A contact that only clips a corner rounds both its crossings onto that corner: the segment
// is a point and cuts nothing, so the whole cell takes the unit of the other three corners,
// not the lone corner's.
TEST(SplitCell, ContactSqueezedToACornerCutsNothing) {
  const std::vector<CellCut> cuts = {cutOf({0, -0.1, 9, 12, 9})};
  ASSERT_EQ(cuts[0].crossings.count, 2);
  const auto parts = splitCell(square(), cuts, 1e-6);
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_DOUBLE_EQ(area(parts[0].corners), 100.0);
  EXPECT_EQ(partUnit(parts[0], cuts, Corners<std::int32_t>{0, 2, 3, 3, 3, 2}, 1e-6), 3);
}

// Without a cut the cell is one part; a single corner against the other three is outvoted.
TEST(SplitCell, UncutCellTakesTheMajorityUnit) {
  const auto parts = splitCell(square(), {}, 1e-6);
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0].corners.size(), 4u);
  EXPECT_EQ(partUnit(parts[0], {}, Corners<std::int32_t>{0, 5, 2, 2, 2, 5}, 1e-6), 2);
}

}  // namespace
}  // namespace kalvenor
