#include <gtest/gtest.h>

#include <cmath>

#include "../evaluation/grid_fixtures.h"
#include "evaluation/classification.h"
#include "recording_canvas.h"
#include "render/map_renderer.h"

namespace kalvenor {
namespace {

// Rolling ground over a boundary it crosses again and again, with contours: the map drawn in
// parts on several threads is every operation of the map drawn row by row on one, in the same
// order and with the same pens and fills, lit by the shaded relief or flat.
class MapInParts : public ::testing::TestWithParam<Contacts> {
 protected:
  MapInParts() {
    for (int i = 1; i <= display.Nx; ++i) {
      for (int j = 1; j <= display.Ny; ++j) {
        double z = display.dispZ(i, j);
        drawUnit(i, j) = classifyPoint(model, grids, display.x(i), display.y(j), z).unitStrict;
      }
    }
    view.Alpha = 225;
    view.Gamma = 30;
    view.Sca = 1;
    view.Ve = 2;
  }
  std::vector<RecordingCanvas::Op> draw(DrawingMode mode, int threads) {
    RecordingCanvas canvas;
    const DrawOptions options{
        .DrawBoundary = true, .DrawMode = mode, .contacts = GetParam(), .shading = shading};
    const MapPicture picture{.display = display,
                             .base = 0.0,
                             .drawUnit = drawUnit,
                             .contours = contours,
                             .style = {model, grids, colours, colours, options},
                             .contourLines = true,
                             .frame = true,
                             .frameFourSides = true};
    drawGeoMap(canvas, Projection(view, {800, 600}, display, 0.0), picture, {threads});
    return canvas.ops;
  }

  DisplaySurface display =
      exactDisplaySurface(makeGrid(60, 130, 0, 0, 10, 10, [](double x, double y) {
        return 50 + 20 * std::sin(x / 90 + y / 70);
      }));
  LogicalModel model = twoLayers();
  std::vector<GridSurface> grids = {
      {}, makeGrid(60, 130, 0, 0, 10, 10, [](double x, double) { return 40 + x / 30; }), {}};
  std::vector<PackedColor> colours = {kBlack, packRgb(200, 0, 0), packRgb(0, 200, 0)};
  Array2D<std::int16_t> drawUnit{1, 60, 1, 130, 0};
  ContourSettings contours{30, 70, 5};
  ViewSettings view;
  ReliefShading shading;
};

TEST_P(MapInParts, DrawsWhatOneThreadDraws) {
  for (const bool shaded : {false, true}) {
    shading.on = shaded;
    for (const DrawingMode mode :
         {DrawingMode::GeologicalMap, DrawingMode::ContourMap, DrawingMode::GridLines}) {
      const auto one = draw(mode, 1);
      ASSERT_GT(one.size(), 7000u);
      for (const int threads : {2, 3, 7}) {
        EXPECT_EQ(draw(mode, threads), one) << "mode " << static_cast<int>(mode) << ", " << threads
                                            << " threads, shaded " << shaded;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothContacts, MapInParts,
                         ::testing::Values(Contacts::Cells, Contacts::Smooth));

}  // namespace
}  // namespace kalvenor
