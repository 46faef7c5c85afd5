#include "render/fit_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/number_text.h"
#include "render/view_limits.h"

namespace kalvenor {

std::optional<ViewFit> fitView(const Projection& projection, const std::vector<ModelPoint>& points,
                               const Margins& margins, double width, double height) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  double left = kInf, right = -kInf, low = kInf, high = -kInf;
  for (const ModelPoint& p : points) {
    const auto offset = projection.screenOffset({p.x, p.y, projection.exaggerateHeight(p.z)});
    if (!offset) continue;
    left = std::min(left, (*offset)[0]);
    right = std::max(right, (*offset)[0]);
    low = std::min(low, (*offset)[1]);
    high = std::max(high, (*offset)[1]);
  }
  const double across = width - margins.left - margins.right;
  const double down = height - margins.top - margins.bottom;
  if (!(right >= left) || across <= 0 || down <= 0 || projection.scale() <= 0) return std::nullopt;
  // Projected offsets grow with the scale alone, in perspective too, so one step fits.
  double scale = kInf;
  if (right > left) scale = across / (right - left);
  if (high > low) scale = std::min(scale, down / (high - low));
  if (!std::isfinite(scale)) return std::nullopt;
  const double Sca = projection.view().Sca;
  ViewFit fit;
  fit.Sca = std::min(Sca * scale / projection.scale(), kMaxViewFactor);
  const double fitted = projection.scaleAt(fit.Sca);
  const auto [halfW, halfH] = projection.canvasMiddle();
  const double middleX = margins.left + across / 2, middleY = margins.top + down / 2;
  fit.ShiftX = Int(middleX - halfW - (left + right) / 2 * fitted);
  fit.ShiftY = Int(middleY - halfH + (low + high) / 2 * fitted);
  return fit;
}

}  // namespace kalvenor
