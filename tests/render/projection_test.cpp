#include "render/projection.h"

#include <gtest/gtest.h>

#include "../evaluation/grid_fixtures.h"
#include "model/display_surface.h"
#include "recording_canvas.h"

namespace kalvenor {
namespace {

ViewSettings parallelView(double alpha, double gamma, double scale, double halfW, double halfH) {
  ViewSettings v;
  v.Alpha = alpha;
  v.Gamma = gamma;
  v.Ve = 1;
  DisplaySurface none;
  applyView(v, none, 0, 0);
  v.Scale = scale;
  v.HalfW = halfW;
  v.HalfH = halfH;
  return v;
}

TEST(Projection, TheWorkedParallelExample) {
  const ViewSettings v = parallelView(0, 0, 2, 400, 300);
  const Projection p(v, 0, 0, 0, -1000);
  EXPECT_EQ(p.projectPoint(10, 0, 5), (CanvasPoint{380, 290}));
  // u * Scale = -0.5 floors to -1.
  EXPECT_EQ(p.projectPoint(0.25, 0, 0), (CanvasPoint{399, 300}));
}

TEST(Projection, PerspectiveScalesByTheDistanceToTheEye) {
  ViewSettings v = parallelView(0, 0, 2, 400, 300);
  v.Dist = 100;
  v.Ppz = 0;
  const Projection p(v, 0, 0, 0, -1000);
  // Alpha 0, Gamma 0: the eye looks from the north, w is y. At w = 50 the factor is 2.
  EXPECT_EQ(p.projectPoint(10, 50, 5), (CanvasPoint{360, 280}));
  EXPECT_EQ(p.projectPoint(10, 0, 5), (CanvasPoint{380, 290}));  // on the plane: parallel size
  EXPECT_FALSE(p.projectPoint(10, 100, 5));                      // at the eye
  EXPECT_FALSE(p.projectPoint(10, 150, 5));                      // behind it
  v.Dist = 2e10;  // any distance but exactly 1e10 is perspective
  EXPECT_NE(Projection(v, 0, 0, 0, -1000).projectPoint(10, 1e10, 5),
            Projection(parallelView(0, 0, 2, 400, 300), 0, 0, 0, -1000).projectPoint(10, 1e10, 5));
}

TEST(Projection, PointsBeyondTheIntegerRangeCannotBeDrawn) {
  const ViewSettings v = parallelView(0, 0, 1e6, 400, 300);
  const Projection p(v, 0, 0, 0, -1000);
  EXPECT_FALSE(p.projectPoint(1e5, 0, 0));
  EXPECT_TRUE(p.projectPoint(1e3, 0, 0));
}

TEST(Projection, ThePlanViewHasNorthUpAndEastRight) {
  const ViewSettings v = parallelView(180, 90, 1, 100, 100);
  const Projection p(v, 0, 0, 0, -1000);
  // Up to the floating-point error of the axes, which can floor a pixel.
  const auto near = [&](double x, double y, double z, int px, int py) {
    const auto point = p.projectPoint(x, y, z);
    ASSERT_TRUE(point);
    EXPECT_NEAR(point->x, px, 1);
    EXPECT_NEAR(point->y, py, 1);
  };
  near(20, 0, 0, 120, 100);
  near(0, 30, 0, 100, 70);
  near(0, 0, 500, 100, 100);
}

TEST(Projection, HeightsBelowTheBaseAreLiftedThenExaggeratedAboutTheCentre) {
  ViewSettings v;
  v.Ve = 2;
  const Projection p(v, 0, 0, 100, 50);
  EXPECT_EQ(p.exaggerateHeight(110), 120);
  EXPECT_EQ(p.exaggerateHeight(20), 0);  // lifted to 50 first
  v.Ve = 1;
  EXPECT_EQ(p.exaggerateHeight(110), 110);
}

TEST(LineBetween, JoinsTwoProjectedPointsInThePenColourOrAGivenOne) {
  const PackedColor kRed = packRgb(255, 0, 0), kBlue = packRgb(0, 0, 255);
  RecordingCanvas canvas;
  canvas.setPenColor(kRed);
  lineBetween(canvas, CanvasPoint{1, 2}, CanvasPoint{30, -40});
  lineBetween(canvas, CanvasPoint{1, 2}, CanvasPoint{30, -40}, kBlue);
  lineBetween(canvas, CanvasPoint{5, 5}, CanvasPoint{6, 6});
  ASSERT_EQ(canvas.ops.size(), 3u);
  EXPECT_EQ(canvas.ops[0].coords, (std::vector<double>{1, 2, 30, -40}));
  EXPECT_EQ(canvas.ops[0].pen, kRed);
  EXPECT_EQ(canvas.ops[1].pen, kBlue);
  EXPECT_EQ(canvas.ops[2].pen, kRed);  // the given colour does not become the pen's
}

TEST(LineBetween, NothingWhenAnEndCouldNotBeProjected) {
  ViewSettings v = parallelView(0, 0, 2, 400, 300);
  v.Dist = 100;
  const Projection p(v, 0, 0, 0, -1000);
  RecordingCanvas canvas;
  lineBetween(canvas, p.projectPoint(0, 0, 0), p.projectPoint(0, 150, 0));  // behind the eye
  lineBetween(canvas, std::nullopt, CanvasPoint{1, 1}, kBlack);
  EXPECT_TRUE(canvas.ops.empty());
}

TEST(Projection, AModelPointIsLiftedAndExaggeratedBeforeItIsProjected) {
  ViewSettings v = parallelView(0, 0, 2, 400, 300);
  v.Ve = 2;
  const Projection p(v, 0, 0, 100, 50);
  EXPECT_EQ(p.project(10, 0, 110), p.projectPoint(10, 0, 120));
  EXPECT_EQ(p.project(10, 0, 20), p.projectPoint(10, 0, 0));  // lifted to 50 first
  EXPECT_NE(p.project(10, 0, 20), p.projectPoint(10, 0, 20));
}

TEST(ApplyView, ScaleFitsTheLongerSideIntoHalfTheShorterCanvasSide) {
  const DisplaySurface d =
      exactDisplaySurface(makeGrid(5, 3, 0, 0, 100, 100, [](double, double) { return 0; }));
  ViewSettings v;
  v.Sca = 1;
  applyView(v, d, 801, 600);
  EXPECT_EQ(v.HalfW, 400);
  EXPECT_EQ(v.HalfH, 300);
  EXPECT_EQ(v.Wx, 400);
  EXPECT_EQ(v.Scale, 300.0 / 400);
  v.Dist = kParallelDist;
  v.Ppz = 7;
  applyView(v, d, 801, 600);
  EXPECT_EQ(v.Ppz, 0);
  DisplaySurface none;
  applyView(v, none, 801, 600);
  EXPECT_EQ(v.Scale, 0);
}

TEST(ApplyView, ThePaintersOrderStartsOppositeTheEye) {
  const DisplaySurface d =
      exactDisplaySurface(makeGrid(4, 3, 0, 0, 10, 10, [](double, double) { return 0; }));
  const auto order = [&](double alpha, double gamma) {
    ViewSettings v;
    v.Alpha = alpha;
    v.Gamma = gamma;
    v.Sca = 1;
    applyView(v, d, 100, 100);
    return std::pair{v.orderX.first, v.orderY.first};
  };
  EXPECT_EQ(order(45, 30), (std::pair{1, 1}));   // eye north-east: start south-west
  EXPECT_EQ(order(135, 30), (std::pair{1, 3}));  // south-east: start north-west
  EXPECT_EQ(order(225, 30), (std::pair{4, 3}));  // south-west: start north-east
  EXPECT_EQ(order(315, 30), (std::pair{4, 1}));  // north-west: start south-east
  // Straight above the centre both run ascending (cos 90 degrees leaves a sliver east).
  ViewSettings top;
  top.Gamma = 90;
  top.Dist = 0;
  applyView(top, d, 100, 100);
  EXPECT_EQ(top.orderX.step, 1);
  EXPECT_EQ(top.orderY.step, 1);
  EXPECT_EQ(top.orderY.last, 3);
}

}  // namespace
}  // namespace kalvenor
