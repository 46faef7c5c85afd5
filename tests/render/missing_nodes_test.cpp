// A display surface clipped to an outline: nodes without an elevation have no unit, and nothing
// is drawn on the cells, wall columns or section columns that touch them.
#include <gtest/gtest.h>

#include <algorithm>

#include "../evaluation/grid_fixtures.h"
#include "evaluation/grid_builds.h"
#include "recording_canvas.h"
#include "render/block_base.h"
#include "render/draw_units.h"
#include "render/map_renderer.h"
#include "render/section_renderer.h"
#include "render/side_walls.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

// A 4 x 4 surface rising eastward over a boundary at 15, with the south-west corner node and
// the north-east corner node missing.
class MissingNodesTest : public ::testing::Test {
 protected:
  MissingNodesTest() {
    GridSurface grid = makeGrid(4, 4, 0, 0, 10, 10, [](double x, double) { return 20 + x / 2; });
    grid.missing = MissingNodes(4, 4);
    grid.missing.set(1, 1);
    grid.missing.set(4, 4);
    grid.z(1, 1) = grid.z(4, 4) = -9999;  // a NODATA value must not reach the range
    display = exactDisplaySurface(grid);
    build = buildMapGrid({model, files, std::make_shared<const DisplaySurface>(display), 0});
    view.Alpha = 225;
    view.Gamma = 30;
    view.Sca = 1;
    view.Ve = 1;
  }

  std::vector<Op> drawMap() {
    RecordingCanvas canvas(400, 400);
    const Array2D<std::int16_t> units = unitsToDraw(build.grid.mapUnit, 4, 4);
    const PictureStyle style{
        model, build.boundaryGrids, colours, colours,
        DrawOptions{.DrawBoundary = true, .DrawMode = DrawingMode::GeologicalMap}};
    const SidePicture walls{
        display, build.grid, build.wallProfiles, {kSouthWall, kWestWall}, style};
    const ContourSettings contours{20, 40, 1};
    const MapPicture picture{
        .display = display,
        .base = blockBase(0),
        .drawUnit = units,
        .contours = contours,
        .style = style,
        .contourLines = true,
        .sideWalls = true,
        .drawSideMaps = [&](const Projection& p) { drawSideMaps(canvas, p, walls); }};
    drawGeoMap(canvas, Projection(view, {400, 400}, display, 0), picture);
    return canvas.ops;
  }

  TempFile boundary{
      gridFileText(makeGrid(2, 2, 0, 0, 30, 30, [](double, double) { return 15.0; }))};
  std::vector<std::string> files = {"", boundary.path()};
  LogicalModel model = twoLayers();
  DisplaySurface display;
  MapBuild build;
  ViewSettings view;
  std::vector<PackedColor> colours = {kBlack, packRgb(200, 0, 0), packRgb(0, 0, 200)};
};

TEST_F(MissingNodesTest, TheRangeAndTheUnitsCountOnlyNodesWithAnElevation) {
  EXPECT_EQ(display.Zmin, 20);
  EXPECT_EQ(display.Zmax, 35);
  EXPECT_EQ(build.grid.mapUnit(1, 1), 0);
  EXPECT_EQ(build.grid.mapUnit(4, 4), 0);
  EXPECT_EQ(build.grid.mapUnit(2, 2), 2);
  // The south wall has no ground under its first column: air from the base up.
  const VerticalGrid& south = build.grid.verticalGrids[kSouthWall];
  for (int v = 1; v <= south.nV; ++v) EXPECT_EQ(south.unit(1, v), kAir);
  EXPECT_EQ(south.unit(2, 1), 1);
}

TEST_F(MissingNodesTest, CellsAndWallColumnsTouchingAMissingNodeAreNotDrawn) {
  const auto polygons = [](const std::vector<Op>& ops) {
    std::vector<std::vector<double>> found;
    for (const Op& op : ops) {
      if (op.kind == Op::Polygon) found.push_back(op.coords);
    }
    return found;
  };
  const auto clippedCells = polygons(drawMap());
  // The same surface with every node known: its range is the same, and so is every projection.
  display.missing = MissingNodes();
  display.dispZ(1, 1) = 20;
  display.dispZ(4, 4) = 35;
  build = buildMapGrid({model, files, std::make_shared<const DisplaySurface>(display), 0});
  const auto wholeCells = polygons(drawMap());
  // Two of the 9 surface cells touch a missing corner, and the first cell column of both walls
  // that face the eye (south and west) stands on the missing south-west corner.
  const VerticalGrid& south = build.grid.verticalGrids[kSouthWall];
  int firstColumn = 0;
  for (int v = 1; v < south.nV; ++v) firstColumn += south.unit(1, v) != kAir;
  EXPECT_EQ(wholeCells.size() - clippedCells.size(), 2u + 2u * firstColumn);
  for (const auto& cell : clippedCells) {
    EXPECT_NE(std::find(wholeCells.begin(), wholeCells.end(), cell), wholeCells.end());
  }
}

TEST(MissingNodesSection, AColumnOverNoGroundIsAirAndNotDrawn) {
  GridSurface grid = makeGrid(5, 3, 0, 0, 10, 10, [](double, double) { return 30.0; });
  grid.missing = MissingNodes(5, 3);
  grid.missing.set(5, 2);  // the eastern cells of the middle row have no ground
  const DisplaySurface display = exactDisplaySurface(grid);
  TempFile boundary(
      gridFileText(makeGrid(2, 2, 0, 0, 40, 20, [](double, double) { return 15.0; })));
  const std::vector<std::string> files = {"", boundary.path()};
  const LogicalModel model = twoLayers();
  const SectionBuild b = buildSectionGrid(
      {model, files, std::make_shared<const DisplaySurface>(display), 0}, {0, 10, true, 40, 10, 0});
  const VerticalGrid& slot = b.grid;
  ASSERT_EQ(slot.nH, 9);                   // every 5 m along y = 10
  EXPECT_TRUE(b.section.groundKnown[6]);   // x 25: the cell from 20 to 30 is whole
  EXPECT_FALSE(b.section.groundKnown[8]);  // x 35: the cell from 30 to 40 touches (40, 10)
  for (int v = 1; v <= slot.nV; ++v) EXPECT_EQ(slot.unit(8, v), kAir);
  EXPECT_EQ(slot.unit(6, 1), 1);

  ViewSettings view;
  view.Alpha = 180;
  view.Sca = 1;
  view.Ve = 1;
  const Array2D<std::int16_t> units = unitsToDraw(slot.unit, slot.nH, slot.nV);
  const std::vector<PackedColor> colours = {kBlack, packRgb(200, 0, 0), packRgb(0, 0, 200)};
  const SectionPicture picture{
      .grid = slot,
      .drawUnit = units,
      .section = b.section,
      .profile = b.sectionProfile,
      .Zbase = 0,
      .Zmax = display.Zmax,
      .zEps = display.zEps,
      .style = {model, b.boundaryGrids, colours, colours,
                DrawOptions{.DrawBoundary = true, .DrawMode = DrawingMode::Section}}};
  RecordingCanvas canvas(400, 400);
  drawSection(canvas, Projection(view, {400, 400}, display, 0), picture);
  // The ground line (black, width 2) runs over the 5 cells of known ground between x 0 and 25.
  std::size_t groundSegments = 0;
  for (const Op& op : canvas.linesIn(kBlack)) groundSegments += op.penWidth == 2;
  EXPECT_EQ(groundSegments, 5u);
}

}  // namespace
}  // namespace kalvenor
