#include "model/number_text.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace kalvenor {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStartAndIgnoresTheRest) {
  EXPECT_DOUBLE_EQ(leadingNumber(" -1.5e2xyz"), -150.0);
  EXPECT_DOUBLE_EQ(leadingNumber("12abc"), 12.0);
  EXPECT_DOUBLE_EQ(leadingNumber("\t  +3.25"), 3.25);
  EXPECT_DOUBLE_EQ(leadingNumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(leadingNumber("-.5m"), -0.5);
  EXPECT_DOUBLE_EQ(leadingNumber("7."), 7.0);
  EXPECT_DOUBLE_EQ(leadingNumber("1E3"), 1000.0);
  EXPECT_DOUBLE_EQ(leadingNumber("2.5e-1,4"), 0.25);
  EXPECT_DOUBLE_EQ(leadingNumber("1,5"), 1.0);  // the comma is no decimal point
}

TEST(LeadingNumber, AnExponentWithoutDigitsIsNotPartOfTheNumber) {
  EXPECT_DOUBLE_EQ(leadingNumber("3e"), 3.0);
  EXPECT_DOUBLE_EQ(leadingNumber("3e+"), 3.0);
  EXPECT_DOUBLE_EQ(leadingNumber("3E-x"), 3.0);
}

TEST(LeadingNumber, TextWithoutALeadingNumberReadsAsZero) {
  for (const char* text : {"", "abc", "-", "+", ".", "-.", " ", "e5", "x12", "--1"}) {
    EXPECT_EQ(leadingNumber(text), 0.0) << '"' << text << '"';
  }
}

TEST(LeadingNumber, MagnitudesBeyondADoubleReadAsZero) {
  EXPECT_EQ(leadingNumber("1e400"), 0.0);
  EXPECT_EQ(leadingNumber("-1e400"), 0.0);
  EXPECT_DOUBLE_EQ(leadingNumber("1e308"), 1e308);
}

TEST(WholeNumber, AcceptsOnlyALoneNumberWithSurroundingBlanks) {
  EXPECT_EQ(wholeNumber(" 42 \r"), 42.0);
  EXPECT_EQ(wholeNumber("-1.5E+2"), -150.0);
  EXPECT_FALSE(wholeNumber("42 m"));
  EXPECT_FALSE(wholeNumber(""));
  EXPECT_FALSE(wholeNumber("abc"));
  EXPECT_FALSE(wholeNumber("1,2"));
  EXPECT_FALSE(wholeNumber("1e400"));
}

// The value from_chars gives for a number in the rule's form, the sign handled apart as the
// reader does; nothing when from_chars finds it out of range.
std::optional<double> fromChars(const std::string& text) {
  const bool negative = text.front() == '-';
  const std::size_t start = text.front() == '-' || text.front() == '+' ? 1 : 0;
  double magnitude = 0.0;
  const auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + text.size(), magnitude);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return negative ? -magnitude : magnitude;
}

void expectSameAsFromChars(const std::string& text) {
  const auto expected = fromChars(text);
  const auto read = wholeNumber(text);
  ASSERT_EQ(read.has_value(), expected.has_value()) << text;
  if (read) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(*read), std::bit_cast<std::uint64_t>(*expected)) << text;
  }
}

TEST(WholeNumber, ReadsEveryNumberToTheSameBitsAsFromChars) {
  for (const char* text : {"9007199254740992",
                           "9007199254740993",
                           "-9007199254740993e-3",
                           "1e22",
                           "1e23",
                           "1.e22",
                           "123456789012345678e-5",
                           "1234567890123456789",
                           "12345678901234567890",
                           "0.1",
                           "1.",
                           ".5",
                           "+7",
                           "-0",
                           "0e-400",
                           "0e999999999",
                           "4.9e-324",
                           "1e-22",
                           "1e-23",
                           "0.0000000000000000000001",
                           "1.7976931348623157e308",
                           "1.8e308",
                           "2.2250738585072011e-308",
                           "1e-400",
                           "3E+0022",
                           "000000000000000000000000001.5",
                           "1.0000000000000000000000000000001"}) {
    expectSameAsFromChars(text);
  }
  // Random numbers around the limits of the quick way: up to 20 digits on either side of the
  // point and exponents up to three digits.
  const std::array<const char*, 3> kSigns = {"", "+", "-"};
  std::mt19937 random(14);
  const auto below = [&random](int n) {
    return static_cast<int>(random() % static_cast<unsigned>(n));
  };
  for (int n = 0; n < 200000; ++n) {
    std::string text = kSigns[static_cast<std::size_t>(below(3))];
    const int integerDigits = below(21);
    const int fractionDigits = below(3) == 0 ? -1 : below(21);
    if (integerDigits == 0 && fractionDigits <= 0) continue;
    for (int d = 0; d < integerDigits; ++d) text += static_cast<char>('0' + below(10));
    if (fractionDigits >= 0) text += '.';
    for (int d = 0; d < fractionDigits; ++d) text += static_cast<char>('0' + below(10));
    if (below(2) == 0) {
      text += below(2) == 0 ? "e" : "E";
      text += kSigns[static_cast<std::size_t>(below(3))];
      text += std::to_string(below(3) == 0 ? below(400) : below(30));
    }
    expectSameAsFromChars(text);
  }
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundHalfEven(0.5), 0.0);
  EXPECT_EQ(roundHalfEven(1.5), 2.0);
  EXPECT_EQ(roundHalfEven(2.5), 2.0);
  EXPECT_EQ(roundHalfEven(-2.5), -2.0);
  EXPECT_EQ(roundHalfEven(-3.5), -4.0);
  EXPECT_EQ(roundHalfEven(2.5000001), 3.0);
  EXPECT_EQ(roundHalfEven(-0.4), 0.0);
}

// Every elevation is rounded this way before it is compared: the bits must be nearbyint's, sign
// of zero included, for halves, values next to them, tiny, huge and non-finite ones.
TEST(Rounding, GivesTheBitsOfNearbyint) {
  std::mt19937_64 random(7);
  std::vector<double> values = {0.0,
                                -0.0,
                                0.5,
                                -0.5,
                                1e-300,
                                -1e-300,
                                4503599627370495.5,
                                -4503599627370495.5,
                                4503599627370496.0,
                                9007199254740993.0,
                                1e300,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity()};
  for (int n = 0; n < 200000; ++n) {
    const double whole =
        static_cast<double>(static_cast<std::int64_t>(random() % 20000001) - 10000000);
    const double half = whole + 0.5;
    values.insert(values.end(), {half, std::nextafter(half, 0.0), std::nextafter(half, 1e9),
                                 std::bit_cast<double>(random())});
  }
  for (const double value : values) {
    ASSERT_EQ(std::bit_cast<std::uint64_t>(roundHalfEven(value)),
              std::bit_cast<std::uint64_t>(std::nearbyint(value)))
        << value;
  }
  EXPECT_TRUE(std::isnan(roundHalfEven(std::numeric_limits<double>::quiet_NaN())));
}

TEST(Rounding, IntFloorsAndFixTruncates) {
  EXPECT_EQ(Int(-0.5), -1.0);
  EXPECT_EQ(Fix(-0.5), 0.0);
  EXPECT_EQ(Int(2.9), 2.0);
  EXPECT_EQ(Fix(2.9), 2.0);
  EXPECT_EQ(Int(-3.0), -3.0);
  EXPECT_EQ(Fix(-3.7), -3.0);
}

TEST(NumberText, WritesUpToFifteenSignificantDigitsWithoutTrailingZeros) {
  EXPECT_EQ(numberText(1e10), "10000000000");
  EXPECT_EQ(numberText(2.5 + 1), "3.5");
  EXPECT_EQ(numberText(4), "4");
  EXPECT_EQ(numberText(-150), "-150");
  EXPECT_EQ(numberText(0.1 + 0.2), "0.3");
  EXPECT_EQ(numberText(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(numberText(123456789012345.0), "123456789012345");
  EXPECT_EQ(numberText(1234.5678), "1234.5678");
  EXPECT_EQ(numberText(0.0001), "0.0001");
}

TEST(NumberText, UsesTheExponentFormOnlyForVeryLargeOrSmallMagnitudes) {
  EXPECT_EQ(numberText(1e15), "1E+15");
  EXPECT_EQ(numberText(-2.5e20), "-2.5E+20");
  EXPECT_EQ(numberText(1e-5), "1E-05");
  EXPECT_EQ(numberText(1.25e-7), "1.25E-07");
}

TEST(NumberText, ZeroHasNoSign) {
  EXPECT_EQ(numberText(0.0), "0");
  EXPECT_EQ(numberText(-0.0), "0");
}

TEST(NumberText, RoundTripsThroughTheLeadingNumberRule) {
  for (double value : {0.1, -273.15, 6371000.0, 1e-9, 12345.678901234}) {
    EXPECT_DOUBLE_EQ(leadingNumber(numberText(value)), value);
  }
}

TEST(SignedNumberText, PutsABlankBeforeNumbersThatAreNotNegative) {
  EXPECT_EQ(signedNumberText(1200), " 1200");
  EXPECT_EQ(signedNumberText(-3.5), "-3.5");
  EXPECT_EQ(signedNumberText(0.0), " 0");
  EXPECT_EQ(signedNumberText(-0.0), " 0");
  EXPECT_EQ("(" + signedNumberText(1200) + ", " + signedNumberText(3400) + " )", "( 1200,  3400 )");
}

}  // namespace
}  // namespace kalvenor
