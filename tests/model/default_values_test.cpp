#include "model/default_values.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/read_error.h"
#include "test_paths.h"

namespace kalvenor {
namespace {

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
