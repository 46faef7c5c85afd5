#include "model/borehole_path.h"

#include <algorithm>
#include <cmath>

namespace kalvenor {
namespace {

constexpr double kRadians = 0.017453292519943295;
constexpr double kPi = 3.141592653589793;

struct Vector3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

Vector3 operator+(Vector3 a, Vector3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vector3 operator*(double s, Vector3 a) { return {s * a.x, s * a.y, s * a.z}; }
double dot(Vector3 a, Vector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The unit vector along the hole: azimuth clockwise from north, dip down from the horizontal
// negative.
Vector3 direction(const SurveyStation& station) {
  const double azimuth = station.azimuth * kRadians;
  const double dip = station.dip * kRadians;
  return {std::cos(dip) * std::sin(azimuth), std::cos(dip) * std::cos(azimuth), std::sin(dip)};
}

// A stretch of the hole between two stations, the directions at its ends.
struct Arc {
  double fromDepth;
  double toDepth;
  Vector3 start;
  Vector3 along;  // at fromDepth
  Vector3 end;    // at toDepth
};

// Below this dogleg (radians) the arc is taken as straight: the circle's formulas lose their
// digits there.
constexpr double kStraight = 1e-9;

// The point `length` along the arc: on the circle that leaves `start` along `along` and arrives
// along `end`, turning through the dogleg angle over the arc's length. At the arc's end this is
// the minimum-curvature step, (length / 2) (along + end) times the ratio factor
// (2 / dogleg) tan(dogleg / 2).
Vector3 pointOnArc(const Arc& arc, double length) {
  const double span = arc.toDepth - arc.fromDepth;
  const double dogleg = std::acos(std::clamp(dot(arc.along, arc.end), -1.0, 1.0));
  // Opposite directions bound no circle either; the hole then turns back on itself.
  if (dogleg < kStraight || dogleg > kPi - kStraight || span <= 0) {
    const double share = span > 0 ? length / span : 0.0;
    return arc.start + length * ((1 - share / 2) * arc.along + (share / 2) * arc.end);
  }
  const double radius = span / dogleg;
  const double turned = length / radius;
  // The unit normal towards the circle's centre, in the plane of the two directions.
  const Vector3 normal = (1 / std::sin(dogleg)) * (arc.end + (-std::cos(dogleg)) * arc.along);
  return arc.start + radius * ((1 - std::cos(turned)) * normal + std::sin(turned) * arc.along);
}

// The arcs from the collar: straight down without survey; the first station's direction from
// the collar; the last station's from there to the hole's depth.
std::vector<Arc> arcsOf(const Borehole& hole, const std::vector<SurveyStation>& survey) {
  std::vector<SurveyStation> stations = survey;
  if (stations.empty()) stations.push_back({0.0, 0.0, -90.0});
  if (stations.front().depth > 0)
    stations.insert(stations.begin(), {0.0, stations.front().azimuth, stations.front().dip});
  if (stations.back().depth < hole.depth)
    stations.push_back({hole.depth, stations.back().azimuth, stations.back().dip});
  std::vector<Arc> arcs;
  Vector3 at{hole.x, hole.y, hole.z};
  for (std::size_t n = 0; n + 1 < stations.size(); ++n) {
    Arc arc{stations[n].depth, stations[n + 1].depth, at, direction(stations[n]),
            direction(stations[n + 1])};
    at = pointOnArc(arc, arc.toDepth - arc.fromDepth);
    arcs.push_back(arc);
  }
  return arcs;
}

// Every depth the path has a station at, in order, once each.
std::vector<double> stationDepths(const Borehole& hole, const std::vector<Arc>& arcs) {
  std::vector<double> depths{0.0, hole.depth};
  for (const Arc& arc : arcs) {
    const double span = arc.toDepth - arc.fromDepth;
    const int pieces = static_cast<int>(std::ceil(span / kPathStep));
    const bool curved = dot(arc.along, arc.end) < 1 - kStraight;
    for (int piece = 0; piece <= (curved ? pieces : 0); ++piece) {
      depths.push_back(arc.fromDepth + span * piece / std::max(pieces, 1));
    }
    depths.push_back(arc.toDepth);
  }
  for (const LoggedInterval& interval : hole.intervals) {
    depths.push_back(interval.from);
    depths.push_back(interval.to);
  }
  std::sort(depths.begin(), depths.end());
  depths.erase(std::unique(depths.begin(), depths.end()), depths.end());
  return depths;
}

}  // namespace

std::vector<HoleStation> holePath(const Borehole& hole, const std::vector<SurveyStation>& survey) {
  const std::vector<Arc> arcs = arcsOf(hole, survey);
  std::vector<HoleStation> path;
  std::size_t arc = 0;
  for (const double depth : stationDepths(hole, arcs)) {
    while (arc + 1 < arcs.size() && depth > arcs[arc].toDepth) ++arc;
    const Vector3 point = arcs.empty() ? Vector3{hole.x, hole.y, hole.z}
                                       : pointOnArc(arcs[arc], depth - arcs[arc].fromDepth);
    path.push_back({depth, point.x, point.y, point.z});
  }
  return path;
}

HoleStation positionAt(const Borehole& hole, double depth) {
  const std::vector<HoleStation>& path = hole.path;
  if (path.empty()) return {depth, hole.x, hole.y, hole.z - depth};
  if (depth <= path.front().depth) return path.front();
  if (depth >= path.back().depth) return path.back();
  const auto after = std::upper_bound(path.begin(), path.end(), depth,
                                      [](double d, const HoleStation& s) { return d < s.depth; });
  const HoleStation& a = *(after - 1);
  const HoleStation& b = *after;
  const double share = (depth - a.depth) / (b.depth - a.depth);
  return {depth, a.x + share * (b.x - a.x), a.y + share * (b.y - a.y), a.z + share * (b.z - a.z)};
}

}  // namespace kalvenor
