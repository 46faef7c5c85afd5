#include "render/projection.h"

#include <cmath>
#include <limits>

#include "model/number_text.h"

namespace kalvenor {
namespace {

std::optional<std::int32_t> toCanvas(double value) {
  constexpr double kLow = std::numeric_limits<std::int32_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
  if (!(value >= kLow && value <= kHigh)) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

Projection::Projection(const ViewSettings& view, double Xc, double Yc, double Zc, double Zbase)
    : view_(view), Xc_(Xc), Yc_(Yc), Zc_(Zc), Zbase_(Zbase) {}

double Projection::exaggerateHeight(double z) const {
  return Zc_ + view_.Ve * ((z > Zbase_ ? z : Zbase_) - Zc_);
}

std::optional<std::array<double, 2>> Projection::screenOffset(double x, double y, double z) const {
  const ViewSettings& v = view_;
  const double dx = x - Xc_, dy = y - Yc_, dz = z - Zc_;
  double right = v.Rx * dx + v.Ry * dy;
  double up = v.Ux * dx + v.Uy * dy + v.Uz * dz;
  if (v.Dist != kParallelDist) {
    const double towardEye = v.Ex * dx + v.Ey * dy + v.Ez * dz;
    if (!(towardEye < v.Dist)) return std::nullopt;
    const double f = (v.Dist - v.Ppz) / (v.Dist - towardEye);
    right = f * right;
    up = f * up;
  }
  return std::array<double, 2>{right, up};
}

MaybePoint Projection::projectPoint(double x, double y, double z) const {
  const ViewSettings& v = view_;
  const auto offset = screenOffset(x, y, z);
  if (!offset) return std::nullopt;
  const auto px = toCanvas(Int(((*offset)[0] - v.PanX) * v.Scale) + v.HalfW + v.ShiftX);
  const auto py = toCanvas(v.HalfH - Int(((*offset)[1] - v.PanY) * v.Scale) + v.ShiftY);
  if (!px || !py) return std::nullopt;
  return CanvasPoint{*px, *py};
}

}  // namespace kalvenor
