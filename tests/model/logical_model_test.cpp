#include "model/logical_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "model/read_error.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kByteOrderMark = "\xEF\xBB\xBF";

std::vector<std::int16_t> cellsOf(const LogicalModel& model) {
  std::vector<std::int16_t> cells;
  for (int i = 1; i <= model.unitCount(); ++i) {
    for (int k = 1; k <= model.Nbd; ++k) cells.push_back(model.modelCell(i, k));
  }
  return cells;
}

std::vector<std::int16_t> patternTable(const LogicalModel& model) {
  return {model.unitOfPattern.begin(), model.unitOfPattern.begin() + (1 << model.Nbd)};
}

ReadError readError(const std::string& content) {
  TempFile file(content);
  try {
    readLogicalModel(file.path());
  } catch (const ReadError& error) {
    return error;
  }
  ADD_FAILURE() << "accepted: " << content;
  return ReadError("", 0, 0, "");
}

TEST(LogicalModelFile, ReadsTheTypicalLayout) {
  TempFile file("2\nb1, b2\nA, -1, -1\nB, 1, -1\nU, 0, 1\n");
  LogicalModel model = readLogicalModel(file.path());
  EXPECT_EQ(model.Nbd, 2);
  EXPECT_THAT(model.boundaryName, ElementsAre("", "b1", "b2"));
  EXPECT_THAT(model.unitName, ElementsAre("", "A", "B", "U"));
  EXPECT_THAT(cellsOf(model), ElementsAre(-1, -1, 1, -1, 0, 1));
  EXPECT_TRUE(buildUnitOfPattern(model));
  // Patterns: b1 is the high bit. Below both -> A, above b1 only -> B, above b2 -> U.
  EXPECT_THAT(patternTable(model), ElementsAre(1, 3, 2, 3));
}

TEST(LogicalModelFile, ItemsMaySitOnAnyLineAndNamesMayBeQuotedWithCommas) {
  TempFile oneLine("2,\"top, eroded\",b2,\"A, lower\",-1,-1,B,1,-1,U,0,1");
  TempFile oneItemPerLine(
      "2\r\n\"top, eroded\"\r\n  b2\r\n\r\n\"A, "
      "lower\"\r\n-1\r\n-1\r\nB\r\n1\r\n-1\r\nU\r\n0\r\n1");
  for (const TempFile* file : {&oneLine, &oneItemPerLine}) {
    const LogicalModel model = readLogicalModel(file->path());
    EXPECT_THAT(model.boundaryName, ElementsAre("", "top, eroded", "b2"));
    EXPECT_THAT(model.unitName, ElementsAre("", "A, lower", "B", "U"));
    EXPECT_THAT(cellsOf(model), ElementsAre(-1, -1, 1, -1, 0, 1));
  }
}

TEST(LogicalModelFile, FractionsRoundHalvesToEvenAndOddValuesStay) {
  TempFile file("1.5\ns, t\na, -0.5, 2\nb, 1.5, 0.5\nc, 2.5, -1.5\nextra items are ignored\n");
  const LogicalModel model = readLogicalModel(file.path());
  EXPECT_EQ(model.Nbd, 2);
  EXPECT_THAT(cellsOf(model), ElementsAre(0, 2, 2, 0, 2, -2));
}

TEST(LogicalModelFile, BadFilesSayWhereAndWhatWasExpected) {
  const ReadError early = readError("2\nb1, b2\nA, -1, -1\nB, 1");
  EXPECT_THAT(early.what(), HasSubstr("the file ends where cell value of unit 2 at boundary 2"));
  EXPECT_EQ(early.item(), 9);

  const ReadError notNumber = readError("2\nb1, b2\nA, -1, x\n");
  EXPECT_EQ(notNumber.line(), 3);
  EXPECT_EQ(notNumber.item(), 6);
  EXPECT_THAT(notNumber.what(), HasSubstr("found \"x\""));

  EXPECT_THAT(readError("1\ns\na, 40000\nb, 1").what(),
              HasSubstr("must be a whole number between -32768 and 32767"));
  EXPECT_THAT(readError("16\n").what(), HasSubstr("between 0 and 15"));
  EXPECT_THAT(readError("-1\n").what(), HasSubstr("between 0 and 15"));
  EXPECT_THAT(readError("1\n\"s\na,1\n").what(), HasSubstr("no closing quote"));
  EXPECT_THAT(readError("").what(), HasSubstr("the file ends"));
}

TEST(LogicalModelFile, AValueOutOfRangeIsReportedOnTheLineWhereItStands) {
  const ReadError cell = readError("1\ns\nlower, 40000\nupper, 1\n");
  EXPECT_EQ(cell.line(), 3);
  EXPECT_EQ(cell.item(), 4);
  EXPECT_THAT(cell.what(), HasSubstr("found 40000"));

  for (const char* count : {"16\ns\n", "-1\ns\n", "16"}) {
    const ReadError error = readError(count);
    EXPECT_EQ(error.line(), 1) << count;
    EXPECT_EQ(error.item(), 1) << count;
  }
  EXPECT_EQ(readError("\r\n\r\n16\r\ns\r\n").line(), 3);
  EXPECT_EQ(readError("1\rs\ra, 1\rb, 1e6\rignored\r").line(), 4);
}

TEST(LogicalModelFile, AByteOrderMarkBeforeTheFirstItemIsSkipped) {
  TempFile file(kByteOrderMark + "2\n石灰岩上面, b2\nA, -1, -1\nB, 1, -1\nU, 0, 1\n");
  const LogicalModel model = readLogicalModel(file.path());
  EXPECT_EQ(model.Nbd, 2);
  EXPECT_EQ(model.boundaryName[1], "石灰岩上面");
  EXPECT_THAT(cellsOf(model), ElementsAre(-1, -1, 1, -1, 0, 1));
}

TEST(LogicalModelFile, AMissingFileIsAReadError) {
  EXPECT_THROW(readLogicalModel("/nonexistent/model.txt"), ReadError);
}

TEST(LogicalModelFile, AMissingFileOrAFolderSaysWhich) {
  try {
    readLogicalModel("/nonexistent/model.txt");
    ADD_FAILURE() << "a missing file was read as a model";
  } catch (const ReadError& error) {
    EXPECT_THAT(error.what(), HasSubstr("no such file"));
  }
  const std::string folder = std::filesystem::temp_directory_path().string();
  try {
    readLogicalModel(folder);
    ADD_FAILURE() << "a folder was read as a model";
  } catch (const ReadError& error) {
    EXPECT_EQ(error.path(), folder);
    EXPECT_THAT(error.what(), HasSubstr("is a folder"));
  }
}

TEST(LogicalModelFile, AnOverlongWordIsQuotedInPart) {
  const ReadError error = readError("1\ns\na, " + std::string(100'000, '7') + "x\n");
  EXPECT_THAT(error.what(), HasSubstr("found \"" + std::string(40, '7') + "...\""));
  EXPECT_LT(std::string(error.what()).size(), 200u);
}

TEST(UnitOfPattern, TheTemplateIsComplete) {
  LogicalModel model = twoUnitTemplate();
  EXPECT_TRUE(buildUnitOfPattern(model));
  EXPECT_THAT(patternTable(model), ElementsAre(1, 2));
  EXPECT_EQ(model.unitName[1], "a");
  EXPECT_EQ(model.boundaryName[1], "s");
}

TEST(UnitOfPattern, TheFirstFittingRowWinsAndUnclaimedPatternsGetZero) {
  LogicalModel model = allocateModel(2);
  // Unit 1 below b2 whatever b1; unit 2 below b2 as well (never wins); unit 3 above both.
  model.modelCell(1, 2) = -1;
  model.modelCell(2, 1) = -1;
  model.modelCell(2, 2) = -1;
  model.modelCell(3, 1) = 1;
  model.modelCell(3, 2) = 1;
  EXPECT_FALSE(buildUnitOfPattern(model));
  EXPECT_THAT(patternTable(model), ElementsAre(1, 0, 1, 3));
}

TEST(UnitOfPattern, ACellOfTwoNeverFits) {
  LogicalModel model = twoUnitTemplate();
  model.modelCell(2, 1) = 2;
  EXPECT_FALSE(buildUnitOfPattern(model));
  EXPECT_THAT(patternTable(model), ElementsAre(1, 0));
}

TEST(UnitOfPattern, NoBoundariesMeansOneUnitThatAlwaysFits) {
  LogicalModel model = allocateModel(0);
  EXPECT_TRUE(buildUnitOfPattern(model));
  EXPECT_THAT(patternTable(model), ElementsAre(1));
}

TEST(UnitOfPattern, FifteenBoundariesFillTheWholeTable) {
  LogicalModel model = allocateModel(kMaxBoundaries);
  for (int i = 1; i <= model.unitCount(); ++i) {
    for (int k = 1; k <= model.Nbd; ++k) model.modelCell(i, k) = k < i ? 1 : -1;
  }
  EXPECT_FALSE(buildUnitOfPattern(model));  // only "stacked" patterns are claimed
  EXPECT_EQ(model.unitOfPattern[0], 1);
  EXPECT_EQ(model.unitOfPattern[(1 << 15) - 1], 16);
  EXPECT_EQ(model.unitOfPattern[1 << 14], 2);  // above boundary 1 only
}

TEST(AllocateModel, RejectsBoundaryCountsThePatternCannotHold) {
  EXPECT_THROW(allocateModel(16), std::invalid_argument);
  EXPECT_THROW(allocateModel(-1), std::invalid_argument);
}

}  // namespace
}  // namespace kalvenor
