#include "render/fit_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/number_text.h"
#include "render/view_limits.h"

namespace kalvenor {

namespace {

// Where the points lie from the view centre before the canvas scale: left, right, low and high.
struct Spread {
  double left, right, low, high;
};

std::optional<Spread> spreadOf(const Projection& projection,
                               const std::vector<ModelPoint>& points) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  Spread s{kInf, -kInf, kInf, -kInf};
  for (const ModelPoint& p : points) {
    const auto offset = projection.screenOffset({p.x, p.y, projection.exaggerateHeight(p.z)});
    if (!offset) continue;
    s.left = std::min(s.left, (*offset)[0]);
    s.right = std::max(s.right, (*offset)[0]);
    s.low = std::min(s.low, (*offset)[1]);
    s.high = std::max(s.high, (*offset)[1]);
  }
  if (!(s.right >= s.left)) return std::nullopt;
  return s;
}

// The whole pixels that put the middle of the spread, at magnification Sca, in the middle of the
// canvas less the margins.
ViewFit centred(const Projection& projection, const Spread& s, double Sca, const Margins& margins,
                double width, double height) {
  const double across = width - margins.left - margins.right;
  const double down = height - margins.top - margins.bottom;
  const double fitted = projection.scaleAt(Sca);
  const auto [halfW, halfH] = projection.canvasMiddle();
  const double middleX = margins.left + across / 2, middleY = margins.top + down / 2;
  return {Sca, Int(middleX - halfW - (s.left + s.right) / 2 * fitted),
          Int(middleY - halfH + (s.low + s.high) / 2 * fitted)};
}

}  // namespace

std::optional<ViewFit> fitView(const Projection& projection, const std::vector<ModelPoint>& points,
                               const Margins& margins, double width, double height) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const auto s = spreadOf(projection, points);
  const double across = width - margins.left - margins.right;
  const double down = height - margins.top - margins.bottom;
  if (!s || across <= 0 || down <= 0 || projection.scale() <= 0) return std::nullopt;
  // Projected offsets grow with the scale alone, in perspective too, so one step fits.
  double scale = kInf;
  if (s->right > s->left) scale = across / (s->right - s->left);
  if (s->high > s->low) scale = std::min(scale, down / (s->high - s->low));
  if (!std::isfinite(scale)) return std::nullopt;
  const double Sca = projection.view().Sca;
  return centred(projection, *s, std::min(Sca * scale / projection.scale(), kMaxViewFactor),
                 margins, width, height);
}

std::optional<ViewFit> centreView(const Projection& projection,
                                  const std::vector<ModelPoint>& points, const Margins& margins,
                                  double width, double height) {
  const auto s = spreadOf(projection, points);
  if (!s || projection.scale() <= 0) return std::nullopt;
  return centred(projection, *s, projection.view().Sca, margins, width, height);
}

}  // namespace kalvenor
