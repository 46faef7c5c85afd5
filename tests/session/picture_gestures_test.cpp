// What a gesture in the drawing window does to the view, and how the picture is drawn again
// after it: zooms keep the point under the cursor, a drag turns a map and moves a section, the
// pan lasts, and what was drawn over a picture is drawn over it again.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "../render/recording_canvas.h"
#include "session/session_restore.h"
#include "tilted_block.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

class PictureGesturesTest : public ::testing::Test {
 protected:
  const ViewerState& state() { return block.session.state(); }
  CanvasPoint pixelOf(double x, double y, double z) {
    const auto pixel = block.session.projection().project(x, y, z);
    EXPECT_TRUE(pixel.has_value());
    return pixel.value_or(CanvasPoint{});
  }
  // As the window takes a nudge: the boxes' values applied, then the pan.
  void take(const ViewNudge& nudge, PictureKind kind) {
    const NudgedView after = block.session.nudgedView(nudge, kind);
    block.session.setPan(after.PanX, after.PanY);
    block.view(after.values.Alpha, after.values.Gamma, after.values.Sca, 400, 300);
  }

  TiltedBlock block;
};

TEST_F(PictureGesturesTest, AZoomKeepsThePointUnderTheCursorInPlace) {
  block.session.buildMapGrid();
  block.view(225, 30, 1, 400, 300);
  const CanvasPoint corner = pixelOf(400, 200, 50);
  const CanvasPoint middle = pixelOf(200, 100, 40);
  take({0, 0, 1.5, std::array{double(corner.x), double(corner.y)}, 1}, PictureKind::Map);
  EXPECT_NEAR(pixelOf(400, 200, 50).x, corner.x, 1);
  EXPECT_NEAR(pixelOf(400, 200, 50).y, corner.y, 1);
  // Everything else moves away from it by the factor.
  EXPECT_NEAR(pixelOf(200, 100, 40).x - corner.x, 1.5 * (middle.x - corner.x), 2);
  EXPECT_NEAR(pixelOf(200, 100, 40).y - corner.y, 1.5 * (middle.y - corner.y), 2);

  const CanvasPoint before = pixelOf(0, 0, 0);
  take({0, 0, 1 / 1.5, std::array{120.0, 250.0}, 1}, PictureKind::Map);
  take({0, 0, 1.5, std::array{120.0, 250.0}, 1}, PictureKind::Map);  // out and in again
  EXPECT_NEAR(pixelOf(0, 0, 0).x, before.x, 1);
  EXPECT_NEAR(pixelOf(0, 0, 0).y, before.y, 1);
}

TEST_F(PictureGesturesTest, ADragMovesASectionWithTheMouseAndTurnsAMap) {
  block.session.buildSectionGrid({0, 100, true, 400, 100, 0});
  const ViewValues frontal = block.session.sectionView();
  block.view(frontal.Alpha, frontal.Gamma, frontal.Sca, 400, 300);
  const CanvasPoint end = pixelOf(400, 100, 0);
  take({40, -25, 1, std::nullopt, 1}, PictureKind::Section);
  EXPECT_NEAR(pixelOf(400, 100, 0).x, end.x + 40, 1);
  EXPECT_NEAR(pixelOf(400, 100, 0).y, end.y - 25, 1);
  EXPECT_EQ(state().view.Alpha, frontal.Alpha);
  // Zooming about the middle of the canvas keeps what is there, whatever the pan.
  const CanvasPoint near = pixelOf(200, 100, 20);
  take({0, 0, 2, std::nullopt, 1}, PictureKind::Section);
  EXPECT_NEAR(pixelOf(200, 100, 20).x - 200, 2 * (near.x - 200), 2);

  const NudgedView turned =
      block.session.nudgedView({40, -25, 1, std::nullopt, 2}, PictureKind::Map);
  EXPECT_EQ(turned.values.Alpha, frontal.Alpha + 20);
  EXPECT_EQ(turned.values.Gamma, 0);  // a tilt stops at horizontal
  EXPECT_EQ(turned.values.Ve, 2);
  EXPECT_EQ(turned.PanX, state().view.PanX);
}

TEST_F(PictureGesturesTest, ThePanLastsThroughNewViewsAndSessionFilesButNotAFit) {
  block.session.buildMapGrid();
  block.session.setPan(12.5, -3);
  block.view(100, 45, 1.3, 400, 300);
  EXPECT_EQ(state().view.PanX, 12.5);
  EXPECT_EQ(state().view.PanY, -3);

  const TempFile file(sessionFileText(documentOf(state(), 400, 300), "/tmp/pan.json"), ".json");
  const SessionDocument document = readSessionFile(file.path());
  EXPECT_EQ(document.pan, (std::array{12.5, -3.0}));
  Session reopened;
  restoreSession(reopened, document, 400, 300);
  EXPECT_EQ(reopened.state().view.PanX, 12.5);
  EXPECT_EQ(reopened.state().view.PanY, -3);

  // A file written before pictures could be panned shows its picture in the middle.
  nlohmann::json older = nlohmann::json::parse(sessionFileText(document, "/tmp/pan.json"));
  older["view"].erase("pan");
  const TempFile olderFile(older.dump(), ".json");
  EXPECT_EQ(readSessionFile(olderFile.path()).pan, (std::array{0.0, 0.0}));

  block.session.fitMapView(RecordingCanvas(400, 300));
  EXPECT_EQ(state().view.PanX, 0);
  EXPECT_EQ(state().view.PanY, 0);
}

TEST_F(PictureGesturesTest, ARedrawDrawsWhatWasDrawnOverThePictureAgain) {
  block.session.buildMapGrid();
  block.session.setContours({.Cst = 30, .Cen = 50, .Cin = 5, .wanted = true});
  block.view(225, 30, 1, 400, 300);
  const auto redrawn = [this] {
    RecordingCanvas canvas(400, 300);
    block.session.redrawPicture(canvas);
    return canvas.ops;
  };
  RecordingCanvas drawn(400, 300);
  block.session.drawGeoMap(drawn);
  block.session.drawContourMap(drawn);
  block.session.drawGridLines(drawn);
  RecordingCanvas again(400, 300);
  block.session.drawGridLines(again);  // the same command once more adds nothing to draw again
  EXPECT_EQ(redrawn(), drawn.ops);
  EXPECT_EQ(redrawn(), drawn.ops);  // and a redraw keeps what it draws again

  block.view(60, 50, 1.2, 400, 300);
  const std::vector<Op> turned = redrawn();
  RecordingCanvas byHand(400, 300);
  block.session.drawGeoMap(byHand);
  block.session.drawContourMap(byHand);
  block.session.drawGridLines(byHand);
  EXPECT_EQ(turned, byHand.ops);

  RecordingCanvas plain(400, 300);
  block.session.drawGeoMap(plain);  // a new map forgets what was drawn over the last one
  EXPECT_EQ(redrawn(), plain.ops);
}

}  // namespace
}  // namespace kalvenor
