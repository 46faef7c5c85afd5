#include "render/view_settings.h"

#include <cmath>

#include "model/display_surface.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

constexpr double kDegree = 0.017453292519943278;

// At Sca 1 the longer side of the grid spans half the shorter canvas side.
void fitCanvasScale(ViewSettings& v, const DisplaySurface& d, double width, double height) {
  v.HalfW = Int(width / 2);
  v.HalfH = Int(height / 2);
  const double m = v.HalfW < v.HalfH ? v.HalfW : v.HalfH;
  v.Wx = (d.Nx - 1) * d.Dx;
  v.Wy = (d.Ny - 1) * d.Dy;
  const double M = v.Wx > v.Wy ? v.Wx : v.Wy;
  v.Scale = M == 0 ? 0 : m / M * v.Sca;
}

// Far to near: an eye east of the centre starts at the west column, one north of it at the
// south row; straight above, both ascend.
void choosePaintersOrder(ViewSettings& v, const DisplaySurface& d) {
  const double xm = (d.Xmax + d.Xmin) / 2;
  const double ym = (d.Ymax + d.Ymin) / 2;
  const double dist = std::sqrt((v.Xeye - xm) * (v.Xeye - xm) + (v.Yeye - ym) * (v.Yeye - ym));
  const PaintersOrder ascendX{1, d.Nx, 1}, descendX{d.Nx, 1, -1};
  const PaintersOrder ascendY{1, d.Ny, 1}, descendY{d.Ny, 1, -1};
  if (dist == 0) {
    v.orderX = ascendX;
    v.orderY = ascendY;
    return;
  }
  v.orderX = (v.Xeye - xm) / dist >= 0 ? ascendX : descendX;
  v.orderY = (v.Yeye - ym) / dist >= 0 ? ascendY : descendY;
}

}  // namespace

void applyView(ViewSettings& v, const DisplaySurface& d, double canvasWidth,
               double canvasHeight) {
  fitCanvasScale(v, d, canvasWidth, canvasHeight);
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
