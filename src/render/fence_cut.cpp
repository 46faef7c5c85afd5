#include "render/fence_cut.h"

#include <algorithm>
#include <cmath>

#include "evaluation/angles.h"
#include "model/parallel_for.h"

namespace kalvenor {

FenceCut::FenceCut(const Projection& projection, const std::vector<FencePanel>& panels,
                   const DisplaySurface& d, const RenderContext& context)
    : parallel_(projection.parallel()),
      awayX_(-std::sin(projection.view().Alpha * kDegree)),
      awayY_(-std::cos(projection.view().Alpha * kDegree)),
      eyeX_(projection.Xeye()),
      eyeY_(projection.Yeye()),
      hidden_(1, d.Nx, 1, d.Ny, 0) {
  for (const FencePanel& panel : panels) {
    const SectionGrid& s = panel.section;
    if (s.Nxy < 2) continue;
    std::vector<std::array<double, 2>> corners{{s.x(1), s.y(1)}};
    for (const SectionBend& bend : s.bends) corners.push_back({bend.x, bend.y});
    corners.push_back({s.x(s.Nxy), s.y(s.Nxy)});
    for (std::size_t n = 1; n < corners.size(); ++n) {
      const auto& [ax, ay] = corners[n - 1];
      segments_.push_back({ax, ay, corners[n][0] - ax, corners[n][1] - ay});
    }
  }
  parallelFor(1, d.Nx,
              [&](int i) {
                for (int j = 1; j <= d.Ny; ++j)
                  hidden_(i, j) = hides(d.nodeX[i], d.nodeY[j]) ? 1 : 0;
              },
              {.threads = std::max(1, context.threads), .chunk = 16});
}

// The ray from (x, y) along (dx, dy), from the point on, against the segment, ends included: a
// point on a panel's line is in front of it. A ray along the segment's own line meets nothing:
// it would only graze the panel's edge; nor does one of no direction, from right under the eye.
bool FenceCut::meets(const Segment& s, const Ray& ray) {
  const double across = ray.dx * s.ey - ray.dy * s.ex;
  if (across == 0) return false;
  const double tx = s.ax - ray.x, ty = s.ay - ray.y;
  const double along = (tx * s.ey - ty * s.ex) / across;   // on the ray
  const double at = (tx * ray.dy - ty * ray.dx) / across;  // on the segment, 0 to 1
  return along >= 0 && at >= 0 && at <= 1;
}

bool FenceCut::hides(double x, double y) const {
  const Ray ray{x, y, parallel_ ? awayX_ : x - eyeX_, parallel_ ? awayY_ : y - eyeY_};
  return std::any_of(segments_.begin(), segments_.end(),
                     [&](const Segment& s) { return meets(s, ray); });
}

}  // namespace kalvenor
