#include "render/side_walls.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../evaluation/grid_fixtures.h"
#include "evaluation/classification.h"
#include "evaluation/grid_builds.h"
#include "recording_canvas.h"
#include "render/cancellable_canvas.h"
#include "same_on_threads.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

const PackedColor kLowColor = packRgb(200, 0, 0);
const PackedColor kHighColor = packRgb(0, 0, 200);
const PackedColor kContact = packRgb(0, 180, 0);

// A 3 x 3 surface rising from 10 in the west to 30 in the east over one boundary flat at 12,
// unit 1 below and unit 2 above; walls from 0 in steps of 15.
class SideMapsTest : public ::testing::Test {
 protected:
  SideMapsTest() {
    build = buildMapGrid({model, files, std::make_shared<const DisplaySurface>(display), 0.0});
    view.Alpha = 225;  // from the south-west: the south and west walls face the eye
    view.Gamma = 30;
    view.Sca = 1;
    view.Ve = 1;
  }
  void draw(DrawingMode mode, bool boundaryLines = true, const RenderContext& context = {}) {
    const SidePicture picture{
        .display = display,
        .grid = build.grid,
        .wallProfiles = build.wallProfiles,
        .visibleWall = {kSouthWall, kWestWall},
        .style = {model, build.boundaryGrids, unitColor, boundaryColor,
                  DrawOptions{.DrawBoundary = boundaryLines, .DrawMode = mode}}};
    drawSideMaps(canvas, Projection(view, {400, 400}, display, 0.0), picture, context);
  }

  GridSurface surface = makeGrid(3, 3, 0, 0, 10, 10, [](double x, double) { return 10 + x; });
  DisplaySurface display = exactDisplaySurface(surface);
  TempFile boundary{
      gridFileText(makeGrid(2, 2, 0, 0, 20, 20, [](double, double) { return 12.0; }))};
  std::vector<std::string> files = {"", boundary.path()};
  LogicalModel model = twoLayers();
  MapBuild build;
  ViewSettings view;
  std::vector<PackedColor> unitColor = {kBlack, kLowColor, kHighColor};
  std::vector<PackedColor> boundaryColor = {kBlack, kContact};
  RecordingCanvas canvas;
};

TEST_F(SideMapsTest, CellsWhoseFirstNodeIsAirAreLeftOutTheRestDrawnWhole) {
  const VerticalGrid& south = build.grid.verticalGrids[kSouthWall];
  ASSERT_EQ(south.unit(1, 2), kAir);  // z 15 above the edge at 10
  ASSERT_EQ(south.unit(2, 2), 2);     // z 15 below the edge at 20
  ASSERT_EQ(south.unit(2, 3), kAir);
  draw(DrawingMode::GeologicalMap);
  // South wall: (1,1), (2,1) and (2,2) whose top corners are partly air; west wall, all at 10:
  // only the bottom row.
  const auto cells = canvas.of(Op::Polygon);
  EXPECT_EQ(cells.size(), 5u);
  for (const Op& cell : cells) EXPECT_EQ(cell.penStyle, PenStyle::Invisible);
  EXPECT_EQ(cells[2].fill, kHighColor);  // south (2, 2) takes its first node's unit
}

TEST_F(SideMapsTest, TheOnlyBoundaryIsTracedWhereItSeparatesUnits) {
  draw(DrawingMode::GeologicalMap);
  const auto traces = canvas.linesIn(kContact);
  ASSERT_FALSE(traces.empty());
  EXPECT_EQ(traces[0].penWidth, 2);

  RecordingCanvas off;
  std::swap(canvas, off);
  draw(DrawingMode::GeologicalMap, false);
  EXPECT_TRUE(canvas.of(Op::Line).empty());
}

// Walls whose context was cancelled stop at their first operation, before any cell.
TEST_F(SideMapsTest, ACancelledContextStopsTheWallsAtTheirFirstOperation) {
  const std::atomic<bool> cancelled = true;
  EXPECT_THROW(draw(DrawingMode::GeologicalMap, true, {.cancelled = &cancelled}), DrawingCancelled);
  EXPECT_TRUE(canvas.ops.empty());
}

TEST_F(SideMapsTest, ContourMapsPaintTheWallsWhiteWithoutTraces) {
  draw(DrawingMode::ContourMap);
  // The south wall's (2, 1) and (2, 2), one above the other in one colour, are filled as one.
  const auto cells = canvas.of(Op::Polygon);
  EXPECT_EQ(cells.size(), 4u);
  for (const Op& cell : cells) EXPECT_EQ(cell.fill, kWhite);
  EXPECT_TRUE(canvas.of(Op::Line).empty());
}

TEST_F(SideMapsTest, ACellWithOneUnitAtAllCornersHasNoTrace) {
  // Every node below the boundary: one unit everywhere although the boundary is near.
  TempFile high(gridFileText(makeGrid(2, 2, 0, 0, 20, 20, [](double, double) { return 500.0; })));
  files = {"", high.path()};
  build = buildMapGrid({model, files, std::make_shared<const DisplaySurface>(display), 0.0});
  draw(DrawingMode::GeologicalMap);
  EXPECT_TRUE(canvas.linesIn(kContact).empty());
  EXPECT_FALSE(canvas.of(Op::Polygon).empty());
}

TEST_F(SideMapsTest, NoWallsAfterASectionBuildReplacedThem) {
  MapGrid sectionOnly;
  const SidePicture picture{
      .display = display,
      .grid = sectionOnly,
      .wallProfiles = build.wallProfiles,
      .visibleWall = {kSouthWall, kWestWall},
      .style = {model, build.boundaryGrids, unitColor, boundaryColor,
                DrawOptions{.DrawBoundary = true, .DrawMode = DrawingMode::GeologicalMap}}};
  drawSideMaps(canvas, Projection(view, {400, 400}, display, 0.0), picture);
  EXPECT_TRUE(canvas.ops.empty());
}

// Rolling ground 80 x 120 nodes over a boundary it crosses again and again: the walls drawn in
// parts on several threads are every operation of the walls drawn on one, in the same order and
// with the same pens and fills, lines held back until the fills included.
TEST(SideMapsInParts, DrawWhatOneThreadDraws) {
  const GridSurface surface = makeGrid(80, 120, 0, 0, 10, 10, [](double x, double y) {
    return 50 + 20 * std::sin(x / 90 + y / 70);
  });
  const DisplaySurface display = exactDisplaySurface(surface);
  const TempFile boundary{gridFileText(
      makeGrid(80, 120, 0, 0, 10, 10, [](double x, double y) { return 40 + x / 30 - y / 50; }))};
  const LogicalModel model = twoLayers();
  const MapBuild build = buildMapGrid(
      {model, {"", boundary.path()}, std::make_shared<const DisplaySurface>(display), 0.0});
  const std::vector<PackedColor> unitColor = {kBlack, kLowColor, kHighColor};
  const std::vector<PackedColor> boundaryColor = {kBlack, kContact};
  ViewSettings view;
  view.Alpha = 225;
  view.Gamma = 30;
  view.Sca = 1;
  view.Ve = 2;
  const auto draw = [&](Contacts contacts, DrawingMode mode, int threads) {
    const SidePicture picture{
        .display = display,
        .grid = build.grid,
        .wallProfiles = build.wallProfiles,
        .visibleWall = {kSouthWall, kWestWall},
        .style = {model, build.boundaryGrids, unitColor, boundaryColor,
                  DrawOptions{.DrawBoundary = true, .DrawMode = mode, .contacts = contacts}}};
    RecordingCanvas canvas;
    drawSideMaps(canvas, Projection(view, {800, 600}, display, 0.0), picture, {threads});
    return canvas.ops;
  };
  expectWhatOneThreadDraws(draw, {DrawingMode::GeologicalMap, DrawingMode::ContourMap});
}

TEST(ClassifyTracePoint, ComparesWholeNumbers) {
  const LogicalModel model = twoLayers();
  const std::vector<GridSurface> grids = {
      {}, makeGrid(2, 2, 0, 0, 10, 10, [](double, double) { return 12.9; })};
  // 12.2 and 12.9 both truncate to 12: below under the strict rule, above under the other.
  const Classification at = classifyTracePoint(model, grids, 5, 5, 12.2);
  EXPECT_EQ(at.unitStrict, 1);
  EXPECT_EQ(at.unitInclusive, 2);
  const Classification above = classifyTracePoint(model, grids, 5, 5, 13.0);
  EXPECT_EQ(above.unitStrict, 2);
  // Toward zero: -0.5 truncates to 0, level with a boundary at 0.4.
  const std::vector<GridSurface> low = {
      {}, makeGrid(2, 2, 0, 0, 10, 10, [](double, double) { return 0.4; })};
  EXPECT_EQ(classifyTracePoint(model, low, 5, 5, -0.5).unitInclusive, 2);
}

}  // namespace
}  // namespace kalvenor
