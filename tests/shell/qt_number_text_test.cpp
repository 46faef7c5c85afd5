#include "shell/qt_number_text.h"

#include <gtest/gtest.h>

using namespace kalvenor;

TEST(QtNumberText, ShowsTheShortestTextThatReadsBackButForArithmeticNoise) {
  const std::pair<double, const char*> cases[] = {{2.00000000000001, "2"},
                                                  {0.1 + 0.2, "0.3"},
                                                  {1.8 * 1.1, "1.98"},
                                                  {195.1, "195.1"},
                                                  {-120.5, "-120.5"},
                                                  {1e10, "10000000000"},
                                                  {123456.789012345, "123456.789012345"},
                                                  {123456.789012, "123456.789012"},
                                                  {0, "0"},
                                                  {0.00001, "1E-05"},
                                                  {1234567.25, "1234567.25"}};
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(numberQText(value).toStdString(), text) << value;
  }
}

// A value a millionth or more below a short number is not that number: only the load's jitter
// below it is taken off.
TEST(QtNumberText, ShowsASurfaceElevationAsTheFileWroteIt) {
  const std::pair<double, const char*> cases[] = {
      {195.1 - 9.17949e-7, "195.1"}, {195.1, "195.1"},      {12.000001 - 9e-7, "12.000001"},
      {100 - 5e-7, "100"},           {-3.5 - 2e-7, "-3.5"}, {0.3 - 4e-7, "0.3"},
      {195.1 - 2e-6, "195.099998"},  {87.6 - 1e-8, "87.6"}};
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(surfaceElevationQText(value).toStdString(), text) << value;
  }
}
