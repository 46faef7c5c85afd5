#include "model/colour_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/read_error.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

TEST(ColourFile, ReadsUnitAndBoundaryColoursSkippingCommentsAndNames) {
  TempFile file("# colours\n\nunit 1 #8fb3d9 石灰岩\nunit, 2, #E8C468\r\nboundary 3 #a01010 fault\n");
  const ColourFile colours = readColourFile(file.path());
  EXPECT_EQ(colours.unit.at(1), packRgb(0x8f, 0xb3, 0xd9));
  EXPECT_EQ(colours.unit.at(2), packRgb(0xe8, 0xc4, 0x68));
  EXPECT_EQ(colours.boundary.at(3), packRgb(0xa0, 0x10, 0x10));
  EXPECT_EQ(colours.unit.size(), 2u);
  EXPECT_EQ(colourHex(packRgb(0xa0, 0x10, 0x10)), "#a01010");
}

TEST(ColourFile, MistakesNameTheLine) {
  const auto failure = [](const std::string& content) {
    TempFile file(content);
    try {
      readColourFile(file.path());
    } catch (const ReadError& error) {
      return std::string(error.what());
    }
    return std::string("accepted");
  };
  EXPECT_THAT(failure("unit 1 #ffffff\nlayer 2 #000000\n"), HasSubstr("line 2"));
  EXPECT_THAT(failure("unit 0 #ffffff\n"), HasSubstr("unit number"));
  EXPECT_THAT(failure("unit 1.5 #ffffff\n"), HasSubstr("unit number"));
  EXPECT_THAT(failure("unit 1 #fffff\n"), HasSubstr("#rrggbb"));
  EXPECT_THAT(failure("boundary 2 red\n"), HasSubstr("found \"red\""));
  EXPECT_THROW(readColourFile("/nonexistent/colors.txt"), ReadError);
}

}  // namespace
}  // namespace kalvenor
