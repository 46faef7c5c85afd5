#include "model/axis_ticks.h"

#include <cmath>

namespace kalvenor {

std::vector<double> roundTicks(double low, double high, int most) {
  const double span = high - low;
  if (!(span > 0) || !std::isfinite(span)) return {};
  const int count = most < 1 ? 1 : most;
  const double magnitude = std::pow(10.0, std::floor(std::log10(span / count)));
  double step = magnitude * 10;
  for (const double multiple : {1.0, 2.0, 5.0}) {
    if (span / (multiple * magnitude) <= count) {
      step = multiple * magnitude;
      break;
    }
  }
  // Positions as first + i * step, so that a long axis does not drift from round numbers.
  const double first = std::ceil(low / step - 1e-9) * step;
  std::vector<double> ticks;
  for (int i = 0;; ++i) {
    const double tick = first + i * step;
    if (tick > high + step * 1e-9) break;
    ticks.push_back(tick == 0 ? 0.0 : tick);  // no "-0"
  }
  return ticks;
}

}  // namespace kalvenor
