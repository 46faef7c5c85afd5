#include "render/fence_panels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "../evaluation/grid_fixtures.h"
#include "evaluation/grid_builds.h"
#include "recording_canvas.h"
#include "render/draw_units.h"
#include "render/fence_cut.h"
#include "render/fence_detail.h"
#include "render/map_renderer.h"
#include "render/section_renderer.h"
#include "render/side_walls.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

const PackedColor kLowColor = packRgb(200, 0, 0);
const PackedColor kHighColor = packRgb(0, 0, 200);
const PackedColor kContact = packRgb(0, 180, 0);
const PackedColor kLineColor = packRgb(10, 20, 30);

// What an operation puts on the picture: its kind, place and colour (the fill of a polygon, the
// pen of a line), whatever pen an invisible outline was left with.
struct Drawn {
  Op::Kind kind;
  std::vector<double> coords;
  PackedColor color;
  bool operator==(const Drawn&) const = default;
  bool operator<(const Drawn& other) const {
    return std::tie(kind, coords, color) < std::tie(other.kind, other.coords, other.color);
  }
};

std::vector<Drawn> drawn(const std::vector<Op>& ops) {
  std::vector<Drawn> result;
  for (const Op& op : ops) {
    if (op.kind == Op::Polygon) result.push_back({op.kind, op.coords, op.fill});
    if (op.kind == Op::Line) result.push_back({op.kind, op.coords, op.pen});
  }
  return result;
}

std::vector<Drawn> only(const std::vector<Drawn>& all, Op::Kind kind) {
  std::vector<Drawn> found;
  std::copy_if(all.begin(), all.end(), std::back_inserter(found),
               [kind](const Drawn& d) { return d.kind == kind; });
  return found;
}

// An 11 x 11 display over (0, 0)-(100, 100) rising eastward from 30 to 40, over a boundary that
// rises both east and north: unit 1 below it, unit 2 above it.
class FencePanelsTest : public ::testing::Test {
 protected:
  BuildInputs inputs() const { return {model, files, display, 0}; }
  std::vector<FencePanel> panels(const std::vector<FenceLine>& lines) const {
    return buildFence(inputs(), lines, &grids);
  }
  Projection view(double alpha, double gamma, double dist = kParallelDist) const {
    ViewSettings v;
    v.Alpha = alpha;
    v.Gamma = gamma;
    v.Sca = 1;
    v.Ve = 1;
    v.Dist = dist;
    return Projection(v, {400, 400}, *display, 0.0);
  }
  DrawOptions options(Contacts contacts) const {
    return {.LineColor = kLineColor,
            .DrawBoundary = true,
            .DrawMode = DrawingMode::GeologicalMap,
            .contacts = contacts};
  }
  std::vector<Drawn> fence(const std::vector<FencePanel>& fence, const Projection& projection,
                           Contacts contacts = Contacts::Smooth) const {
    RecordingCanvas canvas;
    drawFence(canvas, projection,
              {fence, display->zEps, {model, grids, unitColor, boundaryColor, options(contacts)}});
    return drawn(canvas.ops);
  }

  GridSurface surface =
      makeGrid(11, 11, 0, 0, 10, 10, [](double x, double) { return 30 + x / 10; });
  std::shared_ptr<const DisplaySurface> display =
      std::make_shared<const DisplaySurface>(exactDisplaySurface(surface));
  TempFile boundary{gridFileText(
      makeGrid(2, 2, 0, 0, 100, 100, [](double x, double y) { return 5 + x / 5 + y / 10; }))};
  LogicalModel model = twoLayers();
  std::vector<std::string> files = {"", boundary.path()};
  std::vector<GridSurface> grids = readBuildBoundaries(inputs());
  std::vector<PackedColor> unitColor = {kBlack, kLowColor, kHighColor};
  std::vector<PackedColor> boundaryColor = {kBlack, kContact};
};

// Two east-west panels, one in the south and one in the north: whichever the eye is nearer is
// drawn whole after the other, in the order the panels are given or the other way round.
TEST_F(FencePanelsTest, ANearPanelIsDrawnWholeOverAFarOne) {
  const FenceLine south{"S", {{0, 20}, {100, 20}}};
  const FenceLine north{"N", {{0, 80}, {100, 80}}};
  struct Case {
    const char* name;
    double alpha, gamma, dist;
    bool southNear;
  };
  const Case cases[] = {{"parallel, from the south", 180, 30, kParallelDist, true},
                        {"parallel, from the north-east", 30, 40, kParallelDist, false},
                        {"perspective, from the south", 180, 30, 400, true},
                        {"perspective, from the north", 0, 20, 300, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Projection projection = view(c.alpha, c.gamma, c.dist);
    const FenceLine& nearLine = c.southNear ? south : north;
    const FenceLine& farLine = c.southNear ? north : south;
    std::vector<Drawn> farThenNear = fence(panels({farLine}), projection);
    const std::vector<Drawn> nearAlone = fence(panels({nearLine}), projection);
    ASSERT_FALSE(nearAlone.empty());
    farThenNear.insert(farThenNear.end(), nearAlone.begin(), nearAlone.end());
    EXPECT_EQ(fence(panels({south, north}), projection), farThenNear);
    EXPECT_EQ(fence(panels({north, south}), projection), farThenNear);
  }
}

// The strip of `panel` whose middle lies nearest (x, y), as its place in the drawing order.
std::size_t placeOf(const std::vector<FenceStrip>& strips, const std::vector<FencePanel>& panels,
                    int panel, double x, double y) {
  std::size_t best = strips.size();
  double bestDistance = 1e300;
  for (std::size_t n = 0; n < strips.size(); ++n) {
    if (strips[n].panel != panel) continue;
    const VerticalGrid& g = panels[panel].grid;
    const int h = strips[n].h;
    const double d = std::hypot((g.x(h) + g.x(h + 1)) / 2 - x, (g.y(h) + g.y(h + 1)) / 2 - y);
    if (d < bestDistance) {
      bestDistance = d;
      best = n;
    }
  }
  return best;
}

// An east-west and a north-south panel crossing in the middle, seen from the south-east: each
// panel's far half comes before the other's near half, so each covers the other where it is
// nearer.
TEST_F(FencePanelsTest, CrossingPanelsCross) {
  const std::vector<FencePanel> fence =
      panels({{"A", {{0, 50}, {100, 50}}}, {"B", {{50, 0}, {50, 100}}}});
  for (const double dist : {kParallelDist, 500.0}) {
    SCOPED_TRACE(dist);
    const std::vector<FenceStrip> strips = stripsFarToNear(view(135, 30, dist), fence);
    const std::size_t westOfA = placeOf(strips, fence, 0, 15, 50);
    const std::size_t eastOfA = placeOf(strips, fence, 0, 85, 50);
    const std::size_t northOfB = placeOf(strips, fence, 1, 50, 85);
    const std::size_t southOfB = placeOf(strips, fence, 1, 50, 15);
    EXPECT_LT(westOfA, southOfB);
    EXPECT_LT(northOfB, eastOfA);
    EXPECT_LT(westOfA, eastOfA);
    EXPECT_LT(northOfB, southOfB);
  }
}

// A fence of one straight line seen straight on fills what the section along that line fills,
// cell for cell in the same order; drawn cell by cell, with the same lines too.
TEST_F(FencePanelsTest, OneStraightPanelDrawsTheSectionOnItsColumns) {
  const std::vector<SurveyVertex> line = {{0, 42}, {100, 42}};
  SectionLine sectionLine;
  sectionLine.vertices = line;
  const SectionBuild section = buildSectionGrid(inputs(), sectionLine);
  const Array2D<std::int16_t> units =
      unitsToDraw(section.grid.unit, section.grid.nH, section.grid.nV);
  const Projection projection = view(180, 0);
  for (const Contacts contacts : {Contacts::Cells, Contacts::Smooth}) {
    SCOPED_TRACE(contacts == Contacts::Cells ? "cells" : "smooth");
    RecordingCanvas canvas;
    const SectionPicture picture{
        .grid = section.grid,
        .drawUnit = units,
        .section = section.section,
        .profile = section.sectionProfile,
        .Zbase = 0.0,
        .Zmax = display->Zmax,
        .zEps = display->zEps,
        .style = {model, grids, unitColor, boundaryColor, options(contacts)}};
    drawSection(canvas, projection, picture);
    // Less the section's frame, three lines before its cells and three after.
    std::vector<Drawn> cells = drawn(canvas.ops);
    cells.erase(cells.begin(), cells.begin() + 3);
    cells.erase(cells.end() - 3, cells.end());
    const std::vector<Drawn> panel = fence(panels({{"A", line}}), projection, contacts);
    EXPECT_EQ(only(panel, Op::Polygon), only(cells, Op::Polygon));
    std::vector<Drawn> panelLines = only(panel, Op::Line), cellLines = only(cells, Op::Line);
    ASSERT_FALSE(panelLines.empty());
    if (contacts == Contacts::Cells) {
      EXPECT_EQ(panelLines, cellLines);
    } else {
      // A strip's lines follow its own fills rather than all of them.
      std::sort(panelLines.begin(), panelLines.end());
      std::sort(cellLines.begin(), cellLines.end());
      EXPECT_EQ(panelLines, cellLines);
    }
  }
}

// Seen large, every node of a panel is drawn; seen so small that its cells would be finer than
// a pixel, every k-th column and level, the panel's last column and its top kept, each node with
// its own unit.
TEST_F(FencePanelsTest, APanelFinerThanThePictureIsDrawnWithFewerNodes) {
  const std::vector<FencePanel> fence = panels({{"A", {{0, 20}, {100, 60}}}});
  const FencePanel& panel = fence[0];
  ViewSettings v;
  v.Alpha = 200;
  v.Gamma = 30;
  v.Ve = 1;
  v.Sca = 1;
  EXPECT_EQ(panelStride(panel, Projection(v, {400, 400}, *display, 0.0)), PanelStride{});
  EXPECT_FALSE(panelInDetail(panel, {}, grids, 1));
  v.Sca = 0.02;
  const PanelStride stride = panelStride(panel, Projection(v, {400, 400}, *display, 0.0));
  ASSERT_GT(stride.columns, 1);
  ASSERT_GT(stride.levels, 1);
  const std::optional<FencePanel> coarse = panelInDetail(panel, stride, grids, 1);
  ASSERT_TRUE(coarse);
  const VerticalGrid &g = panel.grid, &c = coarse->grid;
  EXPECT_EQ(c.x(c.nH), g.x(g.nH));
  EXPECT_EQ(c.y(c.nH), g.y(g.nH));
  EXPECT_GE(c.z(c.nV), g.z(g.nV));
  for (int n = 1; n < c.nH; ++n) {
    const int h = 1 + (n - 1) * stride.columns;
    EXPECT_EQ(c.x(n), g.x(h));
    EXPECT_EQ(coarse->section.sectionSurfZ[n], panel.section.sectionSurfZ[h]);
    for (int level = 1; level < c.nV; ++level) {
      ASSERT_EQ(c.unit(n, level), g.unit(h, 1 + (level - 1) * stride.levels)) << n << ", " << level;
    }
  }
}

TEST_F(FencePanelsTest, APointIsCutWhereItsRayAwayFromTheEyeMeetsAPanel) {
  // Bent: from the west edge east along y = 30 to x = 50, then north to the north edge.
  const std::vector<FencePanel> fence = panels({{"L", {{0, 30}, {50, 30}, {50, 100}}}});
  struct Case {
    const char* name;
    double alpha, gamma, dist;
    double x, y;
    bool hidden;
  };
  const Case cases[] = {
      {"south of the first leg, from the south", 180, 30, kParallelDist, 20, 10, true},
      {"south-east, past the panel's end", 180, 30, kParallelDist, 80, 10, false},
      {"behind the first leg", 180, 30, kParallelDist, 20, 60, false},
      {"east of the second leg, from the east", 90, 30, kParallelDist, 80, 60, true},
      {"west of the second leg, from the east", 90, 30, kParallelDist, 20, 60, false},
      {"north of the first leg, from the north", 0, 60, kParallelDist, 45, 90, true},
      // The eye over the block at (50, 80): its rays fan out from there.
      {"from an eye over the block, toward the first leg", 0, 60, 60, 40, 60, true},
      {"from an eye over the block, away from the panel", 0, 60, 60, 45, 90, false},
      {"from an eye over the block, toward the bend", 0, 60, 60, 50, 75, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(FenceCut(view(c.alpha, c.gamma, c.dist), fence, *display).hides(c.x, c.y), c.hidden)
        << c.name;
  }
}

// A 5 x 5 block over (0, 0)-(40, 40), flat at 30 over a boundary at 10, with a panel along
// y = 20 seen from a little west of south: the rays away from the eye run north-north-east, and
// the one through the panel's east end leaves from x 36.5 on the south edge. The terrain's cells
// and the walls' pairs of columns wholly in front of the panel go; those that reach past the
// ray or behind the panel's line are drawn as without the cut.
TEST_F(FencePanelsTest, TheCutLeavesOutTheBlockInFrontOfThePanels) {
  const auto flat = std::make_shared<const DisplaySurface>(
      exactDisplaySurface(makeGrid(5, 5, 0, 0, 10, 10, [](double, double) { return 30.0; })));
  const TempFile level{
      gridFileText(makeGrid(2, 2, 0, 0, 40, 40, [](double, double) { return 10.0; }))};
  const std::vector<std::string> levelFiles = {"", level.path()};
  const BuildInputs in{model, levelFiles, flat, 0};
  const MapBuild block = buildMapGrid(in);
  const std::vector<FencePanel> fence =
      buildFence(in, {{"A", {{0, 20}, {40, 20}}}}, &block.boundaryGrids);
  const Array2D<std::int16_t> units = unitsToDraw(block.grid.mapUnit, 5, 5);
  const ContourSettings contours;
  ViewSettings v;
  v.Alpha = 190;
  v.Gamma = 30;
  v.Sca = 1;
  v.Ve = 1;
  const Projection projection(v, {400, 400}, *flat, 0.0);
  const FenceCut cut(projection, fence, *flat);
  const DrawOptions look = options(Contacts::Cells);
  const auto map = [&](const FenceCut* withCut) {
    RecordingCanvas canvas;
    const MapPicture picture{.display = *flat,
                             .base = std::nullopt,
                             .drawUnit = units,
                             .contours = contours,
                             .style = {model, block.boundaryGrids, unitColor, boundaryColor, look},
                             .fenceCut = withCut};
    drawGeoMap(canvas, projection, picture);
    return canvas.of(Op::Polygon);
  };
  const auto walls = [&](std::array<std::int16_t, 2> visible, const FenceCut* withCut) {
    RecordingCanvas canvas;
    const SidePicture picture{*flat,
                              block.grid,
                              block.wallProfiles,
                              visible,
                              {model, block.boundaryGrids, unitColor, boundaryColor, look},
                              withCut};
    drawSideMaps(canvas, projection, picture);
    return canvas.of(Op::Polygon).size();
  };
  // Rows far to near: the two north of the panel whole, then of each row south of it only its
  // east cell, which reaches past the ray.
  const std::vector<Op> whole = map(nullptr);
  const std::vector<Op> cutAway = map(&cut);
  ASSERT_EQ(whole.size(), 16u);
  ASSERT_EQ(cutAway.size(), 10u);
  EXPECT_EQ(std::vector<Op>(cutAway.begin(), cutAway.begin() + 8),
            std::vector<Op>(whole.begin(), whole.begin() + 8));
  // Of the south wall's four pairs the one east of the ray stays; of the west wall's, the two
  // north of the panel.
  const std::size_t south = walls({kSouthWall, 0}, nullptr), west = walls({0, kWestWall}, nullptr);
  ASSERT_GT(south, 0u);
  EXPECT_EQ(walls({kSouthWall, 0}, &cut), south / 4);
  EXPECT_EQ(walls({0, kWestWall}, &cut), west / 2);
}

}  // namespace
}  // namespace kalvenor
