#include "render/contour_settings.h"

#include <cmath>

namespace kalvenor {

bool contoursDrawable(const ContourSettings& c) {
  if (c.Cin == 0 || !std::isfinite(c.Cin)) return false;
  const double levels = std::abs((c.Cen - c.Cst) / c.Cin);
  return std::isfinite(levels) && levels <= kMaxContourLevels;
}

}  // namespace kalvenor
