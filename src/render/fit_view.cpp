#include "render/fit_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/number_text.h"
#include "render/view_limits.h"

namespace kalvenor {

void fitView(ViewSettings& view, const Projection& projection,
             const std::vector<ModelPoint>& points, const Margins& margins, double width,
             double height) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  double left = kInf, right = -kInf, low = kInf, high = -kInf;
  for (const ModelPoint& p : points) {
    const auto offset = projection.screenOffset(p.x, p.y, projection.exaggerateHeight(p.z));
    if (!offset) continue;
    left = std::min(left, (*offset)[0]);
    right = std::max(right, (*offset)[0]);
    low = std::min(low, (*offset)[1]);
    high = std::max(high, (*offset)[1]);
  }
  const double across = width - margins.left - margins.right;
  const double down = height - margins.top - margins.bottom;
  if (!(right >= left) || across <= 0 || down <= 0 || view.Scale <= 0) return;
  // Projected offsets grow with the scale alone, in perspective too, so one step fits.
  double scale = kInf;
  if (right > left) scale = across / (right - left);
  if (high > low) scale = std::min(scale, down / (high - low));
  if (!std::isfinite(scale)) return;
  const double sca = std::min(view.Sca * scale / view.Scale, kMaxViewFactor);
  view.Scale *= sca / view.Sca;
  view.Sca = sca;
  const double middleX = margins.left + across / 2, middleY = margins.top + down / 2;
  // The shift alone places a fitted picture.
  view.PanX = view.PanY = 0;
  view.ShiftX = Int(middleX - view.HalfW - (left + right) / 2 * view.Scale);
  view.ShiftY = Int(middleY - view.HalfH + (low + high) / 2 * view.Scale);
}

}  // namespace kalvenor
