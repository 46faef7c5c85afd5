#pragma once

#include <vector>

#include "model/borehole_tables.h"
#include "model/boreholes.h"
#include "model/unit_name_match.h"

namespace kalvenor {

// The rows read from the tables, the collars already in the display surface's system; a table
// not given is null and its rows empty. The intervals of the one-table form come with its
// collars from the same table.
struct BoreholeRows {
  const NamedTable* collarTable = nullptr;
  std::vector<CollarRow> collars;
  const NamedTable* surveyTable = nullptr;
  std::vector<SurveyRow> surveys;
  const NamedTable* intervalTable = nullptr;
  std::vector<IntervalRow> intervals;
};

// The holes in the collars' order, each with its intervals by depth, its depth (the collar's
// depth, else its deepest interval or survey station) and its path; the intervals' units
// matched to the model's. ReadError naming the file, the line (or feature) and the field for a
// second collar of one hole, a survey station or interval of a hole without collar, two
// stations of a hole at one depth, a station or interval below the hole's depth and
// overlapping intervals of a hole.
BoreholeSet assembleBoreholes(const BoreholeRows& rows, const UnitNameMatch& units);

}  // namespace kalvenor
