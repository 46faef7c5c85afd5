#include "render/borehole_section.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>

#include "../evaluation/grid_fixtures.h"
#include "borehole_fixtures.h"
#include "render/borehole_trace.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

const PackedColor kRed = packRgb(200, 0, 0);
const PackedColor kBlue = packRgb(0, 0, 200);
const PackedColor kIdColor = packRgb(10, 20, 30);

// An east-west section at y = 100 from x = 0 to 200 across a flat surface at 50, seen from the
// south, one model metre a pixel.
class BoreholeSectionTest : public ::testing::Test {
 protected:
  BoreholeSectionTest() {
    section.Xstart = 0;
    section.Ystart = 100;
    section.Xend = 200;
    section.Yend = 100;
    section.Fai = std::numbers::pi / 2;
    view.Alpha = 180;
    view.Gamma = 0;
    view.Sca = 1;
    view.Ve = 1;
  }
  Projection projection() const { return Projection(view, {400, 400}, display, 0.0); }
  // The canvas point of a distance along the section and an elevation.
  CanvasPoint at(double along, double z) const { return *projection().project(along, 100, z); }
  SectionBoreholes input(double buffer = 20) const {
    return {set, section, buffer, 0.0, unitColor, kIdColor};
  }
  void draw(double buffer = 20) { drawSectionBoreholes(canvas, projection(), input(buffer)); }

  DisplaySurface display =
      exactDisplaySurface(makeGrid(3, 3, 0, 0, 100, 100, [](double, double) { return 50.0; }));
  SectionGrid section;
  ViewSettings view;
  std::vector<PackedColor> unitColor = {kBlack, kRed, kBlue};
  BoreholeSet set;
  RecordingCanvas canvas{400, 400};
};

TEST_F(BoreholeSectionTest, AVerticalHoleStandsAtItsDistanceAlongTheLineFromCollarToBottom) {
  set.holes = {makeHole("BH1", 50, 110, 50, 40, {{0, 10, "A", 2}, {10, 40, "B", 1}})};
  draw();
  const PixelBox fills = boxOf(canvas.of(Op::Polygon));
  const CanvasPoint collar = at(50, 50), bottom = at(50, 10);
  EXPECT_EQ(fills.left, collar.x - 5);
  EXPECT_EQ(fills.right, collar.x + 5);
  EXPECT_EQ(fills.top, collar.y);
  EXPECT_EQ(fills.bottom, bottom.y);
  const auto texts = canvas.of(Op::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "BH1");
  EXPECT_EQ(texts[0].pen, kIdColor);
  EXPECT_EQ(texts[0].coords[0] + canvas.textWidth("BH1", texts[0].size) / 2, collar.x);
  EXPECT_LT(texts[0].coords[1], collar.y);  // above the top
}

TEST_F(BoreholeSectionTest, OnlyLoggedHolesWithinTheBufferAndBetweenTheEndsAreDrawn) {
  struct Case {
    double x, y;
    bool logged, drawn;
  };
  const Case cases[] = {
      {50, 100, true, true},   {50, 119, true, true},  {50, 81, true, true},
      {50, 121, true, false},  {50, 79, true, false},  {-1, 100, true, false},
      {201, 100, true, false}, {200, 100, true, true}, {50, 100, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << (c.logged ? "" : ", not logged"));
    std::vector<LoggedInterval> log;
    if (c.logged) log = {{0, 40, "A", 1}};
    set.holes = {makeHole("H", c.x, c.y, 50, 40, log)};
    canvas.ops.clear();
    draw();
    EXPECT_EQ(canvas.ops.empty(), !c.drawn);
    EXPECT_EQ(canvas.of(Op::Text).size(), c.drawn ? 1u : 0u);
  }
}

TEST_F(BoreholeSectionTest, NothingIsDrawnWithoutASectionLine) {
  section = SectionGrid{};
  set.holes = {makeHole("H", 0, 0, 50, 40, {{0, 40, "A", 1}})};
  draw();
  EXPECT_TRUE(canvas.ops.empty());
}

TEST_F(BoreholeSectionTest, ADeviatedHoleIsCutWhereItLeavesTheBuffer) {
  // Collars on the line or 40 m north of it, holes dipping 45 degrees: along their path every
  // metre down is a metre across.
  struct Case {
    double collarY, azimuth;
    double top, bottom;  // elevations of the part drawn
  };
  const Case cases[] = {
      {100, 0, 50, 30},    // north from the line: out of the buffer 20 m down
      {100, 180, 50, 30},  // south the same
      {100, 90, 50, 0},    // east along the line: in the buffer down to the base
      {140, 180, 30, 0},   // from the north across the line: in from 20 m down to the base
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.collarY << ", " << c.azimuth);
    set.holes = {makeHole("H", 100, c.collarY, 50, 100, {{0, 100, "A", 1}}, {{0, c.azimuth, -45}})};
    const auto parts = holeOnSection(set.holes[0], input());
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_NEAR(parts[0].front().z, c.top, 1e-9);
    EXPECT_NEAR(parts[0].back().z, c.bottom, 1e-9);
    EXPECT_NEAR(parts[0].back().depth, (50 - c.bottom) * std::numbers::sqrt2, 1e-9);
  }
}

TEST_F(BoreholeSectionTest, AHolePassingThroughTheBufferIsDrawnOnlyWhereItIsIn) {
  // From 40 m south of the line northward at 45 degrees: in the buffer from 20 to 60 m down.
  set.holes = {makeHole("H", 100, 60, 100, 100, {{0, 100, "A", 1}}, {{0, 0, -45}})};
  draw();
  const PixelBox fills = boxOf(canvas.of(Op::Polygon));
  EXPECT_NEAR(fills.top, at(100, 80).y, 1);
  EXPECT_NEAR(fills.bottom, at(100, 40).y, 1);
  const auto texts = canvas.of(Op::Text);
  ASSERT_EQ(texts.size(), 1u);  // the id over the top of what is drawn
  EXPECT_LT(texts[0].coords[1], fills.top);
}

TEST_F(BoreholeSectionTest, EachLoggedUnitIsDrawnInItsColourAndAnUnknownOneInGrey) {
  struct Case {
    std::int16_t unit;
    PackedColor color;
  };
  const Case cases[] = {{1, kRed}, {2, kBlue}, {0, kUnknownUnitColor}, {7, kBlack}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.unit);
    set.holes = {makeHole("H", 50, 100, 50, 40, {{0, 40, "U", c.unit}})};
    canvas.ops.clear();
    draw();
    const auto fills = canvas.of(Op::Polygon);
    ASSERT_FALSE(fills.empty());
    for (const Op& fill : fills) {
      EXPECT_EQ(fill.fill, c.color);
      EXPECT_EQ(fill.fillStyle, FillStyle::Solid);
      EXPECT_EQ(fill.penStyle, PenStyle::Invisible);
    }
  }
  EXPECT_EQ(kUnknownUnitColor, packRgb(160, 160, 160));
}

TEST_F(BoreholeSectionTest, LoggedContactsAreTickedAcrossAndTheColumnIsClosedAtItsEnds) {
  // Two intervals of one name, then another, a gap unlogged and a last interval.
  set.holes = {makeHole("H", 50, 100, 50, 40,
                        {{0, 10, "A", 1}, {10, 20, "A", 1}, {20, 30, "B", 2}, {35, 40, "C", 2}})};
  draw();
  std::map<double, double> across;  // the lines across the vertical strip, by height: length
  for (const Op& line : canvas.linesIn(kBlack)) {
    EXPECT_EQ(line.penWidth, 1);
    if (line.coords[1] == line.coords[3]) across[line.coords[1]] += lengthOf(line);
  }
  const std::map<double, double> expected{
      {at(50, 50).y, 10},  // the top
      {at(50, 30).y, 18},  // the contact from A to B, past the column's sides
      {at(50, 20).y, 10},  // the end above the gap
      {at(50, 15).y, 10},  // the start below it
      {at(50, 10).y, 10},  // the bottom
  };
  EXPECT_EQ(across, expected);
  // Both sides run the logged length, broken only over the gap.
  for (const int side : {-5, 5}) {
    double length = 0;
    for (const Op& line : canvas.linesIn(kBlack)) {
      if (line.coords[0] == line.coords[2] && line.coords[0] == at(50, 0).x + side)
        length += lengthOf(line);
    }
    EXPECT_EQ(length, (at(50, 20).y - at(50, 50).y) + (at(50, 10).y - at(50, 15).y));
  }
}

TEST_F(BoreholeSectionTest, AnIdThatWouldOverlapAnotherIsLeftOut) {
  struct Case {
    double secondX;
    std::vector<std::string> written;
  };
  const Case cases[] = {{52, {"BH1"}}, {150, {"BH1", "BH2"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.secondX);
    set.holes = {makeHole("BH1", 50, 100, 50, 40, {{0, 40, "A", 1}}),
                 makeHole("BH2", c.secondX, 100, 50, 40, {{0, 40, "A", 1}})};
    canvas.ops.clear();
    draw();
    std::vector<std::string> written;
    for (const Op& text : canvas.of(Op::Text)) written.push_back(text.text);
    EXPECT_EQ(written, c.written);
  }
}

// Up from (0, 0) to a bend at (100, 100) and down to (200, 0): a hole goes to its nearest
// segment, also outside the bend beyond the ends of both, and once only inside it.
TEST_F(BoreholeSectionTest, OnAPolylineAHoleIsProjectedOntoItsNearestSegment) {
  const double leg = std::hypot(100, 100);
  section.Xstart = 0;
  section.Ystart = 0;
  section.Xend = 200;
  section.Yend = 0;
  section.columnX = {0, 0, 100, 200};  // the columns make it a polyline; their places do not count
  section.polylineLength = 2 * leg;
  section.bends = {{leg, 2, 100, 100}};
  struct Case {
    double x, y;
    std::vector<double> along;  // of each part drawn
  };
  const Case cases[] = {
      {50, 50, {50 * std::sqrt(2.0)}},         // on the first segment
      {150, 40, {leg + 55 * std::sqrt(2.0)}},  // near the second
      {101, 110, {leg}},                       // outside the bend: on it
      {98, 90, {(98 + 90) / std::sqrt(2.0)}},  // inside, nearer the first
      {100, 50, {}},                           // beyond the buffer of both
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
    const Borehole hole = makeHole("BH", c.x, c.y, 50, 40, {{0, 40, "A", 1}});
    const auto parts = holeOnSection(hole, input());
    ASSERT_EQ(parts.size(), c.along.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
      EXPECT_NEAR(parts[i].front().along, c.along[i], 1e-9);
      EXPECT_EQ(parts[i].front().z, 50);
    }
  }
}

TEST(BoreholeBuffer, IsFiveOfTheLargerGridSpacing) {
  struct Case {
    double dx, dy, buffer;
  };
  for (const Case& c : {Case{10, 20, 100}, Case{-30, 20, 150}, Case{25, -25, 125}}) {
    GridHeader grid;
    grid.Dx = c.dx;
    grid.Dy = c.dy;
    EXPECT_EQ(defaultBoreholeBuffer(grid), c.buffer);
  }
}

}  // namespace
}  // namespace kalvenor
