#include "model/elevations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace kalvenor {
namespace {

Elevations floats() {
  Array2D<float> values(1, 3, 1, 2);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 2; ++j) values(i, j) = 0.1f * static_cast<float>(10 * i + j);
  }
  return values;
}

// A value a float holds keeps the floats; any other turns them into doubles, every value the
// same as before, so no elevation is ever rounded.
TEST(Elevations, AValueAFloatCannotHoldTurnsTheFloatsIntoDoubles) {
  Elevations z = floats();
  const double before = z(2, 1);
  z(1, 1) = 12.5;
  z(1, 2) = std::nan("");
  EXPECT_TRUE(z.heldAsFloats());
  EXPECT_EQ(z(1, 1), 12.5);
  EXPECT_TRUE(std::isnan(z(1, 2)));

  z(3, 2) = 0.1;
  EXPECT_FALSE(z.heldAsFloats());
  EXPECT_EQ(z(3, 2), 0.1);
  EXPECT_EQ(z(2, 1), before);
  EXPECT_EQ(z(2, 1), static_cast<double>(0.1f * 21));
  z(3, 1) = z(2, 1);
  EXPECT_EQ(z(3, 1), before);
}

TEST(Elevations, EqualWhenEveryValueIsWhicheverWayTheyAreHeld) {
  const Elevations single = floats();
  Array2D<double> values(1, 3, 1, 2);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 2; ++j) values(i, j) = single(i, j);
  }
  Elevations doubles = values;
  EXPECT_EQ(single, doubles);
  doubles(2, 2) = 7;
  EXPECT_NE(single, doubles);
  EXPECT_NE(single, Elevations(Array2D<double>(1, 3, 1, 3)));
}

// Another object's doubles are read where they are; writing one makes a copy first, so the other
// object never changes.
TEST(Elevations, SharedValuesAreReadInPlaceAndCopiedBeforeAWrite) {
  Array2D<double> values(1, 2, 1, 2, 3.5);
  const auto owner = std::make_shared<const Array2D<double>>(values);
  Elevations z(owner);
  const auto heldAt = [](const Elevations& e) {
    return e.visit([](const auto& array) { return static_cast<const void*>(&array); });
  };
  EXPECT_EQ(heldAt(z), owner.get());
  EXPECT_EQ(z(2, 1), 3.5);

  z(2, 1) = 7;
  EXPECT_NE(heldAt(z), owner.get());
  EXPECT_EQ(z(2, 1), 7);
  EXPECT_EQ(z(1, 2), 3.5);
  EXPECT_EQ((*owner)(2, 1), 3.5);
}

}  // namespace
}  // namespace kalvenor
