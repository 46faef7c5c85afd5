#include "evaluation/borehole_path.h"

#include <algorithm>
#include <iterator>

namespace kalvenor {
namespace {

HolePoint straightDown(const HolePoint& from, double below) {
  return {from.x, from.y, from.z - below};
}

HolePoint between(const HoleStation& a, const HoleStation& b, double depth) {
  const double span = b.depth - a.depth;
  if (span == 0.0) return {a.x, a.y, a.z};
  const double t = (depth - a.depth) / span;
  return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
}

}  // namespace

HolePoint holePointAt(const Borehole& hole, double depth) {
  const std::vector<HoleStation>& path = hole.path;
  if (path.empty()) return straightDown({hole.x, hole.y, hole.z}, depth);
  if (path.size() == 1) {
    const HoleStation& s = path.front();
    return straightDown({s.x, s.y, s.z}, depth - s.depth);
  }
  // The segment whose far station is the first deeper than `depth`, kept within the path.
  auto far = std::upper_bound(path.begin(), path.end(), depth,
                              [](double d, const HoleStation& s) { return d < s.depth; });
  far = std::clamp(far, std::next(path.begin()), std::prev(path.end()));
  return between(*std::prev(far), *far, depth);
}

}  // namespace kalvenor
