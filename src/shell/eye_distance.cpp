#include "shell/eye_distance.h"

#include <algorithm>
#include <cmath>

#include "render/block_base.h"

namespace kalvenor {
namespace {

double roundedUpToTwoDigits(double value) {
  const double unit = std::pow(10.0, std::floor(std::log10(value)) - 1);
  return std::ceil(value / unit - 1e-9) * unit;
}

}  // namespace

PerspectiveValues withEyeDistance(PerspectiveValues values, const ViewerState& state) {
  const DisplaySurface& d = *state.display;
  if (values.Dist != 0 || !d.loaded()) return values;
  const double bottom = std::min(blockBase(state.Zbase).value_or(d.Zmin), d.Zmin);
  const double exaggeration = state.view.Ve != 0 ? std::abs(state.view.Ve) : 1.0;
  const double diagonal =
      std::hypot(d.Xmax - d.Xmin, d.Ymax - d.Ymin, (d.Zmax - bottom) * exaggeration);
  if (!(diagonal > 0) || !std::isfinite(diagonal)) return values;
  values.Dist = roundedUpToTwoDigits(2 * diagonal);
  return values;
}

}  // namespace kalvenor
