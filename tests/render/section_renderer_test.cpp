#include "render/section_renderer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../evaluation/grid_fixtures.h"
#include "evaluation/angles.h"
#include "evaluation/grid_builds.h"
#include "recording_canvas.h"
#include "render/cancellable_canvas.h"
#include "render/draw_units.h"
#include "render/survey_trace.h"
#include "same_on_threads.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

const PackedColor kLineColor = packRgb(10, 20, 30);
const PackedColor kContact = packRgb(0, 180, 0);

// An east-west section across a 3 x 3 surface rising from 10 to 34 eastward, over a boundary
// flat at 12: five columns 5 apart, levels 0 to 30 in steps of 5.
class SectionRendererTest : public ::testing::Test {
 protected:
  SectionRendererTest() {
    build = buildSectionGrid({model, files, std::make_shared<const DisplaySurface>(display), 0.0},
                             {0, 10, true, 20, 10, 0});
    const VerticalGrid& slot = build.grid;
    units = unitsToDraw(slot.unit, slot.nH, slot.nV);
    view.Alpha = 180;  // looking north at the section
    view.Gamma = 0;
    view.Sca = 1;
    view.Ve = 1;
  }
  Projection projection() const { return Projection(view, {400, 400}, display, 0.0); }
  void draw(DrawingMode mode, bool boundaryLines = true, const RenderContext& context = {}) {
    const DrawOptions options{
        .LineColor = kLineColor, .DrawBoundary = boundaryLines, .DrawMode = mode};
    const SectionPicture picture{
        .grid = build.grid,
        .drawUnit = units,
        .section = build.section,
        .profile = build.sectionProfile,
        .Zbase = 0.0,
        .Zmax = display.Zmax,
        .zEps = display.zEps,
        .style = {model, build.boundaryGrids, unitColor, boundaryColor, options}};
    drawSection(canvas, projection(), picture, context);
  }

  GridSurface surface = makeGrid(3, 3, 0, 0, 10, 10, [](double x, double) { return 10 + 1.2 * x; });
  DisplaySurface display = exactDisplaySurface(surface);
  TempFile boundary{
      gridFileText(makeGrid(2, 2, 0, 0, 20, 20, [](double, double) { return 12.0; }))};
  std::vector<std::string> files = {"", boundary.path()};
  LogicalModel model = twoLayers();
  SectionBuild build;
  Array2D<std::int16_t> units;
  ViewSettings view;
  std::vector<PackedColor> unitColor = {kBlack, packRgb(200, 0, 0), packRgb(0, 0, 200)};
  std::vector<PackedColor> boundaryColor = {kBlack, kContact};
  RecordingCanvas canvas;
};

TEST_F(SectionRendererTest, TheFrameHasABaseAndTwoEndsButNoTopAndIsDrawnAgainOverTheCells) {
  draw(DrawingMode::Section, false);
  ASSERT_GE(canvas.ops.size(), 6u);
  for (int n : {0, 1, 2}) {
    EXPECT_EQ(canvas.ops[n].kind, Op::Line);
    EXPECT_EQ(canvas.ops[n].pen, kLineColor);
    EXPECT_EQ(canvas.ops[n].penWidth, 1);
  }
  const auto& base = canvas.ops[0].coords;
  EXPECT_EQ(base[1], base[3]);  // the base is level in the frontal view
  const auto& start = canvas.ops[1].coords;
  EXPECT_EQ(start[0], start[2]);  // the ends are vertical
  EXPECT_EQ(start[0], base[0]);
  EXPECT_EQ(canvas.linesIn(kLineColor).size(), 6u);  // three edges, twice
  EXPECT_EQ(canvas.ops.back().kind, Op::Line);
}

TEST_F(SectionRendererTest, GridLinesOutlineOnlyCellsWhoseFirstNodeIsGround) {
  draw(DrawingMode::GridLines, false);
  const VerticalGrid& slot = build.grid;
  int ground = 0;
  for (int h = 1; h < slot.nH; ++h) {
    for (int v = 1; v < slot.nV; ++v) ground += slot.unit(h, v) != kAir;
  }
  const auto cells = canvas.of(Op::Polygon);
  EXPECT_EQ(static_cast<int>(cells.size()), ground);
  EXPECT_LT(ground, (slot.nH - 1) * (slot.nV - 1));
  for (const Op& cell : cells) {
    EXPECT_EQ(cell.fillStyle, FillStyle::Transparent);
    EXPECT_EQ(cell.pen, kLineColor);
  }
}

TEST_F(SectionRendererTest, TheGroundLineRunsThroughAirCellsToo) {
  const VerticalGrid& slot = build.grid;
  // Column 1 stands at 10 and column 2 at 16: node (1, 4) at 15 is air, (2, 4) is ground.
  ASSERT_EQ(slot.unit(1, 4), kAir);
  ASSERT_NE(slot.unit(2, 4), kAir);
  draw(DrawingMode::Section);
  const auto ground = canvas.linesIn(kBlack);
  EXPECT_GE(ground.size(), static_cast<std::size_t>(slot.nH - 1));
  for (const Op& line : ground) EXPECT_EQ(line.penWidth, 2);
  // The cell of air node (1, 4) has no fill, yet the ground line crosses it: the surface at 10
  // and 16 under its columns is crossed 5/6 along its bottom edge (z 15) and 1/5 up its right.
  const Projection p = projection();
  const CanvasPoint P1 = *p.projectPoint(0, 10, 15), P2 = *p.projectPoint(5, 10, 15),
                    P3 = *p.projectPoint(5, 10, 20);
  const std::vector<double> expected{std::floor((P2.x - P1.x) * 5.0 / 6) + P1.x, double(P1.y),
                                     double(P2.x), std::floor((P3.y - P2.y) * 0.2) + P2.y};
  bool crossed = false;
  for (const Op& line : ground) crossed = crossed || line.coords == expected;
  EXPECT_TRUE(crossed);
  EXPECT_FALSE(canvas.linesIn(kContact).empty());  // the contact at 12 between the units
}

// A section whose context was cancelled, by another thread as a newer picture is asked for,
// stops at its first operation; one whose flag is not set draws whole.
TEST_F(SectionRendererTest, ACancelledContextStopsTheDrawingAtItsFirstOperation) {
  std::atomic<bool> cancelled = true;
  EXPECT_THROW(draw(DrawingMode::Section, true, {.cancelled = &cancelled}), DrawingCancelled);
  EXPECT_TRUE(canvas.ops.empty());
  cancelled = false;
  draw(DrawingMode::Section, true, {.cancelled = &cancelled});
  EXPECT_FALSE(canvas.of(Op::Polygon).empty());
}

TEST_F(SectionRendererTest, WithoutBoundaryLinesOnlyCellsAndFrame) {
  draw(DrawingMode::Section, false);
  EXPECT_TRUE(canvas.linesIn(kBlack).empty());
  EXPECT_TRUE(canvas.linesIn(kContact).empty());
}

TEST_F(SectionRendererTest, TheSurveyLineIsADottedRectangleInTheLineColour) {
  drawSurveyLine(canvas, projection(), build.section, 0.0, display.Zmax, kLineColor);
  const auto lines = canvas.of(Op::Line);
  ASSERT_EQ(lines.size(), 4u);
  for (const Op& line : lines) {
    EXPECT_EQ(line.pen, kLineColor);
    EXPECT_EQ(line.penStyle, PenStyle::Dot);
  }
  EXPECT_EQ(lines[0].coords[1], lines[0].coords[3]);  // base
  EXPECT_EQ(lines[3].coords[1], lines[3].coords[3]);  // top, at Zmax
  EXPECT_LT(lines[3].coords[1], lines[0].coords[1]);
}

// The trace follows the ground column by column in one solid, coloured line, broken where the
// ground is unknown, and marks both ends of the section with a square centred on the trace.
TEST_F(SectionRendererTest, TheSurveyTraceFollowsTheGroundAndMarksItsEnds) {
  build.section.groundKnown[3] = false;
  drawSurveyTrace(canvas, projection(), build.section);
  const auto lines = canvas.of(Op::Line);
  ASSERT_EQ(lines.size(), 2u);  // columns 1-2 and 4-5 of five
  for (const Op& line : lines) {
    EXPECT_EQ(line.pen, kSurveyTraceColor);
    EXPECT_EQ(line.penStyle, PenStyle::Solid);
    EXPECT_GE(line.penWidth, 2);
  }
  // The ground rises eastward, so the trace climbs on the canvas (y grows downward).
  EXPECT_GT(lines[0].coords[1], lines[0].coords[3]);
  EXPECT_GT(lines[0].coords[3], lines[1].coords[1]);

  const auto ends = canvas.of(Op::Polygon);
  ASSERT_EQ(ends.size(), 2u);
  const auto centre = [](const Op& square) {
    return std::pair{(square.coords[0] + square.coords[4]) / 2,
                     (square.coords[1] + square.coords[5]) / 2};
  };
  EXPECT_EQ(centre(ends[0]), std::pair(lines[0].coords[0], lines[0].coords[1]));
  EXPECT_EQ(centre(ends[1]), std::pair(lines[1].coords[2], lines[1].coords[3]));
  for (const Op& end : ends) {
    EXPECT_EQ(end.fill, kSurveyTraceColor);
    EXPECT_EQ(end.fillStyle, FillStyle::Solid);
  }
}

// A polyline of two segments with its bend on the northern edge, seen as the frontal view sees
// the unfolded line.
// A bent line across rolling ground 80 x 120 nodes over a boundary it crosses again and again:
// the section drawn in parts on several threads is every operation of the section drawn on one,
// in the same order and with the same pens and fills, lines held back until the fills included.
TEST(SectionInParts, DrawsWhatOneThreadDraws) {
  const GridSurface surface = makeGrid(80, 120, 0, 0, 10, 10, [](double x, double y) {
    return 50 + 20 * std::sin(x / 90 + y / 70);
  });
  const DisplaySurface display = exactDisplaySurface(surface);
  const TempFile boundary{gridFileText(
      makeGrid(80, 120, 0, 0, 10, 10, [](double x, double y) { return 40 + x / 30 - y / 50; }))};
  const LogicalModel model = twoLayers();
  SectionLine line;
  line.vertices = {{0, 0}, {400, 1100}, {790, 300}};
  const SectionBuild build = buildSectionGrid(
      {model, {"", boundary.path()}, std::make_shared<const DisplaySurface>(display), 0.0}, line);
  const Array2D<std::int16_t> units = unitsToDraw(build.grid.unit, build.grid.nH, build.grid.nV);
  const std::vector<PackedColor> unitColor = {kBlack, packRgb(200, 0, 0), packRgb(0, 0, 200)};
  const std::vector<PackedColor> boundaryColor = {kBlack, kContact};
  ViewSettings view;
  view.Alpha = build.section.Fai / kDegree + 90;
  view.Sca = 1;
  view.Ve = 2;
  const auto draw = [&](Contacts contacts, DrawingMode mode, int threads) {
    const SectionPicture picture{
        .grid = build.grid,
        .drawUnit = units,
        .section = build.section,
        .profile = build.sectionProfile,
        .Zbase = 0.0,
        .Zmax = display.Zmax,
        .zEps = display.zEps,
        .style = {model, build.boundaryGrids, unitColor, boundaryColor,
                  DrawOptions{.DrawBoundary = true, .DrawMode = mode, .contacts = contacts}}};
    RecordingCanvas canvas;
    drawSection(canvas, Projection(view, {800, 600}, display, 0.0), picture, {threads});
    return canvas.ops;
  };
  expectWhatOneThreadDraws(draw, {DrawingMode::Section, DrawingMode::GridLines});
}

class BentSectionTest : public SectionRendererTest {
 protected:
  BentSectionTest() {
    SectionLine line;
    line.vertices = {{0, 0}, {10, 20}, {20, 0}};
    build = buildSectionGrid({model, files, std::make_shared<const DisplaySurface>(display), 0.0},
                             line);
    units = unitsToDraw(build.grid.unit, build.grid.nH, build.grid.nV);
    view.Alpha = build.section.Fai / kDegree + 90;
  }
};

TEST_F(BentSectionTest, TheBendIsAThinVerticalLineFromBaseToTopWithItsVertexNumberOverIt) {
  draw(DrawingMode::Section, false);
  const SectionGrid& s = build.section;
  ASSERT_EQ(s.bends.size(), 1u);
  const auto frame = canvas.linesIn(kLineColor);
  ASSERT_EQ(frame.size(), 7u);  // base and ends twice, then the bend
  const Op& bend = frame.back();
  EXPECT_EQ(bend.penWidth, 1);
  EXPECT_EQ(bend.coords[0], bend.coords[2]);
  const double baseLeft = std::min(frame[0].coords[0], frame[0].coords[2]);
  const double baseRight = std::max(frame[0].coords[0], frame[0].coords[2]);
  // Half way along: both segments are as long.
  EXPECT_NEAR(bend.coords[0], (baseLeft + baseRight) / 2, 1);
  EXPECT_EQ(std::max(bend.coords[1], bend.coords[3]), frame[0].coords[1]);  // from the base
  const auto labels = canvas.of(Op::Text);
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0].text, "2");
  EXPECT_LT(labels[0].coords[1], std::min(bend.coords[1], bend.coords[3]));
}

TEST_F(BentSectionTest, TheBendIsLabelledWithItsVertexNameWhereItHasOne) {
  const std::pair<std::string, std::string> cases[] = {{"", "2"}, {"トンネル坑口", "トンネル坑口"}};
  for (const auto& [name, label] : cases) {
    build.section.bends.at(0).name = name;
    canvas.ops.clear();
    draw(DrawingMode::Section, false);
    const auto labels = canvas.of(Op::Text);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].text, label);
  }
}

TEST_F(BentSectionTest, TheSurveyLineOnTheMapFollowsTheBend) {
  drawSurveyLine(canvas, projection(), build.section, 0.0, display.Zmax, kLineColor);
  // Two segments at the base and at the top, both ends and the bend.
  EXPECT_EQ(canvas.of(Op::Line).size(), 7u);
}

}  // namespace
}  // namespace kalvenor
