#include "model/borehole_assembly.h"

#include <algorithm>
#include <set>
#include <unordered_map>

#include "model/borehole_path.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

// Where an earlier row of the table lies, for a message about a later one.
std::string placeOf(const NamedTable& table, std::size_t row) {
  const TableRow& place = table.table.rows[row];
  if (place.line > 0) return fill(translated("line {1}"), {std::to_string(place.line)});
  return fill(translated("feature {1}"), {std::to_string(place.feature)});
}

// The name in the table of the first of the fields it has.
std::string fieldName(const NamedTable& table, std::initializer_list<FieldNames> fields) {
  for (const FieldNames& names : fields) {
    if (const auto field = findField(table.table, names)) return field->name;
  }
  return "";
}

std::string idField(const NamedTable& table) { return fieldName(table, {holeIdNames()}); }

// A hole as it is put together, with the rows it came from.
struct HoleRows {
  Borehole hole;
  std::size_t collarRow = 0;
  std::optional<double> collarDepth;
  std::vector<const SurveyRow*> stations;
  std::vector<const IntervalRow*> intervals;
};

using HoleIndex = std::unordered_map<std::string, std::size_t>;

std::vector<HoleRows> collarHoles(const BoreholeRows& rows, HoleIndex& index) {
  std::vector<HoleRows> holes;
  holes.reserve(rows.collars.size());
  for (const CollarRow& collar : rows.collars) {
    const auto [known, added] = index.emplace(collar.id, holes.size());
    if (!added) {
      const NamedTable& table = *rows.collarTable;
      refuseField(table, collar.row, idField(table),
                  fill(translated("hole {1} has a collar already, on {2}"),
                       {quotedFound(collar.id), placeOf(table, holes[known->second].collarRow)}));
    }
    HoleRows hole;
    hole.hole.id = collar.id;
    hole.hole.x = collar.x;
    hole.hole.y = collar.y;
    hole.hole.z = collar.z;
    hole.collarRow = collar.row;
    hole.collarDepth = collar.depth;
    holes.push_back(std::move(hole));
  }
  return holes;
}

template <typename Row>
HoleRows& holeOf(const NamedTable& table, const Row& row, std::vector<HoleRows>& holes,
                 const HoleIndex& index) {
  const auto found = index.find(row.id);
  if (found == index.end()) {
    refuseField(table, row.row, idField(table),
                fill(translated("hole {1} has no collar"), {quotedFound(row.id)}));
  }
  return holes[found->second];
}

void sortStations(const NamedTable& table, HoleRows& hole) {
  std::stable_sort(
      hole.stations.begin(), hole.stations.end(),
      [](const SurveyRow* a, const SurveyRow* b) { return a->station.depth < b->station.depth; });
  for (std::size_t n = 1; n < hole.stations.size(); ++n) {
    if (hole.stations[n]->station.depth == hole.stations[n - 1]->station.depth) {
      const SurveyRow& row = *hole.stations[n];
      refuseField(table, row.row, fieldName(table, {stationDepthNames()}),
                  fill(translated("hole {1} has a survey station at depth {2} already, on {3}"),
                       {quotedFound(row.id), numberText(row.station.depth),
                        placeOf(table, hole.stations[n - 1]->row)}));
    }
  }
}

void sortIntervals(const NamedTable& table, HoleRows& hole) {
  std::stable_sort(hole.intervals.begin(), hole.intervals.end(),
                   [](const IntervalRow* a, const IntervalRow* b) {
                     return a->interval.from < b->interval.from;
                   });
  for (std::size_t n = 1; n < hole.intervals.size(); ++n) {
    const IntervalRow& row = *hole.intervals[n];
    const IntervalRow& above = *hole.intervals[n - 1];
    if (row.interval.from < above.interval.to) {
      refuseField(table, row.row, fieldName(table, {intervalFromNames(), intervalTopNames()}),
                  fill(translated("the interval from {1} to {2} of hole {3} overlaps the one from "
                                  "{4} to {5} on {6}"),
                       {numberText(row.interval.from), numberText(row.interval.to),
                        quotedFound(row.id), numberText(above.interval.from),
                        numberText(above.interval.to), placeOf(table, above.row)}));
    }
  }
}

// The collar's depth, else the deepest interval or station.
double depthOf(const HoleRows& hole) {
  if (hole.collarDepth) return *hole.collarDepth;
  double depth = 0.0;
  if (!hole.stations.empty()) depth = hole.stations.back()->station.depth;
  if (!hole.intervals.empty()) depth = std::max(depth, hole.intervals.back()->interval.to);
  return depth;
}

[[noreturn]] void refuseBelow(const NamedTable& table, std::size_t row, const std::string& field,
                              const HoleRows& hole, double depth) {
  refuseField(table, row, field,
              fill(translated("the depth {1} lies below the end of hole {2}, whose depth is {3}"),
                   {numberText(depth), quotedFound(hole.hole.id), numberText(hole.hole.depth)}));
}

void requireWithinHole(const BoreholeRows& rows, const HoleRows& hole) {
  if (!hole.stations.empty() && hole.stations.back()->station.depth > hole.hole.depth) {
    const NamedTable& table = *rows.surveyTable;
    refuseBelow(table, hole.stations.back()->row, fieldName(table, {stationDepthNames()}), hole,
                hole.stations.back()->station.depth);
  }
  for (const IntervalRow* interval : hole.intervals) {
    if (interval->interval.to <= hole.hole.depth) continue;
    const NamedTable& table = *rows.intervalTable;
    refuseBelow(table, interval->row, fieldName(table, {intervalToNames(), intervalBottomNames()}),
                hole, interval->interval.to);
  }
}

void addUnits(const UnitNameMatch& units, Borehole& hole, BoreholeSet& set,
              std::set<std::string>& unmatched) {
  for (LoggedInterval& interval : hole.intervals) {
    interval.unit = units.unitOf(interval.logged);
    if (interval.unit != 0) continue;
    ++set.unmatchedIntervals;
    if (unmatched.insert(interval.logged).second) set.unmatchedNames.push_back(interval.logged);
  }
}

Borehole finished(const BoreholeRows& rows, HoleRows& hole) {
  if (rows.surveyTable) sortStations(*rows.surveyTable, hole);
  if (rows.intervalTable) sortIntervals(*rows.intervalTable, hole);
  hole.hole.depth = depthOf(hole);
  requireWithinHole(rows, hole);
  std::vector<SurveyStation> survey;
  for (const SurveyRow* row : hole.stations) survey.push_back(row->station);
  for (const IntervalRow* row : hole.intervals) hole.hole.intervals.push_back(row->interval);
  hole.hole.path = holePath(hole.hole, survey);
  return std::move(hole.hole);
}

}  // namespace

BoreholeSet assembleBoreholes(const BoreholeRows& rows, const UnitNameMatch& units) {
  HoleIndex index;
  std::vector<HoleRows> holes = collarHoles(rows, index);
  for (const SurveyRow& row : rows.surveys) {
    holeOf(*rows.surveyTable, row, holes, index).stations.push_back(&row);
  }
  for (const IntervalRow& row : rows.intervals) {
    holeOf(*rows.intervalTable, row, holes, index).intervals.push_back(&row);
  }
  BoreholeSet set;
  set.holes.reserve(holes.size());
  std::set<std::string> unmatched;
  for (HoleRows& hole : holes) {
    set.holes.push_back(finished(rows, hole));
    addUnits(units, set.holes.back(), set, unmatched);
  }
  return set;
}

}  // namespace kalvenor
