#include "canvas/packed_qcolor.h"

#include <gtest/gtest.h>

namespace kalvenor {
namespace {

// Red is the low byte of a packed colour and blue the high one; a swap would paint every unit
// in the wrong colour.
TEST(PackedQColor, ChannelsKeepTheirPlaceBothWays) {
  EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(toQColor(0x00FF00), QColor(0, 255, 0));
  EXPECT_EQ(toQColor(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(fromQColor(QColor(0x8f, 0xb3, 0xd9)), packRgb(0x8f, 0xb3, 0xd9));
  EXPECT_EQ(fromQColor(QColor(0xa0, 0x10, 0x10)), 0x1010a0);
}

TEST(PackedQColor, EveryLevelOfEveryChannelComesBack) {
  for (int level = 0; level < 256; ++level) {
    for (const PackedColor color : {packRgb(level, 0, 0), packRgb(0, level, 0),
                                    packRgb(0, 0, level), packRgb(level, 255 - level, level)}) {
      EXPECT_EQ(fromQColor(toQColor(color)), color) << "packed colour " << color;
    }
  }
}

}  // namespace
}  // namespace kalvenor
