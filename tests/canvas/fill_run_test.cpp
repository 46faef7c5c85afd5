#include "render/fill_run.h"

#include <QtTest>
#include <random>

#include "canvas/image_canvas.h"
#include "render/cell.h"
#include "render/cell_paint.h"

using namespace kalvenor;

// Runs of cells filled as one quadrilateral must cover the very pixels the cells cover one by
// one on the painter the pictures are drawn with: the walls and sections rely on it to stay the
// same pictures.
class FillRunTest : public QObject {
  Q_OBJECT

 private slots:
  void aRunCoversThePixelsOfItsCells();
};

namespace {

// Columns of nodes as a wall or section in a parallel view has them: one canvas x per column,
// the y of every level rising with the level, often by less than a pixel, and different in each
// column, so the cells' tops and bottoms slant every way.
struct Columns {
  static constexpr int kColumns = 40, kLevels = 120;
  std::vector<int> x;
  std::vector<std::vector<int>> y;  // [h][v]
  std::vector<std::vector<PackedColor>> color;

  explicit Columns(unsigned seed) {
    std::mt19937 random(seed);
    const auto between = [&](int low, int high) {
      return std::uniform_int_distribution<int>(low, high)(random);
    };
    x.assign(kColumns + 1, 0);
    y.assign(kColumns + 1, std::vector<int>(kLevels + 1));
    color.assign(kColumns + 1, std::vector<PackedColor>(kLevels + 1));
    for (int h = 1; h <= kColumns; ++h) {
      x[h] = x[h - 1] + between(0, 9);
      y[h][1] = 300 + between(-40, 40);
      for (int v = 2; v <= kLevels; ++v) y[h][v] = y[h][v - 1] - between(0, 3);
      PackedColor c = packRgb(between(0, 255), 0, 0);
      for (int v = 1; v <= kLevels; ++v) {
        if (between(0, 9) == 0) c = packRgb(between(0, 255), between(0, 255), 0);
        color[h][v] = c;
      }
    }
  }
  MaybePoint node(int h, int v) const { return CanvasPoint{x[h], y[h][v]}; }
};

}  // namespace

void FillRunTest::aRunCoversThePixelsOfItsCells() {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    const Columns columns(seed);
    ImageCanvas oneByOne(QSize(400, 400)), inRuns(QSize(400, 400));
    ColumnNodes nodes(Columns::kLevels, [&](int h, int v) { return columns.node(h, v); });
    FillRun run(inRuns, nodes);
    for (int h = 1; h < Columns::kColumns; ++h) {
      run.startColumns(h, h + 1);
      for (int v = 1; v < Columns::kLevels; ++v) {
        const Corners<CanvasPoint> P = *canvasCorners(nodes, cellNodes(h, v, h + 1, v + 1));
        fillCell(oneByOne, {P[1], P[2], P[3], P[4]}, columns.color[h][v]);
        run.add(v, columns.color[h][v]);
      }
    }
    run.draw();
    QCOMPARE(inRuns.image(), oneByOne.image());
  }
}

QTEST_MAIN(FillRunTest)
#include "fill_run_test.moc"
