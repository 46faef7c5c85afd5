#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/packed_color.h"

namespace kalvenor {

// A point of the map: metres east and north in the display surface's system.
using PlanPoint = std::array<double, 2>;

// A closed ring of points, the first not repeated at the end.
using PlanRing = std::vector<PlanPoint>;

// One polygon: its outer ring counter-clockwise, its holes clockwise.
struct PlanPolygon {
  PlanRing outer;
  std::vector<PlanRing> holes;
};

// A unit where it meets the ground, as one multipolygon.
struct MapUnitArea {
  std::int32_t unit = 0;
  std::string name;
  PackedColor color{};
  std::vector<PlanPolygon> polygons;
  double area = 0.0;  // square metres, holes taken out
};

// One contact line of the map: where boundary `boundary` meets the ground between two units.
struct MapContactLine {
  std::int32_t boundary = 0;
  std::string name;
  PackedColor color{};
  std::vector<PlanPoint> points;  // a closed line repeats its first point at the end
  double length = 0.0;            // metres in plan
};

// The geological map as vectors: the units at the ground in the order of the units, and the
// contacts between them, boundary by boundary.
struct GeologyMap {
  std::vector<MapUnitArea> units;
  std::vector<MapContactLine> contacts;
  std::string srs;  // the display surface's system (WKT), "" when it names none
};

}  // namespace kalvenor
