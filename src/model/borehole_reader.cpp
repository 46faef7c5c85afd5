#include "model/borehole_reader.h"

#include <cmath>
#include <optional>

#include "model/borehole_assembly.h"
#include "model/coordinate_system.h"
#include "model/message_text.h"
#include "model/read_error.h"
#include "model/vector_table.h"

namespace kalvenor {
namespace {

std::optional<NamedTable> tableOf(const std::string& path) {
  if (path.empty()) return std::nullopt;
  return NamedTable{path, readVectorTable(path)};
}

struct BoreholeTables {
  std::optional<NamedTable> collars;
  std::optional<NamedTable> surveys;
  std::optional<NamedTable> intervals;
  std::optional<NamedTable> oneTable;
  std::optional<NamedTable> unitCodes;
};

// Surveys and intervals hang from the collars; the one table holds its own.
void requireCollars(const BoreholeFiles& files) {
  if (!files.collars.empty() || !files.oneTable.empty()) return;
  const std::string& path = files.intervals.empty() ? files.surveys : files.intervals;
  if (path.empty()) return;
  throw ReadError(path, 0, 0,
                  translated("the holes' collars are not given: their table says where each "
                             "hole starts"));
}

BoreholeTables tablesOf(const BoreholeFiles& files) {
  requireCollars(files);
  if (!files.oneTable.empty()) {
    for (const std::string* other : {&files.collars, &files.surveys, &files.intervals}) {
      if (other->empty()) continue;
      throw ReadError(*other, 0, 0,
                      translated("the table is given together with one table of vertical holes "
                                 "and their intervals' elevations: give one form only"));
    }
  }
  return {tableOf(files.collars), tableOf(files.surveys), tableOf(files.intervals),
          tableOf(files.oneTable), tableOf(files.unitCodes)};
}

// The collars in the display surface's system.
void placeCollars(const NamedTable& table, const BoreholeCoordinates& coordinates,
                  std::vector<CollarRow>& collars) {
  std::vector<PlanePoint> points;
  points.reserve(collars.size());
  for (const CollarRow& collar : collars) points.push_back({collar.x, collar.y});
  points = pointsInDrawingSystem(table.path, table.table.srs, coordinates, std::move(points));
  for (std::size_t n = 0; n < collars.size(); ++n) {
    if (!std::isfinite(points[n].x)) {
      refuseField(table, collars[n].row, translated("x, y"),
                  fill(translated("GDAL cannot carry the point into {1}"),
                       {systemName(drawingSystem(coordinates))}));
    }
    collars[n].x = points[n].x;
    collars[n].y = points[n].y;
  }
}

std::map<std::string, std::string> codesOf(const BoreholeTables& tables) {
  return tables.unitCodes ? readUnitCodes(*tables.unitCodes) : std::map<std::string, std::string>{};
}

}  // namespace

BoreholeSet readBoreholes(const BoreholeFiles& files, const LogicalModel& model,
                          const BoreholeCoordinates& coordinates) {
  const BoreholeTables tables = tablesOf(files);
  const UnitNameMatch units(model, codesOf(tables));
  BoreholeRows rows;
  if (tables.oneTable) {
    OneTableRows read = readOneTableRows(*tables.oneTable);
    rows.collarTable = rows.intervalTable = &*tables.oneTable;
    rows.collars = std::move(read.collars);
    rows.intervals = std::move(read.intervals);
  } else if (tables.collars) {
    rows.collarTable = &*tables.collars;
    rows.collars = readCollarRows(*tables.collars);
  }
  if (tables.surveys) {
    rows.surveyTable = &*tables.surveys;
    rows.surveys = readSurveyRows(*tables.surveys);
  }
  if (tables.intervals) {
    rows.intervalTable = &*tables.intervals;
    rows.intervals = readIntervalRows(*tables.intervals);
  }
  if (rows.collarTable) placeCollars(*rows.collarTable, coordinates, rows.collars);
  return assembleBoreholes(rows, units);
}

}  // namespace kalvenor
