// A grid stored east to west or north to south is the same terrain as one stored the usual way:
// its block diagram must be drawn with exactly the same operations.
#include <gtest/gtest.h>

#include <cmath>

#include "../evaluation/grid_fixtures.h"
#include "evaluation/grid_builds.h"
#include "recording_canvas.h"
#include "render/draw_units.h"
#include "render/map_renderer.h"
#include "render/side_walls.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

// The same nodes with the columns (flipX) or rows (flipY) stored in the opposite order.
GridSurface stored(const GridSurface& g, bool flipX, bool flipY) {
  GridSurface out = g;
  if (flipX) {
    out.Xmin = g.xMax();
    out.Dx = -g.Dx;
  }
  if (flipY) {
    out.Ymin = g.yMax();
    out.Dy = -g.Dy;
  }
  for (int i = 1; i <= g.Nx; ++i) {
    for (int j = 1; j <= g.Ny; ++j) {
      out.z(i, j) = g.z(flipX ? g.Nx + 1 - i : i, flipY ? g.Ny + 1 - j : j);
    }
  }
  return out;
}

// A ridge rising to the north-east over a dipping and a folded boundary: three units, every
// kind of line crossing the surface and both visible walls.
const GridSurface kTerrain = makeGrid(9, 7, 1000, 2000, 25, 25, [](double x, double y) {
  return 100 + 0.2 * (x - 1000) + 0.1 * (y - 2000) + 15 * std::sin((x - 1000) / 40.0);
});
const GridSurface kLower =
    makeGrid(9, 7, 1000, 2000, 25, 25, [](double x, double) { return 60 + 0.25 * (x - 1000); });
const GridSurface kUpper = makeGrid(9, 7, 1000, 2000, 25, 25, [](double x, double y) {
  return 120 + 20 * std::cos((y - 2000) / 50.0) - 0.05 * (x - 1000);
});

struct Scene {
  Scene(bool flipX, bool flipY)
      : display(exactDisplaySurface(stored(kTerrain, flipX, flipY))),
        lower(gridFileText(stored(kLower, flipX, flipY))),
        upper(gridFileText(stored(kUpper, flipX, flipY))) {
    model.modelCell(1, 1) = -1;
    model.modelCell(2, 1) = 1;
    model.modelCell(2, 2) = -1;
    model.modelCell(3, 2) = 1;
    buildUnitOfPattern(model);
    const std::vector<std::string> files = {"", lower.path(), upper.path()};
    build = buildMapGrid({model, files, std::make_shared<const DisplaySurface>(display), 0.0});
  }

  std::vector<Op> draw(const ViewSettings& view) const {
    RecordingCanvas canvas(600, 500);
    const Projection projection(view, {canvas.width(), canvas.height()}, display, 0.0);
    const Array2D<std::int16_t> units = unitsToDraw(build.grid.mapUnit, display.Nx, display.Ny);
    const PictureStyle style{
        model, build.boundaryGrids, unitColor, boundaryColor,
        DrawOptions{.DrawBoundary = true, .DrawMode = DrawingMode::GeologicalMap}};
    const ContourSettings contours{60, 200, 10};
    const SidePicture walls{display, build.grid, build.wallProfiles,
                            visibleWalls(projection, display.Nx, display.Ny), style};
    const MapPicture picture{
        .display = display,
        .base = 0.0,
        .drawUnit = units,
        .contours = contours,
        .style = style,
        .contourLines = true,
        .sideWalls = true,
        .frame = true,
        .frameFourSides = true,
        .drawSideMaps = [&](const Projection& p) { drawSideMaps(canvas, p, walls); }};
    drawGeoMap(canvas, projection, picture);
    return canvas.ops;
  }

  DisplaySurface display;
  TempFile lower, upper;
  LogicalModel model = allocateModel(2);
  MapBuild build;
  std::vector<PackedColor> unitColor = {kBlack, packRgb(200, 0, 0), packRgb(0, 150, 0),
                                        packRgb(0, 0, 220)};
  std::vector<PackedColor> boundaryColor = {kBlack, packRgb(250, 200, 0), packRgb(0, 200, 250)};
};

ViewSettings viewFrom(double alpha, double gamma, double dist = kParallelDist) {
  ViewSettings v;
  v.Alpha = alpha;
  v.Gamma = gamma;
  v.Sca = 1.2;
  v.Ve = 2;
  v.Dist = dist;
  return v;
}

bool sameOps(const std::vector<Op>& a, const std::vector<Op>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t n = 0; n < a.size(); ++n) {
    if (a[n].kind != b[n].kind || a[n].coords != b[n].coords || a[n].pen != b[n].pen ||
        a[n].fill != b[n].fill || a[n].penWidth != b[n].penWidth) {
      return false;
    }
  }
  return true;
}

TEST(StoredDirectionTest, EveryStorageOrderDrawsTheSameBlockFromEverySide) {
  const Scene usual(false, false);
  const Scene westward(true, false), southward(false, true), both(true, true);
  for (const ViewSettings& view : {viewFrom(225, 30), viewFrom(45, 30), viewFrom(135, 20),
                                   viewFrom(315, 40), viewFrom(180, 90), viewFrom(200, 25, 600)}) {
    SCOPED_TRACE("azimuth " + std::to_string(view.Alpha) + ", depression " +
                 std::to_string(view.Gamma));
    const std::vector<Op> expected = usual.draw(view);
    ASSERT_GT(expected.size(), 100u);
    EXPECT_TRUE(sameOps(westward.draw(view), expected));
    EXPECT_TRUE(sameOps(southward.draw(view), expected));
    EXPECT_TRUE(sameOps(both.draw(view), expected));
  }
}

TEST(StoredDirectionTest, TheScaleFollowsTheSizeOfTheGridNotTheSignOfItsSpacing) {
  const ViewSettings view = viewFrom(225, 30);
  const Projection usual(view, {600, 500}, Scene(false, false).display, 0.0);
  const Projection reversed(view, {600, 500}, Scene(true, true).display, 0.0);
  EXPECT_GT(reversed.scale(), 0);
  EXPECT_EQ(reversed.scale(), usual.scale());
}

}  // namespace
}  // namespace kalvenor
