#include "render/borehole_trace.h"

#include <algorithm>

#include "model/borehole_path.h"

namespace kalvenor {
namespace {

// The part [t0, t1] of segment a-b that keeps every side; t0 > t1 when none does.
std::pair<double, double> keptPart(const HoleStation& a, const HoleStation& b,
                                   std::span<const KeepSide> sides) {
  double t0 = 0.0, t1 = 1.0;
  for (const KeepSide& side : sides) {
    const double fa = side.at(a), fb = side.at(b);
    if (fa < 0 && fb < 0) return {1.0, 0.0};
    if (fa < 0) t0 = std::max(t0, fa / (fa - fb));
    if (fb < 0) t1 = std::min(t1, fa / (fa - fb));
  }
  return {t0, t1};
}

}  // namespace

PackedColor loggedUnitColor(const std::vector<PackedColor>& unitColor, std::int16_t unit) {
  if (unit <= 0) return kUnknownUnitColor;
  return unit < static_cast<int>(unitColor.size()) ? unitColor[unit] : kBlack;
}

std::vector<HoleStation> tracePoints(const Borehole& hole) {
  std::vector<double> ends;
  ends.reserve(2 * hole.intervals.size());
  for (const LoggedInterval& interval : hole.intervals)
    ends.insert(ends.end(), {interval.from, interval.to});
  std::sort(ends.begin(), ends.end());
  std::vector<HoleStation> points;
  points.reserve(hole.path.size() + ends.size());
  auto end = ends.begin();
  for (const HoleStation& station : hole.path) {
    for (; end != ends.end() && *end <= station.depth; ++end) {
      if (*end < station.depth && (points.empty() || points.back().depth < *end))
        points.push_back(positionAt(hole, *end));
    }
    if (points.empty() || points.back().depth < station.depth) points.push_back(station);
  }
  return points;
}

int intervalAt(const Borehole& hole, double depth) {
  const auto& intervals = hole.intervals;
  const auto after =
      std::upper_bound(intervals.begin(), intervals.end(), depth,
                       [](double d, const LoggedInterval& interval) { return d < interval.from; });
  if (after == intervals.begin()) return -1;
  const auto found = std::prev(after);
  return depth < found->to ? static_cast<int>(found - intervals.begin()) : -1;
}

HoleStation between(const HoleStation& a, const HoleStation& b, double t) {
  return {a.depth + t * (b.depth - a.depth), a.x + t * (b.x - a.x), a.y + t * (b.y - a.y),
          a.z + t * (b.z - a.z)};
}

std::vector<std::vector<HoleStation>> clipPath(std::span<const HoleStation> path,
                                               std::span<const KeepSide> sides) {
  std::vector<std::vector<HoleStation>> parts;
  bool open = false;  // the last part reaches the end of the segment before
  for (std::size_t n = 1; n < path.size(); ++n) {
    const HoleStation &a = path[n - 1], &b = path[n];
    const auto [t0, t1] = keptPart(a, b, sides);
    if (t0 >= t1) {
      open = false;
      continue;
    }
    if (!open || t0 > 0) parts.push_back({between(a, b, t0)});
    parts.back().push_back(t1 < 1 ? between(a, b, t1) : b);
    open = t1 >= 1;
  }
  std::erase_if(parts, [](const std::vector<HoleStation>& part) {
    return part.size() < 2 || part.back().depth <= part.front().depth;
  });
  return parts;
}

}  // namespace kalvenor
