#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kalvenor {

// The tables the boreholes are read from: collars with surveys and intervals, or one table with
// coordinates on every interval; "" for a table not given.
struct BoreholeFiles {
  std::string collars{};
  std::string surveys{};  // optional: a hole without a survey is vertical
  std::string intervals{};
  std::string oneTable{};   // hole_id, x, y, z_from, z_to, unit
  std::string unitCodes{};  // optional: code,unit
  bool any() const {
    return !collars.empty() || !surveys.empty() || !intervals.empty() || !oneTable.empty() ||
           !unitCodes.empty();
  }
  friend bool operator==(const BoreholeFiles&, const BoreholeFiles&) = default;
};

// A survey station: the direction of the hole at a depth along it. Azimuth in degrees clockwise
// from grid north; dip in degrees from the horizontal, -90 straight down.
struct SurveyStation {
  double depth = 0.0;
  double azimuth = 0.0;
  double dip = -90.0;
};

// A point of the hole's path in the display surface's coordinate system, at its depth along
// the hole.
struct HoleStation {
  double depth = 0.0;
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// A logged interval, depths along the hole.
struct LoggedInterval {
  double from = 0.0;
  double to = 0.0;
  std::string logged;     // the unit as the log names it
  std::int16_t unit = 0;  // the model's unit it names, 0 when the model has none of that name
};

struct Borehole {
  std::string id;
  double x = 0.0;  // collar
  double y = 0.0;
  double z = 0.0;
  double depth = 0.0;                     // length along the hole
  std::vector<HoleStation> path;          // from the collar (depth 0) to `depth`, depth increasing
  std::vector<LoggedInterval> intervals;  // by depth, not overlapping
};

// Every hole read, and how many of their intervals name a unit the model does not have.
struct BoreholeSet {
  std::vector<Borehole> holes;
  int unmatchedIntervals = 0;
  std::vector<std::string> unmatchedNames;  // each name once, in the order first met
};

}  // namespace kalvenor
