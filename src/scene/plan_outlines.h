#pragma once

#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "scene/geology_map.h"

namespace kalvenor {

// The outlines of regions made of polygons that meet edge to edge over keyed vertices: the same
// key is the same point in every polygon that has it, so an edge that two polygons of one region
// share is found by its keys alone, without a tolerance, and lies inside the region; every other
// edge is part of its outline.
class RegionOutlines {
 public:
  // A polygon of `region` by its corners, counter-clockwise.
  void addPolygon(std::int32_t region, const std::vector<std::uint64_t>& keys,
                  const std::vector<PlanPoint>& points);
  // One edge of a polygon of `region`, from a to b with the region on its left, where the rest
  // of the polygon is left out because it lies inside the region.
  void addEdge(std::int32_t region, std::uint64_t a, const PlanPoint& pa, std::uint64_t b,
               const PlanPoint& pb);

  // Each region's outline as polygons: its edges chained into rings (where a region touches
  // itself at a point, into separate rings that meet there), each hole put into the smallest
  // outer ring around it, and the corners dropped that lie on a straight run.
  std::map<std::int32_t, std::vector<PlanPolygon>> polygons() const;

 private:
  struct EdgeHash {
    std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& e) const {
      return std::hash<std::uint64_t>()(e.first * 0x9E3779B97F4A7C15ull ^ e.second);
    }
  };
  std::unordered_map<std::pair<std::uint64_t, std::uint64_t>, std::int32_t, EdgeHash> edges_;
  std::unordered_map<std::uint64_t, PlanPoint> points_;
};

// The area of a ring, positive for one turning counter-clockwise.
double ringArea(const PlanRing& ring);

// The area of a polygon less its holes.
double polygonArea(const PlanPolygon& polygon);

}  // namespace kalvenor
