// The cells of a pair of columns as the walls and the section paint them, with each look.
#include "render/column_cell_painter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "evaluation/vertical_grid.h"
#include "recording_canvas.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

const PackedColor kLow = packRgb(200, 0, 0);
const PackedColor kHigh = packRgb(0, 0, 200);
const PackedColor kFrame = packRgb(0, 120, 0);

// Two columns of five levels 10 apart, the ground at 35 under the first and 45 under the second:
// unit 1 on the two lowest levels, unit 2 above them up to the ground, air above it. The cell
// from level 4 has air at its first node and unit 2 at the second column's node.
const std::int32_t kUnits[3][6] = {{}, {0, 1, 1, 2, kAir, kAir}, {0, 1, 1, 2, 2, kAir}};
const double kGround[3] = {0, 35, 45};

struct LookCase {
  const char* name;
  bool smooth, traced, white, groundLine, wallCells, runs;
  std::vector<PackedColor> fills;  // in the order filled
  std::size_t lines;
};

void PrintTo(const LookCase& c, std::ostream* out) { *out << c.name; }

const LookCase kLooks[] = {
    {"a wall, cells of one colour one above the other filled as one",
     false,
     false,
     false,
     false,
     true,
     true,
     {kLow, kHigh},
     0},
    {"a wall, cell by cell", false, false, false, false, true, false, {kLow, kLow, kHigh}, 0},
    {"a white wall under a contour map, one run whatever the units",
     false,
     true,
     true,
     false,
     true,
     true,
     {kWhite},
     0},
    {"cell by cell as on a wall: the cell whose first node is in the air draws nothing",
     false,
     true,
     false,
     true,
     true,
     false,
     {kLow, kLow, kHigh},
     1},
    {"a section with lines: the ground traced where it crosses, the top cell too",
     false,
     true,
     false,
     true,
     false,
     false,
     {kLow, kLow, kHigh},
     2},
    {"a smooth section: the cells cut at the ground, the ground line after every fill",
     true,
     true,
     false,
     true,
     false,
     false,
     {kLow, kLow, kHigh, kHigh},
     2},
};

class ColumnCellPainterTest : public ::testing::TestWithParam<LookCase> {
 protected:
  void paint() {
    const LookCase& c = GetParam();
    const ColumnCellLook look{.options = DrawOptions{.LineColor = kFrame,
                                                     .DrawBoundary = true,
                                                     .DrawMode = DrawingMode::Section},
                              .unitColor = unitColor,
                              .boundaryColor = unitColor,
                              .smooth = c.smooth,
                              .traced = c.traced,
                              .white = c.white,
                              .groundLine = c.groundLine,
                              .wallCells = c.wallCells,
                              .runs = c.runs};
    ColumnNodes nodes(5, [](int h, int v) {
      return MaybePoint(CanvasPoint{h * 40, 200 - v * 40});
    });
    ColumnCellPainter cells(
        canvas, nodes, 5, look, profile, classify,
        [](int h, std::vector<std::int32_t>& units) {
          for (int v = 1; v <= 5; ++v) units[v] = kUnits[h][v];
        },
        [](int h, std::vector<double>& heights) {
          heights.assign(6, 0.0);
          for (int v = 1; v <= 5; ++v) heights[v] = 10.0 * v - kGround[h];
        });
    cells.drawColumns(1, 2);
    cells.finishFills();
    linesBeforeHeld = canvas.of(Op::Line).size();
    cells.drawHeldLines();
  }

  std::vector<PackedColor> unitColor = {kBlack, kLow, kHigh};
  BoundaryProfile profile;
  ClassifyAt classify;
  RecordingCanvas canvas;
  std::size_t linesBeforeHeld = 0;
};

TEST_P(ColumnCellPainterTest, PaintsThePairOfColumnsInItsLook) {
  const LookCase& c = GetParam();
  paint();
  std::vector<PackedColor> fills;
  for (const Op& op : canvas.of(Op::Polygon)) fills.push_back(op.fill);
  EXPECT_EQ(fills, c.fills);
  const std::vector<Op> lines = canvas.of(Op::Line);
  EXPECT_EQ(lines.size(), c.lines);
  for (const Op& line : lines) {
    EXPECT_EQ(line.pen, c.smooth ? kFrame : kBlack);
    EXPECT_EQ(line.penWidth, 2);
  }
  // Held back with the smooth look, so that no fill covers them.
  EXPECT_EQ(linesBeforeHeld, c.smooth ? 0 : c.lines);
}

// A cut cell keeps only its part below the ground: the cell from level 3 loses its corner in the
// air (40, 40) and is filled as a pentagon up to where the ground crosses its edges.
TEST(ColumnCellPainter, TheSmoothLookFillsOnlyWhatLiesBelowTheGround) {
  RecordingCanvas canvas;
  const std::vector<PackedColor> unitColor = {kBlack, kLow, kHigh};
  const ColumnCellLook look{
      .options =
          DrawOptions{.LineColor = kFrame, .DrawBoundary = true, .DrawMode = DrawingMode::Section},
      .unitColor = unitColor,
      .boundaryColor = unitColor,
      .smooth = true};
  ColumnNodes nodes(5, [](int h, int v) { return MaybePoint(CanvasPoint{h * 40, 200 - v * 40}); });
  const BoundaryProfile profile;
  const ClassifyAt classify;
  ColumnCellPainter cells(
      canvas, nodes, 5, look, profile, classify,
      [](int h, std::vector<std::int32_t>& units) {
        for (int v = 1; v <= 5; ++v) units[v] = kUnits[h][v];
      },
      [](int h, std::vector<double>& heights) {
        heights.assign(6, 0.0);
        for (int v = 1; v <= 5; ++v) heights[v] = 10.0 * v - kGround[h];
      });
  cells.drawColumns(1, 2);
  const std::vector<Op> fills = canvas.of(Op::Polygon);
  ASSERT_EQ(fills.size(), 4u);
  const std::vector<double>& part = fills[2].coords;
  ASSERT_EQ(part.size(), 10u);
  for (std::size_t n = 0; n < part.size(); n += 2) {
    EXPECT_FALSE(part[n] == 40 && part[n + 1] == 40) << "the corner in the air is filled";
  }
  EXPECT_NE(std::find(part.begin(), part.end(), 60.0), part.end());  // where the ground crosses
}

INSTANTIATE_TEST_SUITE_P(Looks, ColumnCellPainterTest, ::testing::ValuesIn(kLooks),
                         [](const auto& info) { return "look" + std::to_string(info.index); });

}  // namespace
}  // namespace kalvenor
