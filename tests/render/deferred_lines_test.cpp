#include "render/deferred_lines.h"

#include <gtest/gtest.h>

#include "recording_canvas.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

// Fills reach the canvas at once; lines and points wait for flush and then come in the order
// they were drawn, each with the pen it was drawn with, so a later fill cannot cover them.
TEST(DeferredLines, HoldsLinesUntilFlushWithTheirOwnPens) {
  RecordingCanvas target;
  DeferredLines held(target);
  const PackedColor red = packRgb(200, 0, 0), green = packRgb(0, 200, 0);
  setSolidPen(held, red, 2);
  held.line(1, 2, 3, 4);
  held.setPenStyle(PenStyle::Dot);
  held.point(5, 6);
  held.line(7, 8, 9, 10, green);
  held.setFillColor(green);
  held.polygon({CanvasPoint{0, 0}, {4, 0}, {4, 4}, {0, 4}});
  ASSERT_EQ(target.ops.size(), 1u);
  EXPECT_EQ(target.ops[0].kind, Op::Polygon);
  EXPECT_EQ(target.ops[0].fill, green);

  held.flush();
  ASSERT_EQ(target.ops.size(), 4u);
  const Op& first = target.ops[1];
  EXPECT_EQ(first.kind, Op::Line);
  EXPECT_EQ(first.coords, (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(first.pen, red);
  EXPECT_EQ(first.penWidth, 2);
  EXPECT_EQ(first.penStyle, PenStyle::Solid);
  EXPECT_EQ(target.ops[2].kind, Op::Point);
  EXPECT_EQ(target.ops[2].penStyle, PenStyle::Dot);
  EXPECT_EQ(target.ops[3].pen, green);
  EXPECT_EQ(target.ops[3].penStyle, PenStyle::Dot);

  held.flush();  // what was drawn is drawn once
  EXPECT_EQ(target.ops.size(), 4u);
}

// Between two flushes the target's pen changes, as every fill makes it invisible: the lines held
// next are drawn with the pen they were given, even where it is the one given before the flush.
TEST(DeferredLines, LinesHeldAfterAFlushAreDrawnWithTheirOwnPenAgain) {
  RecordingCanvas target;
  DeferredLines held(target);
  const PackedColor red = packRgb(200, 0, 0);
  setSolidPen(held, red, 2);
  held.line(1, 2, 3, 4);
  held.flush();
  target.setPenStyle(PenStyle::Invisible);
  target.setPenColor(kWhite);
  setSolidPen(held, red, 2);
  held.point(5, 6);
  held.flush();
  ASSERT_EQ(target.ops.size(), 2u);
  EXPECT_EQ(target.ops[1].kind, Op::Point);
  EXPECT_EQ(target.ops[1].pen, red);
  EXPECT_EQ(target.ops[1].penStyle, PenStyle::Solid);
}

}  // namespace
}  // namespace kalvenor
