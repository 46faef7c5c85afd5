#include "evaluation/section_line_sampling.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kalvenor {
namespace {

bool outside(double value, double a, double b) {
  return value < std::min(a, b) || value > std::max(a, b);
}

}  // namespace

std::optional<LineSpan> displaySpan(const DisplaySurface& d, double x, double y, double Fai) {
  const double s = std::sin(Fai);
  const double c = std::cos(Fai);
  double tx1 = -1e10, tx2 = 1e10, ty1 = -1e10, ty2 = 1e10;
  if (std::abs(s) > 0.00001) {
    tx1 = (d.nodeX[1] - x) / s;
    tx2 = (d.nodeX[d.Nx] - x) / s;
    if (tx1 > tx2) std::swap(tx1, tx2);
  }
  if (std::abs(c) > 0.00001) {
    ty1 = (d.nodeY[1] - y) / c;
    ty2 = (d.nodeY[d.Ny] - y) / c;
    if (ty1 > ty2) std::swap(ty1, ty2);
  }
  const double tmin = tx1 > ty1 ? tx1 : ty1;
  const double tmax = tx2 < ty2 ? tx2 : ty2;
  const bool besideX = std::abs(s) <= 0.00001 && outside(x, d.nodeX[1], d.nodeX[d.Nx]);
  const bool besideY = std::abs(c) <= 0.00001 && outside(y, d.nodeY[1], d.nodeY[d.Ny]);
  if (tmin > tmax || besideX || besideY) return std::nullopt;
  return LineSpan{tmin, tmax};
}

double columnSpacing(const DisplaySurface& d) {
  return std::min(std::abs(d.Dx), std::abs(d.Dy)) / 2;
}

ColumnSteps columnSteps(const DisplaySurface& d, double L, double Fai) {
  ColumnSteps c;
  c.columns = std::floor(L / columnSpacing(d) + 0.001) + 1;
  if (c.columns < 2) return c;
  c.step = L / (c.columns - 1);
  c.Dxx = std::sin(Fai) * c.step;
  if (std::abs(c.Dxx) < 0.1) c.Dxx = 0;
  c.Dyy = std::cos(Fai) * c.step;
  if (std::abs(c.Dyy) < 0.1) c.Dyy = 0;
  c.Dzz = std::abs(c.Dxx);
  if (std::abs(c.Dyy) < c.Dzz) c.Dzz = std::abs(c.Dyy);
  if (c.Dxx == 0) c.Dzz = std::abs(c.Dyy);
  if (c.Dyy == 0) c.Dzz = std::abs(c.Dxx);
  return c;
}

}  // namespace kalvenor
