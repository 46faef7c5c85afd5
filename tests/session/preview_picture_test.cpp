// The coarse pictures drawn while the view is being turned: what they keep of the grids, that
// they look like the picture they stand for, and that they stop when cancelled.
#include "session/preview_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "../render/recording_canvas.h"
#include "render/cancellable_canvas.h"
#include "tilted_block.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

// Left, top, right, bottom of everything drawn.
std::array<double, 4> extent(const RecordingCanvas& canvas) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  std::array<double, 4> e{kInf, kInf, -kInf, -kInf};
  for (const Op& op : canvas.ops) {
    for (std::size_t n = 0; n + 1 < op.coords.size(); n += 2) {
      e = {std::min(e[0], op.coords[n]), std::min(e[1], op.coords[n + 1]),
           std::max(e[2], op.coords[n]), std::max(e[3], op.coords[n + 1])};
    }
  }
  return e;
}

std::vector<Op> withoutClear(std::vector<Op> ops) {
  std::erase_if(ops, [](const Op& op) { return op.kind == Op::Clear; });
  return ops;
}

// Sets the flag once it has recorded `count` operations, as another thread would.
class CancellingCanvas : public RecordingCanvas {
 public:
  CancellingCanvas(std::atomic<bool>& flag, std::size_t count) : flag_(flag), count_(count) {}
  void line(float x1, float y1, float x2, float y2) override {
    RecordingCanvas::line(x1, y1, x2, y2);
    counted();
  }
  void line(float x1, float y1, float x2, float y2, PackedColor color) override {
    RecordingCanvas::line(x1, y1, x2, y2, color);
    counted();
  }
  void polygon(const Quad& q) override {
    RecordingCanvas::polygon(q);
    counted();
  }
  void polygonCorners(std::span<const CanvasPoint> corners) override {
    RecordingCanvas::polygonCorners(corners);
    counted();
  }

 private:
  void counted() {
    if (ops.size() == count_) flag_ = true;
  }
  std::atomic<bool>& flag_;
  std::size_t count_;
};

class PreviewPictureTest : public ::testing::Test {
 protected:
  void mapView() {
    block.session.buildMapGrid();
    block.view(225, 30, 1, 400, 300);
  }
  void sectionView() {
    block.session.buildSectionGrid({0, 100, true, 400, 100, 0});
    const ViewValues frontal = block.session.sectionView();
    block.view(frontal.Alpha, frontal.Gamma, frontal.Sca, 400, 300);
  }
  RecordingCanvas preview(PictureKind kind, int maxCells = kPreviewCells) {
    RecordingCanvas canvas(400, 300);
    const PreviewScene scene = makePreviewScene(state(), kind, maxCells);
    drawPreview(canvas, scene, block.session.projection(), {});
    return canvas;
  }
  const ViewerState& state() { return block.session.state(); }

  TiltedBlock block;
};

// 40 x 20 cells on every fourth node: 10 x 5; the walls on the same columns.
TEST_F(PreviewPictureTest, AGridBeyondTheBudgetKeepsItsEdgesOnEvenlySpreadNodes) {
  mapView();
  const ViewerState& s = state();
  const PreviewScene scene = makePreviewScene(s, PictureKind::Map, 50);
  const DisplaySurface& d = *scene.display;
  ASSERT_EQ(d.Nx, 11);
  ASSERT_EQ(d.Ny, 6);
  EXPECT_EQ(d.nodeX[1], s.display->nodeX[1]);
  EXPECT_EQ(d.nodeX[2], s.display->nodeX[5]);
  EXPECT_EQ(d.nodeX[11], s.display->nodeX[41]);
  EXPECT_EQ(d.nodeY[6], s.display->nodeY[21]);
  EXPECT_EQ(d.dispZ(3, 4), s.display->dispZ(9, 13));
  EXPECT_EQ(scene.units(3, 4), s.mapGrid->mapUnit(9, 13));
  EXPECT_EQ(d.Xc, s.display->Xc);
  EXPECT_EQ(d.Zc, s.display->Zc);

  const VerticalGrid& wall = s.mapGrid->verticalGrids[kSouthWall];
  const VerticalGrid& coarse = scene.grid->verticalGrids[kSouthWall];
  ASSERT_EQ(coarse.nH, 11);
  EXPECT_EQ(coarse.nV, (wall.nV + 2) / 4 + 1);
  EXPECT_DOUBLE_EQ(coarse.z(coarse.nV), wall.z(wall.nV));  // the top level is kept
  EXPECT_EQ(coarse.unit(3, 1), wall.unit(9, 1));
  EXPECT_EQ(scene.grid->verticalGrids[kWestWall].nH, 6);
}

// Within the budget the scene draws from the session's own surface and grids; beyond it, from
// coarse ones of its own.
TEST_F(PreviewPictureTest, AGridWithinTheBudgetIsSharedAndALargerOneMadeCoarse) {
  const struct {
    PictureKind kind;
    int maxCells;
    bool shared;
  } cases[] = {{PictureKind::Map, kPreviewCells, true},
               {PictureKind::Map, 50, false},
               {PictureKind::Section, kPreviewCells, true},
               {PictureKind::Section, 50, false}};
  for (const auto& c : cases) {
    const bool map = c.kind == PictureKind::Map;
    if (map) {
      mapView();
    } else {
      sectionView();
    }
    const PreviewScene scene = makePreviewScene(state(), c.kind, c.maxCells);
    const void* drawnFrom =
        map ? static_cast<const void*>(scene.grid.get()) : scene.sectionGrid.get();
    const void* built =
        map ? static_cast<const void*>(state().mapGrid.get()) : state().sectionGrid.get();
    EXPECT_EQ(drawnFrom == built, c.shared) << c.maxCells;
    if (map) {
      EXPECT_EQ(scene.display == state().display, c.shared) << c.maxCells;
    } else {
      EXPECT_EQ(scene.section == state().section, c.shared) << c.maxCells;
    }
  }
}

TEST_F(PreviewPictureTest, AMapWithinTheBudgetIsPreviewedAsDrawnWithoutBoundaryLines) {
  mapView();
  block.session.setBoundaryLines(true);
  const RecordingCanvas coarse = preview(PictureKind::Map);
  block.session.setBoundaryLines(false);
  RecordingCanvas full(400, 300);
  block.session.drawGeoMap(full);
  ASSERT_FALSE(coarse.ops.empty());
  EXPECT_EQ(coarse.ops, withoutClear(full.ops));
}

// A fence's panels and the cut in front of them turn with the block.
TEST_F(PreviewPictureTest, AFenceIsPreviewedAsDrawn) {
  block.session.setFence({{"A", {{0, 50}, {400, 150}}}, {"B", {{150, 0}, {250, 200}}}});
  block.session.setFenceCut(true);
  mapView();
  block.session.setBoundaryLines(false);
  const RecordingCanvas coarse = preview(PictureKind::Map);
  RecordingCanvas full(400, 300);
  block.session.drawGeoMap(full);
  ASSERT_EQ(state().fence->size(), 2u);
  EXPECT_EQ(coarse.ops, withoutClear(full.ops));
  block.session.setFence({});
  EXPECT_NE(preview(PictureKind::Map).ops, coarse.ops);
}

TEST_F(PreviewPictureTest, ACoarseMapCoversTheSamePartOfTheCanvas) {
  mapView();
  RecordingCanvas full(400, 300);
  block.session.drawGeoMap(full);
  EXPECT_EQ(extent(preview(PictureKind::Map, 50)), extent(full));
  block.view(60, 70, 1.5, 400, 300);  // from the other side: the far corner is another one
  block.session.drawGeoMap(full);
  EXPECT_EQ(extent(preview(PictureKind::Map, 50)), extent(full));
}

TEST_F(PreviewPictureTest, ASectionIsPreviewedLikeTheMap) {
  sectionView();
  block.session.setBoundaryLines(false);  // the section build turned them on
  RecordingCanvas full(400, 300);
  block.session.drawSection(full);
  EXPECT_EQ(preview(PictureKind::Section).ops, withoutClear(full.ops));
  EXPECT_EQ(extent(preview(PictureKind::Section, 50)), extent(full));
}

// On every so many columns of a polyline the preview keeps the unfolded length and the bend.
TEST_F(PreviewPictureTest, ACoarseBentSectionCoversTheSamePartOfTheCanvasWithItsBend) {
  SectionLine line;
  line.vertices = {{0, 0}, {200, 200}, {400, 0}};
  block.session.buildSectionGrid(line);
  const ViewValues frontal = block.session.sectionView();
  block.view(frontal.Alpha, frontal.Gamma, frontal.Sca, 400, 300);
  RecordingCanvas full(400, 300);
  block.session.drawSection(full);
  const RecordingCanvas coarse = preview(PictureKind::Section, 50);
  EXPECT_EQ(extent(coarse), extent(full));
  const auto labels = coarse.of(Op::Text);
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0], full.of(Op::Text).at(0));
}

TEST_F(PreviewPictureTest, NothingIsDrawnWithoutAPictureToPreview) {
  mapView();
  EXPECT_TRUE(preview(PictureKind::None).ops.empty());
  EXPECT_TRUE(preview(PictureKind::Section).ops.empty());  // the map build has no section
}

TEST_F(PreviewPictureTest, ADrawingStopsAtTheFirstOperationAfterItWasCancelled) {
  mapView();
  const PreviewScene scene = makePreviewScene(state(), PictureKind::Map);
  std::atomic<bool> cancelled = false;
  CancellingCanvas stopped(cancelled, 10);
  EXPECT_THROW(drawPreview(stopped, scene, block.session.projection(), {.cancelled = &cancelled}),
               DrawingCancelled);
  EXPECT_EQ(stopped.ops.size(), 10u);

  RecordingCanvas untouched(400, 300);
  EXPECT_THROW(drawPreview(untouched, scene, block.session.projection(), {.cancelled = &cancelled}),
               DrawingCancelled);
  EXPECT_TRUE(untouched.ops.empty());
}

}  // namespace
}  // namespace kalvenor
