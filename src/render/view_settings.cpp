#include "render/view_settings.h"

#include <algorithm>
#include <cmath>

#include "evaluation/angles.h"
#include "model/display_surface.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

// At Sca 1 the longer side of the grid spans half the shorter canvas side. A grid stored east to
// west or north to south has a negative width or depth; its size is the same.
void fitCanvasScale(ViewSettings& v, const DisplaySurface& d, double width, double height) {
  v.HalfW = Int(width / 2);
  v.HalfH = Int(height / 2);
  const double m = v.HalfW < v.HalfH ? v.HalfW : v.HalfH;
  v.Wx = (d.Nx - 1) * d.Dx;
  v.Wy = (d.Ny - 1) * d.Dy;
  const double M = std::max(std::abs(v.Wx), std::abs(v.Wy));
  v.Scale = M == 0 ? 0 : m / M * v.Sca;
}

PaintersOrder reversed(const PaintersOrder& order) {
  return {order.last, order.first, -order.step};
}

// Far to near: an eye east of the centre starts at the west column, one north of it at the
// south row; straight above, both ascend. Columns stored east to west (Dx < 0) or rows stored
// north to south (Dy < 0) run the other way, so the traversal follows the ground, not the file.
void choosePaintersOrder(ViewSettings& v, const DisplaySurface& d) {
  const double xm = (d.Xmax + d.Xmin) / 2;
  const double ym = (d.Ymax + d.Ymin) / 2;
  const double dist = std::sqrt((v.Xeye - xm) * (v.Xeye - xm) + (v.Yeye - ym) * (v.Yeye - ym));
  const PaintersOrder ascendX{1, d.Nx, 1}, descendX{d.Nx, 1, -1};
  const PaintersOrder ascendY{1, d.Ny, 1}, descendY{d.Ny, 1, -1};
  v.orderX = dist == 0 || (v.Xeye - xm) / dist >= 0 ? ascendX : descendX;
  v.orderY = dist == 0 || (v.Yeye - ym) / dist >= 0 ? ascendY : descendY;
  if (d.Dx < 0) v.orderX = reversed(v.orderX);
  if (d.Dy < 0) v.orderY = reversed(v.orderY);
}

}  // namespace

void applyView(ViewSettings& v, const DisplaySurface& d, double canvasWidth, double canvasHeight) {
  fitCanvasScale(v, d, canvasWidth, canvasHeight);
  v.ShiftX = 0;
  v.ShiftY = 0;
  const double sA = std::sin(v.Alpha * kDegree), cA = std::cos(v.Alpha * kDegree);
  const double sG = std::sin(v.Gamma * kDegree), cG = std::cos(v.Gamma * kDegree);
  v.Rx = -cA;
  v.Ry = sA;
  v.Rz = 0;
  v.Ux = -sA * sG;
  v.Uy = -cA * sG;
  v.Uz = cG;
  v.Ex = sA * cG;
  v.Ey = cA * cG;
  v.Ez = sG;
  v.Xeye = d.Xc + v.Dist * v.Ex;
  v.Yeye = d.Yc + v.Dist * v.Ey;
  v.Zeye = d.Zc + v.Dist * v.Ez;
  if (v.Dist == kParallelDist) v.Ppz = 0;
  choosePaintersOrder(v, d);
}

}  // namespace kalvenor
