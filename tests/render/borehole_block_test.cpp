#include "render/borehole_block.h"

#include <gtest/gtest.h>

#include <numbers>

#include "../evaluation/grid_fixtures.h"
#include "borehole_fixtures.h"
#include "render/borehole_marks.h"
#include "render/borehole_trace.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

const PackedColor kRed = packRgb(200, 0, 0);
const PackedColor kLineColor = packRgb(10, 20, 30);

// A flat surface at 50 over 0..200 in both directions, a block on a base at 0, seen from the
// south, one model metre a pixel.
class BoreholeBlockTest : public ::testing::Test {
 protected:
  BoreholeBlockTest() {
    view.Alpha = 180;
    view.Gamma = 0;
    view.Sca = 1;
    view.Ve = 1;
  }
  Projection projection() const { return Projection(view, {400, 400}, display, 0.0); }
  double yAt(double z) const { return projection().project(100, 100, z)->y; }
  void draw(bool labels = false) {
    drawBlockBoreholes(canvas, projection(), {set, display, 0.0, unitColor, kLineColor, labels});
  }
  // The length the hole's lines cover between two elevations, and the longest of them.
  std::pair<double, double> drawnBetween(double top, double bottom) const {
    double covered = 0, longest = 0;
    for (const Op& line : canvas.linesIn(kRed)) {
      const double y0 = std::min(line.coords[1], line.coords[3]);
      const double y1 = std::max(line.coords[1], line.coords[3]);
      if (y0 < yAt(top) || y1 > yAt(bottom)) continue;
      covered += lengthOf(line);
      longest = std::max(longest, lengthOf(line));
    }
    return {covered, longest};
  }

  DisplaySurface display =
      exactDisplaySurface(makeGrid(3, 3, 0, 0, 100, 100, [](double, double) { return 50.0; }));
  ViewSettings view;
  std::vector<PackedColor> unitColor = {kBlack, kRed};
  BoreholeSet set;
  RecordingCanvas canvas{400, 400};
};

TEST_F(BoreholeBlockTest, AHoleIsSolidOnAndAboveTheSurfaceAndDashedBelowIt) {
  struct Case {
    double x, collarZ;
    double solidTop, solidBottom;  // equal when nothing is solid
    double dashedTop, dashedBottom;
  };
  const Case cases[] = {
      {100, 60, 60, 50, 50, 20},  // through the surface
      {100, 100, 100, 60, 0, 0},  // wholly above it
      {100, 45, 0, 0, 45, 5},     // wholly below it
      {100, 20, 0, 0, 20, 0},     // below, cut at the base
      {300, 45, 45, 5, 0, 0},     // beyond the surface: nothing hides it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.collarZ);
    set.holes = {makeHole("H", c.x, 100, c.collarZ, 40, {{0, 40, "A", 1}})};
    canvas.ops.clear();
    draw();
    const auto solid = drawnBetween(c.solidTop, c.solidBottom);
    EXPECT_NEAR(solid.first, c.solidTop - c.solidBottom, 1);
    const double dashedSpan = c.dashedTop - c.dashedBottom;
    const auto dashed = drawnBetween(c.dashedTop, c.dashedBottom);
    const double dashShare = DashedLine::kDash / (DashedLine::kDash + DashedLine::kGap);
    EXPECT_NEAR(dashed.first, dashShare * dashedSpan, DashedLine::kDash);
    EXPECT_LE(dashed.second, DashedLine::kDash + 1e-3);
    const auto all = drawnBetween(std::max(c.solidTop, c.dashedTop), 0);
    EXPECT_NEAR(all.first, solid.first + dashed.first, 1e-3);  // nothing else drawn
  }
}

TEST_F(BoreholeBlockTest, AHoleIsDrawnInItsLoggedUnitsAndThinWhereNothingIsLogged) {
  set.holes = {makeHole("H", 100, 100, 100, 40, {{0, 10, "A", 1}, {20, 30, "X", 0}})};
  draw();
  struct Case {
    double top, bottom;
    PackedColor color;
    int width;
  };
  const Case cases[] = {{100, 90, kRed, 2},
                        {90, 80, kLineColor, 1},
                        {80, 70, kUnknownUnitColor, 2},
                        {70, 60, kLineColor, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.top);
    bool found = false;
    for (const Op& line : canvas.of(Op::Line)) {
      if (std::min(line.coords[1], line.coords[3]) < yAt(c.top) ||
          std::max(line.coords[1], line.coords[3]) > yAt(c.bottom))
        continue;
      found = true;
      EXPECT_EQ(line.pen, c.color);
      EXPECT_EQ(line.penWidth, c.width);
    }
    EXPECT_TRUE(found);
  }
}

TEST_F(BoreholeBlockTest, CollarsAreMarkedAndNamedOnlyWhenAsked) {
  set.holes = {makeHole("BH-7", 100, 100, 50, 40, {{0, 40, "A", 1}})};
  for (const bool labels : {false, true}) {
    SCOPED_TRACE(labels);
    canvas.ops.clear();
    draw(labels);
    const auto marks = canvas.of(Op::Polygon);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].coords.size(), 16u);  // eight corners
    EXPECT_EQ(marks[0].fill, kWhite);
    EXPECT_EQ(marks[0].pen, kBlack);
    const PixelBox box = boxOf(marks);
    const CanvasPoint collar = *projection().project(100, 100, 50);
    EXPECT_EQ((box.left + box.right) / 2, collar.x);
    EXPECT_EQ((box.top + box.bottom) / 2, collar.y);
    EXPECT_GT(canvas.ops.size(), 1u);
    EXPECT_EQ(canvas.ops.back().kind, labels ? Op::Text : Op::Polygon);  // over the lines
    const auto texts = canvas.of(Op::Text);
    ASSERT_EQ(texts.size(), labels ? 1u : 0u);
    if (labels) {
      EXPECT_EQ(texts[0].text, "BH-7");
      EXPECT_EQ(texts[0].pen, kLineColor);
    }
  }
}

TEST_F(BoreholeBlockTest, OnThePlanMapADeviatedHoleShowsWhereItRuns) {
  view.Gamma = 90;  // straight down
  set.holes = {makeHole("H", 50, 100, 50, 100, {{0, 100, "A", 1}}, {{0, 90, -45}})};
  draw();
  const PixelBox lines = boxOf(canvas.linesIn(kRed));
  const CanvasPoint collar = *projection().project(50, 100, 50);
  const CanvasPoint bottom = *projection().project(100, 100, 0);  // cut at the base
  EXPECT_NEAR(lines.left, collar.x, 1);
  EXPECT_NEAR(lines.right, bottom.x, 1);
  EXPECT_NEAR(lines.top, collar.y, 1);
  EXPECT_NEAR(lines.bottom, collar.y, 1);
  // Below the surface all the way: dashes only.
  for (const Op& line : canvas.linesIn(kRed)) EXPECT_LE(lengthOf(line), DashedLine::kDash + 1e-3);
}

}  // namespace
}  // namespace kalvenor
