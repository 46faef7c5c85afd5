#include "scene/plan_outlines.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace kalvenor {
namespace {

using Edge = std::pair<std::uint64_t, std::uint64_t>;
constexpr std::size_t kNoEdge = std::numeric_limits<std::size_t>::max();

double cross(const PlanPoint& o, const PlanPoint& a, const PlanPoint& b) {
  return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0]);
}

// True when b lies on the straight line from a to c, between them.
bool onStraightRun(const PlanPoint& a, const PlanPoint& b, const PlanPoint& c) {
  return cross(a, b, c) == 0 && (b[0] - a[0]) * (c[0] - b[0]) + (b[1] - a[1]) * (c[1] - b[1]) > 0;
}

PlanRing withoutStraightRuns(const PlanRing& ring) {
  PlanRing kept;
  for (const PlanPoint& p : ring) {
    while (kept.size() >= 2 && onStraightRun(kept[kept.size() - 2], kept.back(), p)) {
      kept.pop_back();
    }
    kept.push_back(p);
  }
  // The run through the ring's first point.
  bool dropped = true;
  while (dropped && kept.size() >= 3) {
    dropped = false;
    if (onStraightRun(kept[kept.size() - 2], kept.back(), kept.front())) {
      kept.pop_back();
      dropped = true;
    } else if (onStraightRun(kept.back(), kept.front(), kept[1])) {
      kept.erase(kept.begin());
      dropped = true;
    }
  }
  return kept;
}

// The edges of one region's outline and the points of their ends.
class RingChainer {
 public:
  RingChainer(std::vector<Edge> edges, const std::unordered_map<std::uint64_t, PlanPoint>& points)
      : edges_(std::move(edges)), points_(points) {
    for (std::size_t e = 0; e < edges_.size(); ++e) leaving_[edges_[e].first].push_back(e);
  }
  std::vector<PlanRing> rings() const;

 private:
  const PlanPoint& at(std::uint64_t key) const { return points_.at(key); }
  std::size_t next(std::size_t e) const;
  void addRing(const std::vector<std::uint64_t>& keys, std::vector<PlanRing>& rings) const;

  std::vector<Edge> edges_;
  const std::unordered_map<std::uint64_t, PlanPoint>& points_;
  std::unordered_map<std::uint64_t, std::vector<std::size_t>> leaving_;
};

// The edge after e around the region: where several leave e's end (the region touches itself
// there), the first one turning clockwise from e's way back, which bounds the same corner of the
// region as e.
std::size_t RingChainer::next(std::size_t e) const {
  const auto found = leaving_.find(edges_[e].second);
  if (found == leaving_.end()) return kNoEdge;
  const std::vector<std::size_t>& out = found->second;
  if (out.size() == 1) return out.front();
  const PlanPoint& v = at(edges_[e].second);
  const PlanPoint& back = at(edges_[e].first);
  const double backAngle = std::atan2(back[1] - v[1], back[0] - v[0]);
  std::size_t best = kNoEdge;
  double bestTurn = -1;
  for (const std::size_t candidate : out) {
    const PlanPoint& w = at(edges_[candidate].second);
    double turn = std::atan2(w[1] - v[1], w[0] - v[0]) - backAngle;
    while (turn <= 0) turn += 2 * std::numbers::pi;
    while (turn > 2 * std::numbers::pi) turn -= 2 * std::numbers::pi;
    if (turn > bestTurn) {
      bestTurn = turn;
      best = candidate;
    }
  }
  return best;
}

void RingChainer::addRing(const std::vector<std::uint64_t>& keys,
                          std::vector<PlanRing>& rings) const {
  PlanRing ring;
  for (const std::uint64_t key : keys) ring.push_back(at(key));
  ring = withoutStraightRuns(ring);
  if (ring.size() >= 3 && ringArea(ring) != 0) rings.push_back(std::move(ring));
}

// The rings of the outline. A chain that passes a point twice (a hole that touches the outer
// ring there) is split there into rings that each pass it once, as a valid polygon needs.
std::vector<PlanRing> RingChainer::rings() const {
  std::vector<PlanRing> rings;
  std::vector<bool> used(edges_.size(), false);
  for (std::size_t start = 0; start < edges_.size(); ++start) {
    if (used[start]) continue;
    std::vector<std::uint64_t> chain;
    std::unordered_map<std::uint64_t, std::size_t> placed;
    std::size_t e = start;
    while (e != kNoEdge && !used[e]) {
      used[e] = true;
      const std::uint64_t key = edges_[e].first;
      if (const auto again = placed.find(key); again != placed.end()) {
        const auto from = chain.begin() + static_cast<std::ptrdiff_t>(again->second);
        addRing({from, chain.end()}, rings);
        for (auto k = from + 1; k != chain.end(); ++k) placed.erase(*k);
        chain.erase(from + 1, chain.end());
      } else {
        placed.emplace(key, chain.size());
        chain.push_back(key);
      }
      e = next(e);
    }
    // A chain that does not come back to its start encloses nothing.
    if (e == start) addRing(chain, rings);
  }
  return rings;
}

struct Box {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool holds(const PlanPoint& p) const {
    return p[0] >= x0 && p[0] <= x1 && p[1] >= y0 && p[1] <= y1;
  }
};

Box boxOf(const PlanRing& ring) {
  Box box{ring[0][0], ring[0][1], ring[0][0], ring[0][1]};
  for (const PlanPoint& p : ring) {
    box.x0 = std::min(box.x0, p[0]);
    box.x1 = std::max(box.x1, p[0]);
    box.y0 = std::min(box.y0, p[1]);
    box.y1 = std::max(box.y1, p[1]);
  }
  return box;
}

// Whether p lies inside the ring, p on none of its edges.
bool inside(const PlanRing& ring, const PlanPoint& p) {
  bool in = false;
  for (std::size_t n = 0, m = ring.size() - 1; n < ring.size(); m = n++) {
    const PlanPoint &a = ring[n], &b = ring[m];
    if ((a[1] > p[1]) != (b[1] > p[1]) &&
        p[0] < (b[0] - a[0]) * (p[1] - a[1]) / (b[1] - a[1]) + a[0]) {
      in = !in;
    }
  }
  return in;
}

// The outer rings with their holes. A hole lies in the smallest outer ring around the middle of
// its first edge, which no other ring of the region passes through.
std::vector<PlanPolygon> nested(std::vector<PlanRing> rings) {
  struct Outer {
    PlanRing ring;
    double area;
    Box box;
    std::size_t order;
  };
  std::vector<Outer> outers;
  std::vector<PlanRing> holes;
  for (PlanRing& ring : rings) {
    const double area = ringArea(ring);
    if (area > 0) {
      const Box box = boxOf(ring);
      outers.push_back({std::move(ring), area, box, outers.size()});
    } else {
      holes.push_back(std::move(ring));
    }
  }
  std::vector<std::size_t> smallestFirst(outers.size());
  for (std::size_t n = 0; n < outers.size(); ++n) smallestFirst[n] = n;
  std::stable_sort(smallestFirst.begin(), smallestFirst.end(),
                   [&](std::size_t a, std::size_t b) { return outers[a].area < outers[b].area; });
  std::vector<PlanPolygon> polygons(outers.size());
  for (std::size_t n = 0; n < outers.size(); ++n) polygons[n].outer = std::move(outers[n].ring);
  for (PlanRing& hole : holes) {
    const PlanPoint probe{(hole[0][0] + hole[1][0]) / 2, (hole[0][1] + hole[1][1]) / 2};
    for (const std::size_t n : smallestFirst) {
      if (outers[n].box.holds(probe) && inside(polygons[n].outer, probe)) {
        polygons[n].holes.push_back(std::move(hole));
        break;
      }
    }
  }
  return polygons;
}

}  // namespace

void RegionOutlines::addEdge(std::int32_t region, std::uint64_t a, const PlanPoint& pa,
                             std::uint64_t b, const PlanPoint& pb) {
  points_.emplace(a, pa);
  points_.emplace(b, pb);
  // The same edge the other way round in the same region: the two polygons meet there.
  const auto reverse = edges_.find({b, a});
  if (reverse != edges_.end() && reverse->second == region) {
    edges_.erase(reverse);
    return;
  }
  edges_.emplace(Edge{a, b}, region);
}

void RegionOutlines::addPolygon(std::int32_t region, const std::vector<std::uint64_t>& keys,
                                const std::vector<PlanPoint>& points) {
  for (std::size_t n = 0; n < keys.size(); ++n) {
    const std::size_t m = (n + 1) % keys.size();
    addEdge(region, keys[n], points[n], keys[m], points[m]);
  }
}

std::map<std::int32_t, std::vector<PlanPolygon>> RegionOutlines::polygons() const {
  std::map<std::int32_t, std::vector<Edge>> byRegion;
  for (const auto& [edge, region] : edges_) byRegion[region].push_back(edge);
  std::map<std::int32_t, std::vector<PlanPolygon>> result;
  for (auto& [region, edges] : byRegion) {
    // In the order of their keys, so that the rings come out alike however the edges were stored.
    std::sort(edges.begin(), edges.end());
    result[region] = nested(RingChainer(std::move(edges), points_).rings());
  }
  return result;
}

double ringArea(const PlanRing& ring) {
  if (ring.size() < 3) return 0;
  // About the first point, so that map coordinates in the millions keep the area's digits.
  double twice = 0;
  for (std::size_t n = 1; n + 1 < ring.size(); ++n) twice += cross(ring[0], ring[n], ring[n + 1]);
  return twice / 2;
}

double polygonArea(const PlanPolygon& polygon) {
  double area = ringArea(polygon.outer);
  for (const PlanRing& hole : polygon.holes) area += ringArea(hole);
  return area;
}

}  // namespace kalvenor
