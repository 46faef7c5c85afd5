#include "render/projection.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "evaluation/angles.h"
#include "model/display_surface.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

std::optional<std::int32_t> toCanvas(double value) {
  constexpr double kLow = std::numeric_limits<std::int32_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
  if (!(value >= kLow && value <= kHigh)) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

PaintersOrder reversed(const PaintersOrder& order) {
  return {order.last, order.first, -order.step};
}

}  // namespace

// A grid stored east to west or north to south has a negative width or depth; its size is the
// same.
Projection::Projection(const ViewSettings& view, const ViewCanvas& canvas, const DisplaySurface& d,
                       double Zbase)
    : view_(view),
      canvas_(canvas),
      Xc_(d.Xc),
      Yc_(d.Yc),
      Zc_(d.Zc),
      Zbase_(Zbase),
      halfW_(Int(canvas.width / 2)),
      halfH_(Int(canvas.height / 2)),
      halfShorter_(std::min(halfW_, halfH_)),
      longerSide_(std::max(std::abs((d.Nx - 1) * d.Dx), std::abs((d.Ny - 1) * d.Dy))),
      scale_(scaleAt(view.Sca)) {
  chooseAxes();
  choosePaintersOrder(d);
}

void Projection::chooseAxes() {
  const double sA = std::sin(view_.Alpha * kDegree), cA = std::cos(view_.Alpha * kDegree);
  const double sG = std::sin(view_.Gamma * kDegree), cG = std::cos(view_.Gamma * kDegree);
  Rx_ = -cA;
  Ry_ = sA;
  Ux_ = -sA * sG;
  Uy_ = -cA * sG;
  Uz_ = cG;
  Ex_ = sA * cG;
  Ey_ = cA * cG;
  Ez_ = sG;
  Xeye_ = Xc_ + view_.Dist * Ex_;
  Yeye_ = Yc_ + view_.Dist * Ey_;
}

// Far to near: an eye east of the centre starts at the west column, one north of it at the
// south row; straight above, both ascend. Columns stored east to west (Dx < 0) or rows stored
// north to south (Dy < 0) run the other way, so the traversal follows the ground, not the file.
void Projection::choosePaintersOrder(const DisplaySurface& d) {
  const double xm = (d.Xmax + d.Xmin) / 2;
  const double ym = (d.Ymax + d.Ymin) / 2;
  const double dist = std::sqrt((Xeye_ - xm) * (Xeye_ - xm) + (Yeye_ - ym) * (Yeye_ - ym));
  const PaintersOrder ascendX{1, d.Nx, 1}, descendX{d.Nx, 1, -1};
  const PaintersOrder ascendY{1, d.Ny, 1}, descendY{d.Ny, 1, -1};
  orderX_ = dist == 0 || (Xeye_ - xm) / dist >= 0 ? ascendX : descendX;
  orderY_ = dist == 0 || (Yeye_ - ym) / dist >= 0 ? ascendY : descendY;
  if (d.Dx < 0) orderX_ = reversed(orderX_);
  if (d.Dy < 0) orderY_ = reversed(orderY_);
}

Projection Projection::withPaintersOrder(const PaintersOrder& x, const PaintersOrder& y) const {
  Projection other = *this;
  other.orderX_ = x;
  other.orderY_ = y;
  return other;
}

double Projection::exaggerateHeight(double z) const {
  return Zc_ + view_.Ve * ((z > Zbase_ ? z : Zbase_) - Zc_);
}

std::optional<std::array<double, 2>> Projection::screenOffset(const ModelPoint& p) const {
  const double dx = p.x - Xc_, dy = p.y - Yc_, dz = p.z - Zc_;
  double right = Rx_ * dx + Ry_ * dy;
  double up = Ux_ * dx + Uy_ * dy + Uz_ * dz;
  if (!parallel()) {
    const double towardEye = Ex_ * dx + Ey_ * dy + Ez_ * dz;
    if (!(towardEye < view_.Dist)) return std::nullopt;
    const double f = (view_.Dist - view_.Ppz) / (view_.Dist - towardEye);
    right = f * right;
    up = f * up;
  }
  return std::array<double, 2>{right, up};
}

MaybePoint Projection::projectPoint(double x, double y, double z) const {
  const auto offset = screenOffset({x, y, z});
  if (!offset) return std::nullopt;
  const ViewCanvas& c = canvas_;
  const auto px = toCanvas(Int(((*offset)[0] - view_.PanX) * scale_) + halfW_ + c.ShiftX);
  const auto py = toCanvas(halfH_ - Int(((*offset)[1] - view_.PanY) * scale_) + c.ShiftY);
  if (!px || !py) return std::nullopt;
  return CanvasPoint{*px, *py};
}

std::array<double, 2> Projection::fromMiddle(std::array<double, 2> pixel) const {
  return {(pixel[0] - halfW_ - canvas_.ShiftX) / scale_,
          (halfH_ + canvas_.ShiftY - pixel[1]) / scale_};
}

}  // namespace kalvenor
