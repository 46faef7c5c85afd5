#include "render/line_tracing.h"

#include <gtest/gtest.h>

#include "recording_canvas.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

Corners<CanvasPoint> square(int size) {
  Corners<CanvasPoint> P{};
  P[1] = {0, 0};
  P[2] = {size, 0};
  P[3] = {size, size};
  P[4] = {0, size};
  closeCorners(P);
  return P;
}

Corners<double> values(double a, double b, double c, double d) {
  Corners<double> w{0, a, b, c, d, a};
  return w;
}

TEST(EdgeCrossings, InterpolatesAlongTheProjectedEdgesAndFloors) {
  const CellCrossings c = edgeCrossings(values(-1, 2, 2, -1), square(10), 1e-6);
  ASSERT_EQ(c.count, 2);
  EXPECT_EQ(c.at[1].edge, 1);
  EXPECT_EQ(c.at[1].X, 3);  // Int(10 / 3)
  EXPECT_EQ(c.at[1].Y, 0);
  EXPECT_EQ(c.at[2].edge, 3);
  EXPECT_EQ(c.at[2].X, 3);  // from corner 3 at x 10 toward corner 4: Int(-10 * 2/3) + 10
  EXPECT_EQ(c.at[2].Y, 10);
}

TEST(EdgeCrossings, ACornerExactlyOnTheLevelCountsAsJustAbove) {
  // Corner 1 is 0: it is lifted to zEps, so the edges to the negative corners 2 and 4 cross and
  // the line passes between corner 1 and its lower neighbours.
  const CellCrossings c = edgeCrossings(values(0, -1, 1, -1), square(100), 0.001);
  ASSERT_EQ(c.count, 4);
  EXPECT_EQ(c.at[1].X, 0);  // right at corner 1
  EXPECT_EQ(c.at[4].edge, 4);
}

TEST(EdgeCrossings, TwoZeroEndsOnAFlatSurfaceTraceNothing) {
  const CellCrossings c = edgeCrossings(values(0, 0, 1, 1), square(10), 0);
  EXPECT_TRUE(c.degenerate);
  RecordingCanvas canvas;
  drawCrossingSegments(canvas, c);
  EXPECT_TRUE(canvas.ops.empty());
}

TEST(CrossingSegments, FourCrossingsJoinTheNearerNeighbourTiesGoOneFour) {
  RecordingCanvas tie;
  drawCrossingSegments(tie, edgeCrossings(values(1, -1, 1, -1), square(10), 1e-6));
  ASSERT_EQ(tie.ops.size(), 2u);
  // Crossings at (5,0), (10,5), (5,10), (0,5): d12 = d14, so 1-4 and 2-3.
  EXPECT_EQ(tie.ops[0].coords, (std::vector<double>{5, 0, 0, 5}));
  EXPECT_EQ(tie.ops[1].coords, (std::vector<double>{10, 5, 5, 10}));

  RecordingCanvas nearer;
  drawCrossingSegments(nearer, edgeCrossings(values(1, -3, 1, -1), square(100), 1e-6));
  ASSERT_EQ(nearer.ops.size(), 2u);
  // Crossing 4 (0, 50) lies nearer crossing 1 (25, 0) than crossing 2 (100, 75) does.
  EXPECT_EQ(nearer.ops[0].coords, (std::vector<double>{25, 0, 0, 50}));
}

TEST(BoundaryInCell, NoLineWhereTheSameUnitLiesOnBothSides) {
  const Corners<double> x{0, 0, 1, 1, 0, 0}, y{0, 0, 0, 1, 1, 0}, z{0, 5, 5, 5, 5, 5};
  int calls = 0;
  RecordingCanvas inside;
  drawBoundaryInCell(inside, square(10), values(-1, 1, 1, -1), {x, y, z}, 1e-6,
                     [&](double, double, double) {
                       ++calls;
                       return Classification{3, 3};
                     });
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(inside.ops.empty());

  RecordingCanvas contact;
  drawBoundaryInCell(contact, square(10), values(-1, 1, 1, -1), {x, y, z}, 1e-6,
                     [](double, double py, double) {
                       return py < 0.5 ? Classification{1, 2} : Classification{2, 2};
                     });
  ASSERT_EQ(contact.ops.size(), 1u);
  EXPECT_EQ(contact.ops[0].kind, Op::Line);
}

TEST(BoundaryInCell, CrossingsAreClassifiedAtTheirModelPosition) {
  const Corners<double> x{0, 100, 110, 110, 100, 100}, y{0, 0, 0, 10, 10, 0},
      z{0, 50, 60, 60, 50, 50};
  std::vector<std::array<double, 3>> asked;
  RecordingCanvas canvas;
  drawBoundaryInCell(canvas, square(10), values(-1, 3, 3, -1), {x, y, z}, 1e-6,
                     [&](double px, double py, double pz) {
                       asked.push_back({px, py, pz});
                       return Classification{1, 2};
                     });
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_DOUBLE_EQ(asked[0][0], 102.5);  // a quarter along edge 1
  EXPECT_DOUBLE_EQ(asked[0][2], 52.5);
  EXPECT_DOUBLE_EQ(asked[1][1], 10);  // on edge 3
}

TEST(ContoursInCell, LevelsFromCstInStepsOfCinUpToCenWithinTheCell) {
  RecordingCanvas canvas;
  // Elevations 12..28 across the cell; levels 10, 15, 20, 25 exist; Cen 22 stops at 20.
  drawContoursInCell(canvas, square(100), values(12, 28, 28, 12), {10, 22, 5}, 1e-6);
  const auto lines = canvas.of(Op::Line);
  ASSERT_EQ(lines.size(), 2u);  // levels 15 and 20
  EXPECT_EQ(canvas.of(Op::Point).size(), 4u);
  EXPECT_EQ(lines[0].coords[0], 18);  // Int(100 * 3 / 16)
  EXPECT_EQ(lines[1].coords[0], 50);

  RecordingCanvas reversed;
  drawContoursInCell(reversed, square(100), values(12, 28, 28, 12), {30, 10, 5}, 1e-6);
  EXPECT_TRUE(reversed.ops.empty());  // Cst above Cen: no level
}

TEST(ContourSettings, OnlyASaneNumberOfLevelsIsDrawable) {
  EXPECT_TRUE(contoursDrawable({0, 100, 10}));
  EXPECT_FALSE(contoursDrawable({0, 100, 0}));
  EXPECT_FALSE(contoursDrawable({0, 100, 1e-6}));
  EXPECT_TRUE(contoursDrawable({100, 0, 10}));  // nothing to draw, but nothing wrong either
}

}  // namespace
}  // namespace kalvenor
