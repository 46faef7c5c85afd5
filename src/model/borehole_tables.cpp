#include "model/borehole_tables.h"

#include <cmath>

#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {

FieldNames holeIdNames() {
  return {translated("the hole's id"), {"hole_id", "bhid", "id", "hole"}};
}

FieldNames stationDepthNames() {
  return {translated("the stations' depth"), {"depth", "md", "at"}};
}

FieldNames intervalFromNames() {
  return {translated("the intervals' from"), {"from", "top", "depth_from"}};
}

FieldNames intervalToNames() {
  return {translated("the intervals' to"), {"to", "base", "bottom", "depth_to"}};
}

FieldNames intervalTopNames() {
  return {translated("the intervals' top elevation"), {"z_from", "z_top"}};
}

FieldNames intervalBottomNames() {
  return {translated("the intervals' bottom elevation"), {"z_to", "z_bottom", "z_base"}};
}

namespace {

// A value every hole's depths are measured in from 0 down.
double depthValue(const NamedTable& table, std::size_t row, const Field& field) {
  const double depth = requiredNumber(table, row, field);
  if (depth < 0) {
    refuseField(table, row, field.name,
                fill(translated("the depth {1} is negative: depths are measured down the hole "
                                "from its collar"),
                     {numberText(depth)}));
  }
  return depth;
}

// x and y from their columns, or from the row's point when the table has neither column.
struct PlaneFields {
  std::optional<Field> x;
  std::optional<Field> y;
};

PlaneFields planeFields(const NamedTable& table) {
  PlaneFields fields{findField(table.table, {"", {"x", "easting", "east"}}),
                     findField(table.table, {"", {"y", "northing", "north"}})};
  const bool points = !table.table.rows.empty() && table.table.rows.front().point;
  if (!fields.x && !fields.y && points) return fields;
  fields.x = requireField(table, {translated("the holes' x (easting)"), {"x", "easting", "east"}});
  fields.y =
      requireField(table, {translated("the holes' y (northing)"), {"y", "northing", "north"}});
  return fields;
}

PlanePoint planePoint(const NamedTable& table, std::size_t row, const PlaneFields& fields) {
  if (fields.x)
    return {requiredNumber(table, row, *fields.x), requiredNumber(table, row, *fields.y)};
  const std::optional<TablePoint>& point = table.table.rows[row].point;
  if (!point) {
    refuseField(table, row, translated("geometry"), translated("the row has no point"));
  }
  return {point->x, point->y};
}

FieldNames elevationNames() {
  return {translated("the collars' elevation"), {"z", "elevation", "elev", "rl"}};
}

// The collar's elevation from its column, or from the height of the row's point when the table
// has no such column and its points have heights.
double collarElevation(const NamedTable& table, std::size_t row, const std::optional<Field>& z) {
  if (z) return requiredNumber(table, row, *z);
  const std::optional<TablePoint>& point = table.table.rows[row].point;
  if (!point || !point->z) {
    refuseField(table, row, translated("geometry"), translated("the row's point has no height"));
  }
  return *point->z;
}

std::optional<Field> elevationField(const NamedTable& table) {
  std::optional<Field> z = findField(table.table, elevationNames());
  const std::vector<TableRow>& rows = table.table.rows;
  if (!z && !(!rows.empty() && rows.front().point && rows.front().point->z)) {
    z = requireField(table, elevationNames());
  }
  return z;
}

}  // namespace

std::vector<CollarRow> readCollarRows(const NamedTable& table) {
  const Field id = requireField(table, holeIdNames());
  const PlaneFields plane = planeFields(table);
  const std::optional<Field> z = elevationField(table);
  const std::optional<Field> depth =
      findField(table.table, {"", {"depth", "length", "total_depth", "max_depth"}});
  std::vector<CollarRow> collars;
  collars.reserve(table.table.rows.size());
  for (std::size_t row = 0; row < table.table.rows.size(); ++row) {
    CollarRow collar;
    collar.id = requiredText(table, row, id);
    const PlanePoint point = planePoint(table, row, plane);
    collar.x = point.x;
    collar.y = point.y;
    collar.z = collarElevation(table, row, z);
    if (depth) collar.depth = optionalNumber(table, row, *depth);
    if (collar.depth && !(*collar.depth > 0)) {
      refuseField(table, row, depth->name,
                  fill(translated("the hole's depth {1} is not greater than 0"),
                       {numberText(*collar.depth)}));
    }
    collar.row = row;
    collars.push_back(collar);
  }
  return collars;
}

namespace {

// The dip from its column, or from an inclination measured from straight down.
double dipValue(const NamedTable& table, std::size_t row, const Field& field, bool inclination) {
  const double value = requiredNumber(table, row, field);
  const double dip = inclination ? value - 90 : value;
  if (dip < -90 || dip > 90) {
    const char* pattern = inclination
                              ? translated(
                                    "the inclination {1} gives a dip of {2}, outside -90 to 90 "
                                    "(dip = inclination - 90)")
                              : translated("the dip {1} lies outside -90 (straight down) to 90");
    refuseField(table, row, field.name, fill(pattern, {numberText(value), numberText(dip)}));
  }
  return dip;
}

}  // namespace

std::vector<SurveyRow> readSurveyRows(const NamedTable& table) {
  const Field id = requireField(table, holeIdNames());
  const Field depth = requireField(table, stationDepthNames());
  const Field azimuth =
      requireField(table, {translated("the stations' azimuth"), {"azimuth", "azi", "az"}});
  const std::optional<Field> dip = findField(table.table, {"", {"dip"}});
  const Field angle = dip ? *dip
                          : requireField(table, {translated("the stations' dip"),
                                                 {"dip", "inclination", "incl", "inc"}});
  std::vector<SurveyRow> stations;
  stations.reserve(table.table.rows.size());
  for (std::size_t row = 0; row < table.table.rows.size(); ++row) {
    SurveyRow station;
    station.id = requiredText(table, row, id);
    station.station.depth = depthValue(table, row, depth);
    station.station.azimuth = requiredNumber(table, row, azimuth);
    station.station.dip = dipValue(table, row, angle, !dip);
    station.row = row;
    stations.push_back(station);
  }
  return stations;
}

namespace {

struct IntervalFields {
  Field from;
  Field to;
  Field unit;
};

FieldNames unitNames() {
  return {translated("the logged unit"), {"unit", "lith", "lithology", "code", "formation"}};
}

LoggedInterval interval(const NamedTable& table, std::size_t row, const IntervalFields& fields) {
  LoggedInterval read;
  read.from = depthValue(table, row, fields.from);
  read.to = requiredNumber(table, row, fields.to);
  if (!(read.to > read.from)) {
    refuseField(table, row, fields.to.name,
                fill(translated("the interval's to ({1}) is not below its from ({2})"),
                     {numberText(read.to), numberText(read.from)}));
  }
  read.logged = requiredText(table, row, fields.unit);
  return read;
}

}  // namespace

std::vector<IntervalRow> readIntervalRows(const NamedTable& table) {
  const Field id = requireField(table, holeIdNames());
  const IntervalFields fields{requireField(table, intervalFromNames()),
                              requireField(table, intervalToNames()),
                              requireField(table, unitNames())};
  std::vector<IntervalRow> intervals;
  intervals.reserve(table.table.rows.size());
  for (std::size_t row = 0; row < table.table.rows.size(); ++row) {
    intervals.push_back({requiredText(table, row, id), interval(table, row, fields), row});
  }
  return intervals;
}

}  // namespace kalvenor

namespace kalvenor {
namespace {

struct OneTableFields {
  Field id;
  PlaneFields plane;
  Field top;
  Field bottom;
  Field unit;
};

OneTableFields oneTableFields(const NamedTable& table) {
  return {requireField(table, holeIdNames()), planeFields(table),
          requireField(table, intervalTopNames()), requireField(table, intervalBottomNames()),
          requireField(table, unitNames())};
}

// An interval as elevations, with where its row lies.
struct ElevationRow {
  std::string id;
  PlanePoint at;
  double top = 0.0;
  double bottom = 0.0;
  std::string logged;
  std::size_t row = 0;
};

ElevationRow elevationRow(const NamedTable& table, std::size_t row, const OneTableFields& fields) {
  ElevationRow read{
      requiredText(table, row, fields.id),    planePoint(table, row, fields.plane),
      requiredNumber(table, row, fields.top), requiredNumber(table, row, fields.bottom),
      requiredText(table, row, fields.unit),  row};
  if (!(read.bottom < read.top)) {
    refuseField(table, row, fields.bottom.name,
                fill(translated("the interval's bottom elevation ({1}) is not below its top "
                                "({2})"),
                     {numberText(read.bottom), numberText(read.top)}));
  }
  return read;
}

// Rows of one hole closer than this in plane lie on the same vertical hole: a spreadsheet may
// round the coordinates it repeats.
constexpr double kSamePlace = 0.001;

CollarRow collarOf(const NamedTable& table, const std::vector<const ElevationRow*>& rows,
                   const OneTableFields& fields) {
  const ElevationRow* highest = rows.front();
  for (const ElevationRow* row : rows) {
    if (row->top > highest->top) highest = row;
  }
  for (const ElevationRow* row : rows) {
    if (std::abs(row->at.x - highest->at.x) > kSamePlace ||
        std::abs(row->at.y - highest->at.y) > kSamePlace) {
      refuseField(table, row->row, fields.plane.x ? fields.plane.x->name : translated("geometry"),
                  fill(translated("hole {1} lies at {2}, {3} where its top interval is "
                                  "given but at {4}, {5} here; one table holds vertical holes "
                                  "only"),
                       {quotedFound(row->id), numberText(highest->at.x), numberText(highest->at.y),
                        numberText(row->at.x), numberText(row->at.y)}));
    }
  }
  CollarRow collar;
  collar.id = highest->id;
  collar.x = highest->at.x;
  collar.y = highest->at.y;
  collar.z = highest->top;
  collar.row = highest->row;
  return collar;
}

}  // namespace

OneTableRows readOneTableRows(const NamedTable& table) {
  const OneTableFields fields = oneTableFields(table);
  std::vector<ElevationRow> rows;
  rows.reserve(table.table.rows.size());
  std::map<std::string, std::vector<const ElevationRow*>> holes;
  std::vector<std::string> order;
  for (std::size_t row = 0; row < table.table.rows.size(); ++row) {
    rows.push_back(elevationRow(table, row, fields));
  }
  for (const ElevationRow& row : rows) {
    auto& hole = holes[row.id];
    if (hole.empty()) order.push_back(row.id);
    hole.push_back(&row);
  }
  OneTableRows read;
  std::map<std::string, double> collarZ;
  for (const std::string& id : order) {
    read.collars.push_back(collarOf(table, holes[id], fields));
    collarZ[id] = read.collars.back().z;
  }
  for (const ElevationRow& row : rows) {
    const double z = collarZ[row.id];
    read.intervals.push_back({row.id, {z - row.top, z - row.bottom, row.logged, 0}, row.row});
  }
  return read;
}

std::map<std::string, std::string> readUnitCodes(const NamedTable& table) {
  const Field code = requireField(table, {translated("the codes"), {"code", "lith_code"}});
  const Field unit = requireField(
      table, {translated("the units the codes stand for"), {"unit", "unit_name", "name"}});
  std::map<std::string, std::string> codes;
  for (std::size_t row = 0; row < table.table.rows.size(); ++row) {
    const std::string given = requiredText(table, row, code);
    const std::string name = requiredText(table, row, unit);
    const auto [known, added] = codes.emplace(given, name);
    if (!added && known->second != name) {
      refuseField(table, row, unit.name,
                  fill(translated("the code {1} stands for {2} on an earlier row"),
                       {quotedFound(given), quotedFound(known->second)}));
    }
  }
  return codes;
}

}  // namespace kalvenor
