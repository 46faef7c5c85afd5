#include "model/colour_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "model/read_error.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

const std::string kByteOrderMark = "\xEF\xBB\xBF";

TEST(ColourFile, ReadsUnitAndBoundaryColoursSkippingCommentsAndNames) {
  TempFile file(
      "# colours\n\nunit 1 #8fb3d9 石灰岩\nunit, 2, #E8C468\r\nboundary 3 #a01010 fault\n");
  const ColourFile colours = readColourFile(file.path());
  EXPECT_EQ(colours.unit.at(1), packRgb(0x8f, 0xb3, 0xd9));
  EXPECT_EQ(colours.unit.at(2), packRgb(0xe8, 0xc4, 0x68));
  EXPECT_EQ(colours.boundary.at(3), packRgb(0xa0, 0x10, 0x10));
  EXPECT_EQ(colours.unit.size(), 2u);
  EXPECT_EQ(colourHex(packRgb(0xa0, 0x10, 0x10)), "#a01010");
}

std::string failure(const std::string& content) {
  TempFile file(content);
  try {
    readColourFile(file.path());
  } catch (const ReadError& error) {
    return std::string(error.what());
  }
  return std::string("accepted");
}

TEST(ColourFile, MistakesNameTheLine) {
  EXPECT_THAT(failure("unit 1 #ffffff\nlayer 2 #000000\n"), HasSubstr("line 2"));
  EXPECT_THAT(failure("unit 0 #ffffff\n"), HasSubstr("unit number"));
  EXPECT_THAT(failure("unit 1.5 #ffffff\n"), HasSubstr("unit number"));
  EXPECT_THAT(failure("unit 1 #fffff\n"), HasSubstr("#rrggbb"));
  EXPECT_THAT(failure("boundary 2 red\n"), HasSubstr("found \"red\""));
  EXPECT_THROW(readColourFile("/nonexistent/colors.txt"), ReadError);
}

TEST(ColourFile, AByteOrderMarkAndAnyLineEndsReadAsPlainLines) {
  for (const char* end : {"\r", "\n", "\r\n"}) {
    TempFile file(kByteOrderMark + "unit 1 #8fb3d9 石灰岩" + end + "# note" + end +
                  "unit 2 #e8c468" + end + "boundary 1 #a01010" + end);
    const ColourFile colours = readColourFile(file.path());
    EXPECT_EQ(colours.unit.size(), 2u);
    EXPECT_EQ(colours.unit.at(1), packRgb(0x8f, 0xb3, 0xd9));
    EXPECT_EQ(colours.unit.at(2), packRgb(0xe8, 0xc4, 0x68));
    EXPECT_EQ(colours.boundary.at(1), packRgb(0xa0, 0x10, 0x10));
  }
  EXPECT_THAT(failure("unit 1 #ffffff\r\runit 2 #00000g\r"), HasSubstr(", line 3:"));
}

TEST(ColourFile, AFolderOrAMissingFileSaysWhich) {
  const std::string folder = std::filesystem::temp_directory_path().string();
  try {
    readColourFile(folder);
    ADD_FAILURE() << "a folder was read as a colour file";
  } catch (const ReadError& error) {
    EXPECT_EQ(error.path(), folder);
    EXPECT_THAT(error.what(), HasSubstr("is a folder"));
  }
  try {
    readColourFile("/nonexistent/colors.txt");
    ADD_FAILURE() << "a missing file was read";
  } catch (const ReadError& error) {
    EXPECT_THAT(error.what(), HasSubstr("no such file"));
  }
}

TEST(ColourFile, AnOverlongWordIsQuotedUpToFortyCharacters) {
  const std::string huge = failure("unit 1 #" + std::string(10'000'000, 'f') + "\n");
  EXPECT_THAT(huge, HasSubstr("found \"#" + std::string(39, 'f') + "...\""));
  EXPECT_LT(huge.size(), 200u);

  // Characters, not bytes, and never half of one.
  std::string name;
  for (int n = 0; n < 50; ++n) name += "泥";
  std::string shown;
  for (int n = 0; n < 40; ++n) shown += "泥";
  EXPECT_THAT(failure(name + " 1 #ffffff\n"), HasSubstr("found \"" + shown + "...\""));
  EXPECT_THAT(failure("unit " + shown + " #ffffff\n"), HasSubstr("found \"" + shown + "\""));
}

// What a message quotes is shown whole and cannot end the message, ring, move the cursor or
// garble the text: control characters and bytes that are not UTF-8 are written as escapes.
TEST(ColourFile, ControlBytesAndBrokenCharactersAreEscapedInTheQuote) {
  const struct {
    std::string word;
    std::string shown;
  } cases[] = {
      {std::string("#ff\0ff", 6), "#ff\\x00ff"},
      {"#\x1b[31m", "#\\x1b[31m"},
      {"#\a\x7f", "#\\x07\\x7f"},
      {"#\xc2\x85", "#\\xc2\\x85"},                             // a C1 control character
      {"#\xff\xfe", "#\\xff\\xfe"},                             // no UTF-8 at all
      {"#\xe6\xb3", "#\\xe6\\xb3"},                             // a character cut short
      {"#\xc0\xaf\xed\xa0\x80", "#\\xc0\\xaf\\xed\\xa0\\x80"},  // overlong, surrogate
      {"#a\\x41", "#a\\\\x41"},          // a backslash cannot pass as an escape
      {"#泥\xc2\xa0é", "#泥\xc2\xa0é"},  // characters stay as they are
  };
  for (const auto& c : cases) {
    EXPECT_THAT(failure("unit 1 " + c.word + "\n"),
                ::testing::EndsWith("found \"" + c.shown + "\""))
        << c.shown;
  }
}

}  // namespace
}  // namespace kalvenor
