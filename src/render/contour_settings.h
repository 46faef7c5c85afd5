#pragma once

namespace kalvenor {

// First and last contour level and the interval.
struct ContourSettings {
  double Cst = 0.0;
  double Cen = 0.0;
  double Cin = 0.0;
};

}  // namespace kalvenor
