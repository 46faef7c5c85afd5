#include "render/cell_split.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

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

// A contact that only clips a corner cuts off a sliver that rounds to no pixel, so the whole
// cell takes the unit of the other three corners, not the lone corner's.
TEST(SplitCell, ContactSqueezedToACornerCutsNothing) {
  const std::vector<CellCut> cuts = {cutOf({0, -0.1, 9, 12, 9})};
  ASSERT_EQ(cuts[0].crossings.count, 2);
  const auto parts = splitCell(square(), cuts, 1e-6);
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_DOUBLE_EQ(area(parts[0].corners), 100.0);
  EXPECT_EQ(partUnit(parts[0], cuts, Corners<std::int32_t>{0, 2, 3, 3, 3, 2}, 1e-6), 3);
}

// Two slanted cells side by side, as a projection makes them, cut by one contact across their
// shared edge. The tracer rounds each crossing to a pixel off that edge, and a cut along the
// line through rounded points would meet the edge at a different place in each cell; the parts
// of both must meet on the edge at the same point, or pixels between them stay unfilled.
TEST(SplitCell, NeighboursMeetOnTheirSharedEdge) {
  const auto cell = [](CanvasPoint a, CanvasPoint b, CanvasPoint c, CanvasPoint d) {
    Corners<CanvasPoint> P{};
    P[1] = a;
    P[2] = b;
    P[3] = c;
    P[4] = d;
    closeCorners(P);
    return P;
  };
  const Corners<CanvasPoint> left = cell({0, 0}, {17, 5}, {21, 19}, {3, 13});
  const Corners<CanvasPoint> right = cell({17, 5}, {35, 9}, {38, 24}, {21, 19});
  // The left cell's corners 2 and 3 are the right cell's corners 1 and 4.
  Corners<double> wLeft{0, -4.42, -0.956, 1.486, 6.155};
  Corners<double> wRight{0, -0.956, -8.244, 0.463, 1.486};
  closeCorners(wLeft);
  closeCorners(wRight);
  const auto parts = [](const Corners<CanvasPoint>& P, const Corners<double>& w) {
    return splitCell(P, {{edgeCrossings(w, P, 1e-6), w, false}}, 1e-6);
  };
  // The corners of the parts strictly between the shared edge's ends, within a pixel of it.
  const auto onSharedEdge = [](const std::vector<CellPart>& split) {
    std::vector<std::pair<std::int32_t, std::int32_t>> found;
    for (const CellPart& part : split) {
      for (const CanvasPoint& c : part.corners) {
        const double across = (21.0 - 17) * (c.y - 5) - (19.0 - 5) * (c.x - 17);
        const bool inside = c.y > 5 && c.y < 19;
        if (inside && std::abs(across) / std::hypot(4.0, 14.0) < 1) found.push_back({c.x, c.y});
      }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
  };
  const auto fromLeft = onSharedEdge(parts(left, wLeft));
  ASSERT_EQ(fromLeft.size(), 1u);
  EXPECT_EQ(fromLeft, onSharedEdge(parts(right, wRight)));
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
