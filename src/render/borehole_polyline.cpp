#include "render/borehole_polyline.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "render/borehole_trace.h"

namespace kalvenor {
namespace {

struct Corner {
  double x, y, distance;
};

// The section's ends and bends in order along the line.
std::vector<Corner> cornersOf(const SectionGrid& s) {
  std::vector<Corner> corners{{s.Xstart, s.Ystart, 0.0}};
  for (const SectionBend& bend : s.bends) corners.push_back({bend.x, bend.y, bend.distance});
  corners.push_back({s.Xend, s.Yend, s.length()});
  return corners;
}

struct Direction {
  double ux = 0.0, uy = 0.0;
};

Direction directionOf(const Corner& a, const Corner& b) {
  const double length = std::hypot(b.x - a.x, b.y - a.y);
  if (!(length > 0)) return {};
  return {(b.x - a.x) / length, (b.y - a.y) / length};
}

// The side through corner c with normal n: n . (p - c) kept where it is not negative.
KeepSide sideThrough(const Corner& c, Direction n) {
  return {n.ux, n.uy, 0, -(n.ux * c.x + n.uy * c.y)};
}

// Where the bands of the segments before and after a bend meet: on its bisector, or square to
// the first segment where the line turns right back.
Direction bisectorNormal(Direction in, Direction out) {
  const double nx = in.ux + out.ux, ny = in.uy + out.uy;
  const double n = std::hypot(nx, ny);
  if (n < 1e-9) return in;
  return {nx / n, ny / n};
}

// The band of segment k (from corner k to k + 1) within the buffer, above the base.
std::array<KeepSide, 5> segmentBand(const std::vector<Corner>& corners, std::size_t k,
                                    double buffer, double Zbase) {
  const Corner &a = corners[k], &b = corners[k + 1];
  const Direction u = directionOf(a, b);
  const Direction start = k == 0 ? u : bisectorNormal(directionOf(corners[k - 1], a), u);
  Direction end = k + 2 == corners.size() ? u : bisectorNormal(u, directionOf(b, corners[k + 2]));
  end = {-end.ux, -end.uy};
  const double across = -(u.uy * a.x - u.ux * a.y);
  return {{sideThrough(a, start),
           sideThrough(b, end),
           {u.uy, -u.ux, 0, buffer + across},
           {-u.uy, u.ux, 0, buffer - across},
           {0, 0, 1, -Zbase}}};
}

}  // namespace

std::vector<std::vector<SectionStation>> holeOnPolyline(const Borehole& hole,
                                                        const SectionBoreholes& in) {
  const std::vector<Corner> corners = cornersOf(in.section);
  const std::vector<HoleStation> points = tracePoints(hole);
  std::vector<std::vector<SectionStation>> parts;
  for (std::size_t k = 0; k + 1 < corners.size(); ++k) {
    const Corner &a = corners[k], &b = corners[k + 1];
    const Direction u = directionOf(a, b);
    const double length = b.distance - a.distance;
    if (!(length > 0)) continue;
    const auto sides = segmentBand(corners, k, in.buffer, in.Zbase);
    for (const auto& part : clipPath(points, sides)) {
      parts.emplace_back();
      for (const HoleStation& p : part) {
        const double along = std::clamp(u.ux * (p.x - a.x) + u.uy * (p.y - a.y), 0.0, length);
        parts.back().push_back({a.distance + along, p.z, p.depth});
      }
    }
  }
  return parts;
}

}  // namespace kalvenor
