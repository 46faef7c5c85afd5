#include "model/number_text.h"

#include <gtest/gtest.h>

#include <limits>

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

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundHalfEven(0.5), 0.0);
  EXPECT_EQ(roundHalfEven(1.5), 2.0);
  EXPECT_EQ(roundHalfEven(2.5), 2.0);
  EXPECT_EQ(roundHalfEven(-2.5), -2.0);
  EXPECT_EQ(roundHalfEven(-3.5), -4.0);
  EXPECT_EQ(roundHalfEven(2.5000001), 3.0);
  EXPECT_EQ(roundHalfEven(-0.4), 0.0);
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
