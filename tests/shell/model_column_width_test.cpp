#include "shell/model_column_width.h"

#include <gtest/gtest.h>

namespace kalvenor {
namespace {

TEST(ModelColumnWidth, FiveHundredWhenThereIsRoomElseAnEqualShareOfAtLeastThreeHundred) {
  EXPECT_EQ(modelColumnWidth(400 + 500 * 3, 3), 500);
  EXPECT_EQ(modelColumnWidth(400 + 500 * 3 - 1, 3), 499);
  EXPECT_EQ(modelColumnWidth(400 + 1000, 3), 333);
  EXPECT_EQ(modelColumnWidth(400 + 900, 3), 300);
  EXPECT_EQ(modelColumnWidth(400 + 600, 3), 300);
  EXPECT_EQ(modelColumnWidth(100, 16), 300);
}

}  // namespace
}  // namespace kalvenor
