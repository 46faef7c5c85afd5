#include "exports/section_contacts.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "../evaluation/grid_fixtures.h"

namespace kalvenor {
namespace {

// Units stacked on the boundaries: unit u + 1 lies above boundary u and below every higher one.
// Where a higher boundary dips below a lower one it cuts it off, as an unconformity does.
LogicalModel stackedModel(int Nbd) {
  LogicalModel model = allocateModel(Nbd);
  for (int u = 1; u <= Nbd + 1; ++u) {
    for (int k = u - 1; k <= Nbd; ++k) {
      if (k >= 1) model.modelCell(u, k) = k == u - 1 ? 1 : -1;
    }
  }
  buildUnitOfPattern(model);
  return model;
}

// A section due east from (0, 7): five columns 3 apart at x = 0, 3, 6, 9, 12, the base at 0 and
// the ground at 10, 10, 16, 10, 10. Every boundary grid has its nodes on those columns, so each
// boundary's elevation under a column is exactly the value given for it.
class SectionContactsTest : public ::testing::Test {
 protected:
  using Column = std::array<double, 5>;

  SectionContactsTest() {
    section_.Xstart = 0;
    section_.Ystart = 7;
    section_.Dxx = 3;
    section_.Dyy = 0;
    section_.Nxy = 5;
    section_.Zbase = 0;
    section_.sectionSurfZ = {0, 10, 10, 16, 10, 10};
    section_.groundKnown.assign(6, true);
  }

  std::vector<ContactLine> contacts(const std::vector<Column>& boundaries) {
    std::vector<GridSurface> grids(1);
    for (const Column& z : boundaries) {
      grids.push_back(
          makeGrid(5, 2, 0, 0, 3, 10, [&z](double x, double) { return z[std::lround(x / 3)]; }));
    }
    const int Nbd = static_cast<int>(boundaries.size());
    const LogicalModel model = stackedModel(Nbd);
    const LineGeometry line{5, 2, 0, 7, 0, 3, 0, 16};
    const BoundaryProfile profile = buildBoundaryProfile(line, grids, Nbd);
    return sectionContacts({section_, profile, model});
  }

  SectionGrid section_;
};

void expectPoint(const ContactPoint& p, double x, double z) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, 7, 1e-9);
  EXPECT_NEAR(p.z, z, 1e-9);
  EXPECT_NEAR(p.distance, x, 1e-9);  // the section starts at x 0 and runs east
}

TEST_F(SectionContactsTest, TheGroundRunsTheWholeSectionFirst) {
  const std::vector<ContactLine> lines = contacts({});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].boundary, 0);
  ASSERT_EQ(lines[0].points.size(), 5u);
  expectPoint(lines[0].points[2], 6, 16);
  expectPoint(lines[0].points[4], 12, 10);
}

TEST_F(SectionContactsTest, ABoundaryRisingFromBelowTheBaseStartsWhereItCrossesIt) {
  // -1 at x 3 and 2 at x 6: the base is crossed a third of the way, at x 4.
  const std::vector<ContactLine> lines = contacts({{-4, -1, 2, 5, 8}});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].boundary, 1);
  ASSERT_EQ(lines[1].points.size(), 4u);
  expectPoint(lines[1].points[0], 4, 0);
  expectPoint(lines[1].points[1], 6, 2);
  expectPoint(lines[1].points[3], 12, 8);
}

TEST_F(SectionContactsTest, ABoundaryComingDownThroughARisingGroundStartsWhereTheyMeet) {
  // From x 3 to 6 the ground rises 10 -> 16 and the boundary falls 11 -> 8: they meet a ninth of
  // the way, at x 3 1/3 and height 10 2/3.
  const std::vector<ContactLine> lines = contacts({{14, 11, 8, 5, 2}});
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[1].points.size(), 4u);
  expectPoint(lines[1].points[0], 3 + 1.0 / 3, 10 + 2.0 / 3);
  expectPoint(lines[1].points[1], 6, 8);
}

TEST_F(SectionContactsTest, ABoundaryLeavingTheRangeIsSplitWhereItLeavesAndReturns) {
  // 5, 12, 5, -2, 5: above the ground between x 15/7 and 3 + 6/13, below the base between
  // 6 + 15/7 and 9 + 6/7.
  const std::vector<ContactLine> lines = contacts({{5, 12, 5, -2, 5}});
  ASSERT_EQ(lines.size(), 4u);
  for (std::size_t n = 1; n < 4; ++n) EXPECT_EQ(lines[n].boundary, 1);
  ASSERT_EQ(lines[1].points.size(), 2u);
  expectPoint(lines[1].points[0], 0, 5);
  expectPoint(lines[1].points[1], 15.0 / 7, 10);
  ASSERT_EQ(lines[2].points.size(), 3u);
  expectPoint(lines[2].points[0], 3 + 6.0 / 13, 12 - 14.0 / 13);
  expectPoint(lines[2].points[1], 6, 5);
  expectPoint(lines[2].points[2], 6 + 15.0 / 7, 0);
  ASSERT_EQ(lines[3].points.size(), 2u);
  expectPoint(lines[3].points[0], 9 + 6.0 / 7, 0);
  expectPoint(lines[3].points[1], 12, 5);
}

TEST_F(SectionContactsTest, BoundariesOutsideTheRangeOrMerelyTouchingItGiveNoLine) {
  // Wholly above the ground, wholly below the base, and touching the ground at x 6 only.
  const std::vector<ContactLine> lines =
      contacts({{-1, -1, -1, -1, -1}, {20, 20, 20, 20, 20}, {30, 20, 16, 20, 30}});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].boundary, 0);
}

TEST_F(SectionContactsTest, ABoundaryCutOffByAHigherOneEndsWhereTheyCross) {
  // Boundary 1 rises 1, 3, 6, 8, 10 through boundary 2, flat at 5, a third of the way from x 3
  // to x 6. Above boundary 2 the same unit lies on both sides of boundary 1: no contact there.
  // Boundary 2 separates units everywhere and runs whole, without a vertex where they cross.
  const std::vector<ContactLine> lines = contacts({{1, 3, 6, 8, 10}, {5, 5, 5, 5, 5}});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].boundary, 1);
  ASSERT_EQ(lines[1].points.size(), 3u);
  expectPoint(lines[1].points[0], 0, 1);
  expectPoint(lines[1].points[2], 5, 5);
  EXPECT_EQ(lines[2].boundary, 2);
  ASSERT_EQ(lines[2].points.size(), 5u);
  expectPoint(lines[2].points[1], 3, 5);
  expectPoint(lines[2].points[2], 6, 5);
}

TEST_F(SectionContactsTest, BoundariesFollowTheGroundInOrderAndKeepTheirNumbers) {
  const std::vector<ContactLine> lines =
      contacts({{1, 1, 1, 1, 1}, {20, 20, 20, 20, 20}, {2, 2, 2, 2, 2}});
  std::vector<int> order;
  for (const ContactLine& line : lines) order.push_back(line.boundary);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 3}));
}

// The build keeps an elevation under a column over no known ground (the lowest one of the
// surface); the flag, not the value, says it is not there.
TEST_F(SectionContactsTest, AColumnOverNoKnownGroundBreaksEveryLineOnBothSides) {
  section_.groundKnown[3] = false;
  const std::vector<ContactLine> lines = contacts({{1, 1, 1, 1, 1}});
  ASSERT_EQ(lines.size(), 4u);
  for (const ContactLine& line : lines) ASSERT_EQ(line.points.size(), 2u);
  EXPECT_EQ(lines[0].boundary, 0);
  expectPoint(lines[0].points[1], 3, 10);
  expectPoint(lines[1].points[0], 9, 10);
  EXPECT_EQ(lines[2].boundary, 1);
  expectPoint(lines[2].points[1], 3, 1);
  expectPoint(lines[3].points[0], 9, 1);
}

// Along a polyline the points stand on the columns' own places and a crossing between two
// columns lies on the segment between them: east along y 7 to x 6, then north.
TEST_F(SectionContactsTest, OnAPolylineTheLinesFollowTheBend) {
  section_.columnX = {0, 0, 3, 6, 6, 6};
  section_.columnY = {0, 7, 7, 7, 10, 13};
  section_.columnDistance = {0, 0, 3, 6, 9, 12};
  section_.columnSegment = {0, 1, 1, 1, 2, 2};
  section_.polylineLength = 12;
  // Below the base up to column 4, then rising through it a third of the way to column 5.
  const std::vector<ContactLine> lines = contacts({{-4, -4, -4, -1, 2}});
  ASSERT_EQ(lines.size(), 2u);
  const std::vector<ContactPoint>& ground = lines[0].points;
  ASSERT_EQ(ground.size(), 5u);
  const struct {
    int h;
    double x, y, distance;
  } columns[] = {{1, 0, 7, 0}, {3, 6, 7, 6}, {4, 6, 10, 9}, {5, 6, 13, 12}};
  for (const auto& c : columns) {
    EXPECT_NEAR(ground[c.h - 1].x, c.x, 1e-9) << "column " << c.h;
    EXPECT_NEAR(ground[c.h - 1].y, c.y, 1e-9) << "column " << c.h;
    EXPECT_NEAR(ground[c.h - 1].distance, c.distance, 1e-9) << "column " << c.h;
  }
  const ContactPoint& start = lines[1].points.front();
  EXPECT_NEAR(start.x, 6, 1e-9);
  EXPECT_NEAR(start.y, 11, 1e-9);
  EXPECT_NEAR(start.z, 0, 1e-9);
  EXPECT_NEAR(start.distance, 10, 1e-9);
}

}  // namespace
}  // namespace kalvenor
