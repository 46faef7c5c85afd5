#pragma once

namespace kalvenor {

// First and last contour level and the interval.
struct ContourSettings {
  double Cst = 0.0;
  double Cen = 0.0;
  double Cin = 0.0;
};

// More levels than this between Cst and Cen would only blacken the picture and take minutes.
constexpr double kMaxContourLevels = 10000;

// Whether contours can be traced with these settings: a non-zero interval that gives a sane
// number of levels.
bool contoursDrawable(const ContourSettings& contours);

}  // namespace kalvenor
