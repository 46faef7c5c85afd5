#include "render/map_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../evaluation/grid_fixtures.h"
#include "recording_canvas.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

const PackedColor kRed = packRgb(255, 0, 0);
const PackedColor kGreen = packRgb(0, 255, 0);
const PackedColor kBlue = packRgb(0, 0, 255);

// One cell, 10 x 10, sloping from 0 in the west to 10 in the east, over a boundary at 4:
// unit 1 (red) below it, unit 2 (green) above it.
class MapRendererTest : public ::testing::Test {
 protected:
  MapRendererTest() {
    drawUnit(1, 1) = 1;
    drawUnit(1, 2) = 1;
    drawUnit(2, 1) = 2;
    drawUnit(2, 2) = 2;
    view.Sca = 1;
    view.Ve = 1;
    look(45, 30);
  }
  void look(double alpha, double gamma) {
    view.Alpha = alpha;
    view.Gamma = gamma;
  }
  MapPicture picture(DrawingMode mode) {
    return {.display = display,
            .base = blockBase(Zbase),
            .drawUnit = drawUnit,
            .contours = contours,
            .style = {model, grids, unitColor, boundaryColor,
                      DrawOptions{.DrawBoundary = true, .DrawMode = mode}},
            .drawSideMaps = [this](const Projection&) { ++sideMapCalls; }};
  }
  Projection projection() const {
    return Projection(view, {canvas.width(), canvas.height()}, display, Zbase);
  }

  DisplaySurface display =
      exactDisplaySurface(makeGrid(2, 2, 0, 0, 10, 10, [](double x, double) { return x; }));
  LogicalModel model = twoLayers();
  std::vector<GridSurface> grids = {
      {}, makeGrid(2, 2, 0, 0, 10, 10, [](double, double) { return 4.0; }), {}};
  std::vector<PackedColor> unitColor = {kBlack, kRed, kGreen};
  std::vector<PackedColor> boundaryColor = {kBlack, kBlue};
  Array2D<std::int16_t> drawUnit{1, 2, 1, 2, 0};
  ViewSettings view;
  ContourSettings contours{0, 10, 2};
  double Zbase = -5;
  RecordingCanvas canvas;
  int sideMapCalls = 0;
};

TEST_F(MapRendererTest, TheCellTakesTheColourOfItsCornerFirstInThePaintersOrder) {
  // Eye north-east: node (1, 1) comes first.
  drawGeoMap(canvas, projection(), picture(DrawingMode::GeologicalMap));
  auto cells = canvas.of(Op::Polygon);
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_EQ(cells[0].fill, kRed);
  EXPECT_EQ(cells[0].fillStyle, FillStyle::Solid);
  EXPECT_EQ(cells[0].penStyle, PenStyle::Invisible);

  look(225, 30);  // eye south-west: node (2, 2) comes first
  RecordingCanvas other;
  drawGeoMap(other, projection(), picture(DrawingMode::GeologicalMap));
  EXPECT_EQ(other.of(Op::Polygon)[0].fill, kGreen);
}

// The surface rises 1 in 1 to the east: it faces a light from the west and turns away from one
// from the east, and the view's exaggeration steepens it. Only the geological map's fills are
// lit; a cell turned wholly away keeps 1 - strength of its colour.
TEST_F(MapRendererTest, TheShadingDarkensTheCellsTurnedAwayFromTheLight) {
  struct Case {
    const char* what;
    double azimuth, Ve;
    DrawingMode mode;
    PackedColor fill;
  };
  const Case cases[] = {
      {"facing the light", 270, 1, DrawingMode::GeologicalMap, kRed},
      {"turned away", 90, 1, DrawingMode::GeologicalMap, packRgb(128, 0, 0)},
      {"facing it, twice as steep", 270, 2, DrawingMode::GeologicalMap, packRgb(248, 0, 0)},
      {"a contour map", 90, 1, DrawingMode::ContourMap, kWhite},
  };
  for (const Case& c : cases) {
    view.Ve = c.Ve;
    MapPicture p = picture(c.mode);
    p.style.options.shading = {true, c.azimuth, 45, 0.5};
    RecordingCanvas lit;
    drawGeoMap(lit, projection(), p);
    const auto cells = lit.of(Op::Polygon);
    ASSERT_EQ(cells.size(), 1u) << c.what;
    EXPECT_EQ(cells[0].fill, c.fill) << c.what;
  }
}

// Split along a contact, both parts of the cell take its one light.
TEST_F(MapRendererTest, ThePartsOfACellCutAlongAContactShareItsLight) {
  MapPicture p = picture(DrawingMode::GeologicalMap);
  p.style.options.contacts = Contacts::Smooth;
  p.style.options.shading = {true, 90, 45, 0.5};
  drawGeoMap(canvas, projection(), p);
  std::vector<PackedColor> fills;
  for (const Op& part : canvas.of(Op::Polygon)) fills.push_back(part.fill);
  std::sort(fills.begin(), fills.end());
  EXPECT_EQ(fills, (std::vector<PackedColor>{packRgb(128, 0, 0), packRgb(0, 128, 0)}));
}

TEST_F(MapRendererTest, TheBaseAndCornerEdgesOnlyWhenThereIsABase) {
  MapPicture p = picture(DrawingMode::GeologicalMap);
  p.style.options.DrawBoundary = false;
  drawGeoMap(canvas, projection(), p);
  // Rectangle and four edges behind the surface, then two base sides and three edges in front.
  EXPECT_EQ(canvas.linesIn(kBlack).size(), 13u);
  const Op& first = canvas.ops.front();
  EXPECT_EQ(first.kind, Op::Line);
  EXPECT_EQ(canvas.ops.back().kind, Op::Line);

  Zbase = -99999;
  RecordingCanvas none;
  MapPicture noBase = picture(DrawingMode::GeologicalMap);
  noBase.style.options.DrawBoundary = false;
  drawGeoMap(none, projection(), noBase);
  EXPECT_TRUE(none.of(Op::Line).empty());
}

TEST_F(MapRendererTest, TheBoundaryLineIsDrawnInItsColourWhereUnitsMeet) {
  drawGeoMap(canvas, projection(), picture(DrawingMode::GeologicalMap));
  const auto lines = canvas.linesIn(kBlue);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].penWidth, 2);

  drawUnit(2, 1) = drawUnit(2, 2) = 1;  // one unit everywhere: the boundary is no contact
  RecordingCanvas same;
  drawGeoMap(same, projection(), picture(DrawingMode::GeologicalMap));
  EXPECT_TRUE(same.linesIn(kBlue).empty());
}

TEST_F(MapRendererTest, ABoundaryGridOfOtherNodesIsEvaluatedAtTheDisplayNodes) {
  // A plane 2 + x / 2 meets the surface at x = 4: the same line from a grid on the display's
  // nodes and from a finer one, whose node (2, 2) lies mid-cell.
  const auto plane = [](double x, double) { return 2 + x / 2; };
  grids[1] = makeGrid(2, 2, 0, 0, 10, 10, plane);
  drawGeoMap(canvas, projection(), picture(DrawingMode::GeologicalMap));
  grids[1] = makeGrid(3, 3, 0, 0, 5, 5, plane);
  RecordingCanvas finer;
  drawGeoMap(finer, projection(), picture(DrawingMode::GeologicalMap));
  ASSERT_EQ(canvas.linesIn(kBlue).size(), 1u);
  ASSERT_EQ(finer.linesIn(kBlue).size(), 1u);
  EXPECT_EQ(finer.linesIn(kBlue)[0].coords, canvas.linesIn(kBlue)[0].coords);
}

TEST_F(MapRendererTest, ContourMapsPaintCellsWhiteAndAlwaysDrawTheWalls) {
  MapPicture p = picture(DrawingMode::ContourMap);
  p.contourLines = true;
  p.sideWalls = false;
  drawGeoMap(canvas, projection(), p);
  EXPECT_EQ(canvas.of(Op::Polygon)[0].fill, kWhite);
  EXPECT_TRUE(canvas.linesIn(kBlue).empty());
  EXPECT_EQ(sideMapCalls, 1);
  // Levels 2, 4, 6, 8 cross the cell from south to north; 0 and 10 touch its edges.
  EXPECT_GE(canvas.of(Op::Point).size(), 8u);

  RecordingCanvas geological;
  drawGeoMap(geological, projection(), picture(DrawingMode::GeologicalMap));
  EXPECT_EQ(sideMapCalls, 1);  // not without the side walls wanted
}

TEST_F(MapRendererTest, GridLinesOutlineEveryCell) {
  drawGeoMap(canvas, projection(), picture(DrawingMode::GridLines));
  const auto cells = canvas.of(Op::Polygon);
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_EQ(cells[0].fillStyle, FillStyle::Transparent);
  EXPECT_EQ(cells[0].pen, kBlack);
  EXPECT_EQ(cells[0].penStyle, PenStyle::Solid);
}

TEST_F(MapRendererTest, TheFrameRunsAlongTheNearSidesOrAllFour) {
  Zbase = -99999;
  MapPicture p = picture(DrawingMode::GeologicalMap);
  p.style.options.DrawBoundary = false;
  p.frame = true;
  drawGeoMap(canvas, projection(), p);
  EXPECT_EQ(canvas.linesIn(kBlack).size(), 2u);
  p.frameFourSides = true;
  RecordingCanvas four;
  drawGeoMap(four, projection(), p);
  EXPECT_EQ(four.linesIn(kBlack).size(), 4u);
}

TEST_F(MapRendererTest, ACellWithACornerBehindTheEyeIsSkipped) {
  view.Dist = 5;  // the eye stands inside the block
  view.Ppz = 0;
  drawGeoMap(canvas, projection(), picture(DrawingMode::GeologicalMap));
  EXPECT_TRUE(canvas.of(Op::Polygon).empty());
}

TEST_F(MapRendererTest, NothingIsDrawnWithoutADisplaySurface) {
  DisplaySurface none;
  const MapPicture empty{.display = none,
                         .base = Zbase,
                         .drawUnit = drawUnit,
                         .contours = contours,
                         .style = {model, grids, unitColor, boundaryColor,
                                   DrawOptions{.DrawMode = DrawingMode::GridLines}}};
  drawGeoMap(canvas, projection(), empty);
  EXPECT_TRUE(canvas.ops.empty());
}

TEST(BlockBase, ATypedHeightOfMinus99999OrLessMeansNoBase) {
  EXPECT_EQ(blockBase(0), 0.0);
  EXPECT_EQ(blockBase(-99998.5), -99998.5);
  EXPECT_EQ(blockBase(1e6), 1e6);
  EXPECT_FALSE(blockBase(-99999));
  EXPECT_FALSE(blockBase(-1e9));
}

TEST(VisibleWalls, TheWallsOnTheNearSides) {
  const Projection any(ViewSettings{}, ViewCanvas{}, DisplaySurface{}, 0);
  const PaintersOrder east{1, 5, 1}, west{5, 1, -1}, north{1, 4, 1}, south{4, 1, -1};
  EXPECT_EQ(visibleWalls(any.withPaintersOrder(east, north), 5, 4),
            (std::array<std::int16_t, 2>{3, 4}));
  EXPECT_EQ(visibleWalls(any.withPaintersOrder(east, south), 5, 4),
            (std::array<std::int16_t, 2>{1, 4}));
  EXPECT_EQ(visibleWalls(any.withPaintersOrder(west, south), 5, 4),
            (std::array<std::int16_t, 2>{1, 2}));
  EXPECT_EQ(visibleWalls(any.withPaintersOrder(west, north), 5, 4),
            (std::array<std::int16_t, 2>{3, 2}));
}

}  // namespace
}  // namespace kalvenor
