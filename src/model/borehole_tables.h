#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/borehole_fields.h"
#include "model/boreholes.h"

namespace kalvenor {

// The names the fields of the tables go by.
FieldNames holeIdNames();
FieldNames stationDepthNames();
FieldNames intervalFromNames();
FieldNames intervalToNames();
FieldNames intervalTopNames();     // of the one-table form
FieldNames intervalBottomNames();  // of the one-table form

// A row of each table as read, with its row in the table for messages about it.
struct CollarRow {
  std::string id;
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  std::optional<double> depth;
  std::size_t row = 0;
};

struct SurveyRow {
  std::string id;
  SurveyStation station;
  std::size_t row = 0;
};

struct IntervalRow {
  std::string id;
  LoggedInterval interval;
  std::size_t row = 0;
};

// The collars: hole id, x, y (or the point of the row's geometry), z (or the height of that
// point) and optionally depth.
// ReadError for a missing column, a missing or non-numeric value and a depth not above 0.
std::vector<CollarRow> readCollarRows(const NamedTable& table);

// The survey stations: hole id, depth, azimuth, and dip or inclination (dip = inclination -
// 90). ReadError also for a negative depth and a dip outside -90..90.
std::vector<SurveyRow> readSurveyRows(const NamedTable& table);

// The logged intervals: hole id, from, to, unit. ReadError also for a negative from and a to
// that is not below the from.
std::vector<IntervalRow> readIntervalRows(const NamedTable& table);

// One table with the elevations of every interval: hole id, x, y, z_from (or z_top), z_to (or
// z_bottom), unit. Each hole is vertical from the top of its highest interval; its rows must
// agree on x and y.
struct OneTableRows {
  std::vector<CollarRow> collars;
  std::vector<IntervalRow> intervals;
};
OneTableRows readOneTableRows(const NamedTable& table);

// The code table: code -> unit name. ReadError for a code given two different units.
std::map<std::string, std::string> readUnitCodes(const NamedTable& table);

}  // namespace kalvenor
