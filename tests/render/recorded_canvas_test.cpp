#include "render/recorded_canvas.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <thread>

#include "recording_canvas.h"
#include "render/parts_in_order.h"

namespace kalvenor {
namespace {

// Settings set again and again to the same values, every kind of operation, a clear now and then.
void scribble(Canvas& canvas, unsigned seed, int count) {
  std::mt19937 random(seed);
  const auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int n = 0; n < count; ++n) {
    const auto x = static_cast<float>(between(0, 99)), y = static_cast<float>(between(0, 99));
    const CanvasPoint a{between(0, 9), between(0, 9)}, b{between(0, 9), between(0, 9)};
    switch (between(0, 11)) {
      case 0:
        canvas.setPenColor(packRgb(between(0, 2), 0, 0));
        break;
      case 1:
        canvas.setPenWidth(between(1, 2));
        break;
      case 2:
        canvas.setPenStyle(between(0, 1) == 0 ? PenStyle::Solid : PenStyle::Dot);
        break;
      case 3:
        canvas.setFillColor(packRgb(0, between(0, 2), 0));
        break;
      case 4:
        canvas.setFillStyle(between(0, 1) == 0 ? FillStyle::Solid : FillStyle::Transparent);
        break;
      case 5:
        canvas.line(x, y, x + 1, y + 2);
        break;
      case 6:
        canvas.line(x, y, x - 1, y, packRgb(0, 0, between(0, 255)));
        break;
      case 7:
        canvas.point(x, y);
        break;
      case 8:
        canvas.polygon({a, b, CanvasPoint{b.x, a.y}, CanvasPoint{a.x, 3}});
        break;
      case 9:
        canvas.polygonCorners(std::vector<CanvasPoint>(static_cast<std::size_t>(between(1, 7)), b));
        break;
      case 10:
        canvas.text(x, y, "ラベル", between(8, 12), TextAlign::Center);
        break;
      default:
        if (between(0, 9) == 0) {
          canvas.setBackgroundColor(packRgb(0, 0, between(0, 2)));
          canvas.clear();
        }
    }
  }
}

TEST(RecordedCanvas, DrawnAgainEveryOperationHasItsSettings) {
  RecordingCanvas direct, again;
  scribble(direct, 1, 3000);
  RecordedCanvas recorded(again);
  scribble(recorded, 1, 3000);
  recorded.drawOn(again);
  EXPECT_EQ(again.ops, direct.ops);
  EXPECT_EQ(again.background, direct.background);
}

// Stretches between marks drawn with another recording's in between, as a picture drawn in parts
// is: a setting repeated after a mark is drawn again even where the recording already had it.
TEST(RecordedCanvas, StretchesKeepTheirSettingsWhateverIsDrawnBetween) {
  RecordingCanvas direct, again;
  scribble(direct, 2, 500);
  scribble(direct, 3, 500);
  scribble(direct, 4, 500);

  RecordedCanvas first(again), second(again);
  scribble(first, 2, 500);
  const RecordedCanvas::Mark middle = first.mark();
  scribble(second, 3, 500);
  scribble(first, 4, 500);
  first.drawOn(again, {}, middle);
  second.drawOn(again);
  first.drawOn(again, middle, first.end());
  EXPECT_EQ(again.ops, direct.ops);
}

TEST(RecordedCanvas, MeasuresWithTheCanvasItStandsFor) {
  const RecordingCanvas measure(320, 240);
  const RecordedCanvas recorded(measure);
  EXPECT_EQ(recorded.width(), 320);
  EXPECT_EQ(recorded.height(), 240);
  EXPECT_EQ(recorded.textWidth("abcd", 10), measure.textWidth("abcd", 10));
}

// Every part painted once, in order, on the calling thread, with the part before it.
TEST(DrawPartsInOrder, PaintsEveryPartInOrderOnTheCallingThread) {
  for (const int threads : {1, 2, 3, 8}) {
    RecordingCanvas canvas;
    std::vector<int> painted;
    const auto caller = std::this_thread::get_id();
    drawPartsInOrder(
        canvas, 50, threads,
        [](int part, RecordedCanvas& recording) { recording.point(float(part), 0); },
        [&](int part, const RecordedCanvas& recording, const RecordedCanvas* before) {
          EXPECT_EQ(std::this_thread::get_id(), caller);
          EXPECT_EQ(before == nullptr, part == 0);
          recording.drawOn(canvas);
          painted.push_back(part);
        });
    ASSERT_EQ(painted.size(), 50u) << threads << " threads";
    for (int part = 0; part < 50; ++part) {
      EXPECT_EQ(painted[part], part);
      EXPECT_EQ(canvas.ops[part].coords[0], part);
    }
  }
}

// A failure while drawing or painting a part comes out, and nothing after it is painted.
TEST(DrawPartsInOrder, AFailureStopsThePaintingAndComesOut) {
  for (const int threads : {1, 2, 4}) {
    for (const bool inDrawing : {true, false}) {
      std::vector<int> painted;
      const auto run = [&] {
        drawPartsInOrder(
            RecordingCanvas(), 40, threads,
            [&](int part, RecordedCanvas&) {
              if (inDrawing && part == 17) throw std::runtime_error("part 17");
            },
            [&](int part, const RecordedCanvas&, const RecordedCanvas*) {
              if (!inDrawing && part == 17) throw std::runtime_error("part 17");
              painted.push_back(part);
            });
      };
      EXPECT_THROW(run(), std::runtime_error);
      ASSERT_LE(painted.size(), 17u);
      for (std::size_t n = 0; n < painted.size(); ++n) EXPECT_EQ(painted[n], int(n));
    }
  }
}

}  // namespace
}  // namespace kalvenor
