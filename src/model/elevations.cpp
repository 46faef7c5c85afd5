#include "model/elevations.h"

namespace kalvenor {

void Elevations::set(int i, int j, double value) {
  if (shared_) {
    doubles_ = *shared_;
    shared_.reset();
  }
  if (!single_) {
    doubles_(i, j) = value;
    return;
  }
  const auto narrow = static_cast<float>(value);
  if (static_cast<double>(narrow) == value || value != value) {
    floats_(i, j) = narrow;
    return;
  }
  Array2D<double> wide(floats_.iFirst(), floats_.iLast(), floats_.jFirst(), floats_.jLast());
  for (int a = floats_.iFirst(); a <= floats_.iLast(); ++a) {
    for (int b = floats_.jFirst(); b <= floats_.jLast(); ++b) wide(a, b) = floats_(a, b);
  }
  wide(i, j) = value;
  doubles_ = std::move(wide);
  floats_ = {};
  single_ = false;
}

bool operator==(const Elevations& a, const Elevations& b) {
  return a.visit([&](const auto& x) {
    return b.visit([&](const auto& y) {
      if (x.iFirst() != y.iFirst() || x.iLast() != y.iLast() || x.jFirst() != y.jFirst() ||
          x.jLast() != y.jLast())
        return false;
      for (int i = x.iFirst(); i <= x.iLast(); ++i) {
        for (int j = x.jFirst(); j <= x.jLast(); ++j) {
          if (static_cast<double>(x(i, j)) != static_cast<double>(y(i, j))) return false;
        }
      }
      return true;
    });
  });
}

}  // namespace kalvenor
