#include "model/default_values.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/read_error.h"
#include "test_paths.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

const std::string kByteOrderMark = "\xEF\xBB\xBF";

class DefaultValuesFile : public ::testing::Test {
 protected:
  std::string write(const std::string& content) {
    std::ofstream(path_, std::ios::binary) << content;
    return path_.string();
  }
  void TearDown() override { std::filesystem::remove(path_); }

  std::filesystem::path path_ =
      std::filesystem::temp_directory_path() /
      ("kalvenor_default_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt");
};

TEST_F(DefaultValuesFile, ValuesComeFromTheirPositionWhateverTheLabelsSay) {
  const auto values = readDefaultValues(write(
      "Gamma, not alpha, whatever\n210\nlabel\n-35.5\nx,y,z\n1.5E0\n\n3\nfive\n+7\nsix\r\n8e-1\r\n"
      "anything after the sixth value is ignored\nnot a number\n"));
  EXPECT_EQ(values.defaultAlpha, 210);
  EXPECT_EQ(values.defaultGamma, -35.5);
  EXPECT_EQ(values.defaultSca, 1.5);
  EXPECT_EQ(values.defaultVe, 3);
  EXPECT_EQ(values.defaultValue5, 7);
  EXPECT_EQ(values.defaultValue6, 0.8);
}

TEST_F(DefaultValuesFile, AShortFileNamesTheLineWhereItEnds) {
  try {
    readDefaultValues(write("a\n1\nb\n2\nc\n"));
    FAIL() << "a short file was accepted";
  } catch (const ReadError& error) {
    EXPECT_EQ(error.path(), path_.string());
    EXPECT_EQ(error.item(), 3);
    EXPECT_NE(std::string(error.what()).find("after 2 of 6 values"), std::string::npos);
  }
}

TEST_F(DefaultValuesFile, AValueLineMustHoldOneNumberAndNothingElse) {
  try {
    readDefaultValues(write("a\n1\nb\n2 degrees\nc\n3\nd\n4\ne\n5\nf\n6\n"));
    FAIL() << "a value line with trailing text was accepted";
  } catch (const ReadError& error) {
    EXPECT_EQ(error.line(), 4);
    EXPECT_NE(std::string(error.what()).find("2 degrees"), std::string::npos);
  }
}

TEST(DefaultValues, AMissingFileIsAReadError) {
  EXPECT_THROW(readDefaultValues("/nonexistent/folder/default.txt"), ReadError);
}

TEST_F(DefaultValuesFile, AByteOrderMarkAndCarriageReturnLineEndsReadAsPlainLines) {
  const auto values = readDefaultValues(
      write(kByteOrderMark + "Alpha\r200\rGamma\r40\rSca\r1.1\rVe\r3\r5\r9\r6\r-1\r"));
  EXPECT_EQ(values.defaultAlpha, 200);
  EXPECT_EQ(values.defaultGamma, 40);
  EXPECT_EQ(values.defaultSca, 1.1);
  EXPECT_EQ(values.defaultVe, 3);
  EXPECT_EQ(values.defaultValue5, 9);
  EXPECT_EQ(values.defaultValue6, -1);
}

// Each way default.txt can be unusable gets a message naming the file and the problem.
class DefaultValuesProblem : public DefaultValuesFile {
 protected:
  std::string problemOf(const std::string& path) {
    try {
      readDefaultValues(path);
    } catch (const ReadError& error) {
      EXPECT_EQ(error.path(), path);
      EXPECT_EQ(std::string(error.what()).rfind(path, 0), 0u) << error.what();
      return error.problem();
    }
    ADD_FAILURE() << path << " was read";
    return {};
  }
};

TEST_F(DefaultValuesProblem, MissingEmptyOrAFolder) {
  EXPECT_THAT(problemOf("/nonexistent/folder/default.txt"), HasSubstr("no such file"));
  EXPECT_THAT(problemOf(write("")), HasSubstr("is empty"));
  EXPECT_THAT(problemOf(write(kByteOrderMark)), HasSubstr("is empty"));
  EXPECT_THAT(problemOf(std::filesystem::temp_directory_path().string()), HasSubstr("is a folder"));
}

// Six values take a few lines; a file far longer is refused before it is read to its end.
TEST_F(DefaultValuesProblem, AFileFarTooLongIsRefusedWithTheLimit) {
  EXPECT_THAT(problemOf(write("a\n1\n" + std::string(2 << 20, ' '))),
              HasSubstr("larger than 1 MiB"));
}

TEST_F(DefaultValuesProblem, GarbageIsQuotedInPart) {
  const std::string garbage = std::string(1, '\x7f') + "ELF" + std::string(100'000, '\x01');
  const std::string problem = problemOf(write("label\n" + garbage + "\n"));
  EXPECT_THAT(problem, HasSubstr("one number"));
  EXPECT_THAT(problem, HasSubstr("\"\\x7fELF\\x01\\x01"));  // control bytes as escapes
  EXPECT_THAT(problem, HasSubstr("..."));
  EXPECT_LT(problem.size(), 240u);
}

TEST_F(DefaultValuesProblem, UnreadableWhenPermissionsAreEnforced) {
  const std::string path = write("a\n1\nb\n2\nc\n3\nd\n4\ne\n5\nf\n6\n");
  std::filesystem::permissions(path, std::filesystem::perms::none);
  if (std::ifstream(path)) GTEST_SKIP() << "this user may read any file";
  EXPECT_THAT(problemOf(path), HasSubstr("no permission to read it"));
}

TEST(DefaultValues, TheShippedFileHoldsTheBuiltInDefaults) {
  const DefaultValues shipped = readDefaultValues(KALVENOR_EXAMPLES_DIR "/default.txt");
  const DefaultValues builtIn;
  EXPECT_EQ(shipped.defaultAlpha, builtIn.defaultAlpha);
  EXPECT_EQ(shipped.defaultGamma, builtIn.defaultGamma);
  EXPECT_EQ(shipped.defaultSca, builtIn.defaultSca);
  EXPECT_EQ(shipped.defaultVe, builtIn.defaultVe);
  EXPECT_EQ(shipped.defaultValue5, builtIn.defaultValue5);
  EXPECT_EQ(shipped.defaultValue6, builtIn.defaultValue6);
}

}  // namespace
}  // namespace kalvenor
