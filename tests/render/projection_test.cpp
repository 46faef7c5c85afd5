#include "render/projection.h"

#include <gtest/gtest.h>

#include "../evaluation/grid_fixtures.h"
#include "model/display_surface.h"
#include "recording_canvas.h"
#include "render/fit_view.h"
#include "render/view_limits.h"

namespace kalvenor {
namespace {

// A block 300 units across about the origin, with its view centre at height Zc: at magnification
// 1 a model unit is a pixel on a canvas whose shorter side is 600 pixels.
DisplaySurface blockAbout(double Zc) {
  DisplaySurface d;
  d.Nx = d.Ny = 2;
  d.Dx = d.Dy = 300;
  d.Xmin = d.Ymin = -150;
  d.Xmax = d.Ymax = 150;
  d.Zc = Zc;
  return d;
}

ViewSettings parallelView(double alpha, double gamma, double Sca) {
  ViewSettings v;
  v.Alpha = alpha;
  v.Gamma = gamma;
  v.Sca = Sca;
  v.Ve = 1;
  return v;
}

// Two pixels a model unit, the canvas middle at (400, 300).
Projection worked(const ViewSettings& v, double Zc = 0, double Zbase = -1000) {
  return Projection(v, {800, 600}, blockAbout(Zc), Zbase);
}

TEST(Projection, TheWorkedParallelExample) {
  const Projection p = worked(parallelView(0, 0, 2));
  EXPECT_EQ(p.projectPoint(10, 0, 5), (CanvasPoint{380, 290}));
  // u * Scale = -0.5 floors to -1.
  EXPECT_EQ(p.projectPoint(0.25, 0, 0), (CanvasPoint{399, 300}));
}

TEST(Projection, PerspectiveScalesByTheDistanceToTheEye) {
  ViewSettings v = parallelView(0, 0, 2);
  v.Dist = 100;
  v.Ppz = 0;
  const Projection p = worked(v);
  // Alpha 0, Gamma 0: the eye looks from the north, w is y. At w = 50 the factor is 2.
  EXPECT_EQ(p.projectPoint(10, 50, 5), (CanvasPoint{360, 280}));
  EXPECT_EQ(p.projectPoint(10, 0, 5), (CanvasPoint{380, 290}));  // on the plane: parallel size
  EXPECT_FALSE(p.projectPoint(10, 100, 5));                      // at the eye
  EXPECT_FALSE(p.projectPoint(10, 150, 5));                      // behind it
  v.Dist = 2e10;  // any distance but exactly 1e10 is perspective
  EXPECT_NE(worked(v).projectPoint(10, 1e10, 5),
            worked(parallelView(0, 0, 2)).projectPoint(10, 1e10, 5));
}

TEST(Projection, PointsBeyondTheIntegerRangeCannotBeDrawn) {
  const Projection p = worked(parallelView(0, 0, 1e6));
  EXPECT_FALSE(p.projectPoint(1e5, 0, 0));
  EXPECT_TRUE(p.projectPoint(1e3, 0, 0));
}

TEST(Projection, ThePlanViewHasNorthUpAndEastRight) {
  const Projection p(parallelView(180, 90, 1), {200, 200}, blockAbout(0), -1000);
  // Three units a pixel, up to the floating-point error of the axes, which can floor a pixel.
  const auto near = [&](double x, double y, double z, int px, int py) {
    const auto point = p.projectPoint(x, y, z);
    ASSERT_TRUE(point);
    EXPECT_NEAR(point->x, px, 1);
    EXPECT_NEAR(point->y, py, 1);
  };
  near(60, 0, 0, 120, 100);
  near(0, 90, 0, 100, 70);
  near(0, 0, 500, 100, 100);
}

TEST(Projection, HeightsBelowTheBaseAreLiftedThenExaggeratedAboutTheCentre) {
  ViewSettings v;
  v.Ve = 2;
  EXPECT_EQ(worked(v, 100, 50).exaggerateHeight(110), 120);
  EXPECT_EQ(worked(v, 100, 50).exaggerateHeight(20), 0);  // lifted to 50 first
  v.Ve = 1;
  EXPECT_EQ(worked(v, 100, 50).exaggerateHeight(110), 110);
}

TEST(Projection, APanAndAShiftMoveThePictureAndAPixelMapsBackToThePicturePlane) {
  ViewSettings v = parallelView(0, 0, 2);
  v.PanX = 10;  // the point 10 right and 5 up of the centre shows in the middle
  v.PanY = 5;
  const Projection panned = worked(v);
  EXPECT_EQ(panned.projectPoint(-10, 0, 5), (CanvasPoint{400, 300}));
  const Projection shifted(v, {800, 600, 7, -3}, blockAbout(0), -1000);
  EXPECT_EQ(shifted.projectPoint(-10, 0, 5), (CanvasPoint{407, 297}));
  EXPECT_EQ(shifted.fromMiddle({427, 277}), (std::array<double, 2>{10, 10}));
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
  ViewSettings v = parallelView(0, 0, 2);
  v.Dist = 100;
  const Projection p = worked(v);
  RecordingCanvas canvas;
  lineBetween(canvas, p.projectPoint(0, 0, 0), p.projectPoint(0, 150, 0));  // behind the eye
  lineBetween(canvas, std::nullopt, CanvasPoint{1, 1}, kBlack);
  EXPECT_TRUE(canvas.ops.empty());
}

TEST(Projection, AModelPointIsLiftedAndExaggeratedBeforeItIsProjected) {
  ViewSettings v = parallelView(0, 0, 2);
  v.Ve = 2;
  const Projection p = worked(v, 100, 50);
  EXPECT_EQ(p.project(10, 0, 110), p.projectPoint(10, 0, 120));
  EXPECT_EQ(p.project(10, 0, 20), p.projectPoint(10, 0, 0));  // lifted to 50 first
  EXPECT_NE(p.project(10, 0, 20), p.projectPoint(10, 0, 20));
}

TEST(Projection, TheScaleFitsTheLongerSideIntoHalfTheShorterCanvasSide) {
  const DisplaySurface d =
      exactDisplaySurface(makeGrid(5, 3, 0, 0, 100, 100, [](double, double) { return 0; }));
  ViewSettings v;
  v.Sca = 1;
  const Projection p(v, {801, 600}, d, 0);
  EXPECT_EQ(p.canvasMiddle(), (std::array<double, 2>{400, 300}));
  EXPECT_EQ(p.scale(), 300.0 / 400);
  EXPECT_EQ(p.scaleAt(2), 300.0 / 400 * 2);
  EXPECT_EQ(Projection(v, {801, 600}, DisplaySurface{}, 0).scale(), 0);
}

TEST(Projection, ThePaintersOrderStartsOppositeTheEye) {
  const DisplaySurface d =
      exactDisplaySurface(makeGrid(4, 3, 0, 0, 10, 10, [](double, double) { return 0; }));
  const auto order = [&](double alpha, double gamma) {
    const Projection p(parallelView(alpha, gamma, 1), {100, 100}, d, 0);
    return std::pair{p.orderX().first, p.orderY().first};
  };
  EXPECT_EQ(order(45, 30), (std::pair{1, 1}));   // eye north-east: start south-west
  EXPECT_EQ(order(135, 30), (std::pair{1, 3}));  // south-east: start north-west
  EXPECT_EQ(order(225, 30), (std::pair{4, 3}));  // south-west: start north-east
  EXPECT_EQ(order(315, 30), (std::pair{4, 1}));  // north-west: start south-east
  // Straight above the centre both run ascending (cos 90 degrees leaves a sliver east).
  ViewSettings top;
  top.Gamma = 90;
  top.Dist = 0;
  const Projection p(top, {100, 100}, d, 0);
  EXPECT_EQ(p.orderX().step, 1);
  EXPECT_EQ(p.orderY().step, 1);
  EXPECT_EQ(p.orderY().last, 3);
}

// Seen level from the north, x runs right to left and z up: the box spans 200 across, 100 up.
TEST(FitView, TheFittedBoxSpansTheCanvasLessTheMarginsAndSitsInTheirMiddle) {
  const std::vector<ModelPoint> box = {{100, 0, -50}, {-100, 0, 50}};
  struct Case {
    Margins margins;
    double Sca;
    CanvasPoint eastLow, westHigh;
  };
  for (const Case& c :
       {Case{{}, 4, {0, 500}, {800, 100}}, Case{{.left = 100}, 3.5, {100, 475}, {800, 125}},
        Case{{.top = 200, .bottom = 100}, 3, {100, 500}, {700, 200}}}) {
    ViewSettings view = parallelView(0, 0, 1);
    view.PanX = 30;  // a fit places the picture whatever the pan
    const auto fit = fitView(worked(view), box, c.margins, 800, 600);
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit->Sca, c.Sca);
    view.Sca = fit->Sca;
    view.PanX = 0;
    const Projection fitted(view, {800, 600, fit->ShiftX, fit->ShiftY}, blockAbout(0), -1000);
    EXPECT_EQ(fitted.project(100, 0, -50), c.eastLow);
    EXPECT_EQ(fitted.project(-100, 0, 50), c.westHigh);
  }
}

TEST(FitView, NothingToFitOrNoRoomLeavesTheViewAlone) {
  ViewSettings behind = parallelView(0, 0, 1);
  behind.Dist = 10;
  const std::vector<ModelPoint> box = {{100, 0, -50}, {-100, 0, 50}};
  const struct {
    ViewSettings view;
    std::vector<ModelPoint> points;
    Margins margins;
  } cases[] = {
      {parallelView(0, 0, 1), {{5, 0, 5}}, {}},                   // a single point
      {behind, {{0, 100, 0}, {10, 100, 10}}, {}},                 // behind the eye
      {parallelView(0, 0, 1), box, {.left = 500, .right = 300}},  // no room across
      {parallelView(0, 0, 0), box, {}},                           // no scale to start from
  };
  for (const auto& c : cases) EXPECT_FALSE(fitView(worked(c.view), c.points, c.margins, 800, 600));
}

TEST(FitView, TheMagnificationStopsAtTheLargestAPictureIsDrawnWith) {
  const auto fit =
      fitView(worked(parallelView(0, 0, 1)), {{0.01, 0, 0}, {-0.01, 0, 0.01}}, {}, 800, 600);
  ASSERT_TRUE(fit);
  EXPECT_EQ(fit->Sca, kMaxViewFactor);
}

}  // namespace
}  // namespace kalvenor
