#pragma once

#include <string>
#include <vector>

#include "evaluation/borehole_check.h"
#include "exports/exported_file.h"

namespace kalvenor {

// The check as CSV tables, one row per record and every column of one meaning, so that each
// opens as it is in a spreadsheet or in QGIS (the contacts as points by their x and y). Lengths,
// depths, elevations and residuals in metres; a value that does not exist (no residual, nothing
// compared) is an empty field. Lengths where the model says nothing count as "no model".

// One row per contact: hole, boundary, boundary_name, x, y, logged_depth, logged_z,
// modelled_depth, modelled_z, residual, status ("modelled", "not in the model", "outside the
// model").
std::string boreholeContactsCsv(const BoreholeCheck& check);

// One row per logged interval: hole, from, to, logged_unit, unit (the model's number, 0 for
// none), modelled_units (name=length pairs joined by ";", going down; "(no model)" and
// "(no unit)" where the model says nothing or no unit fits), agreeing_length, no_model_length,
// agreement_percent (of the length that can be compared).
std::string boreholeIntervalsCsv(const BoreholeCheck& check);

// One row per hole: hole, x, y (the collar), then the lengths, the agreement and the contacts.
std::string boreholeHolesCsv(const BoreholeCheck& check);

// A first row over all holes (boundary 0, "all"), then one per boundary: its contacts and the
// mean and largest absolute residual of those modelled.
std::string boreholeSummaryCsv(const BoreholeCheck& check);

// The files the CSV form of the check writes for `path`: the contacts at `path`, and beside it,
// named like it with _intervals, _holes and _summary before the extension, the other tables.
std::vector<std::string> boreholeCheckCsvNames(const std::string& path);
ExportedFiles boreholeCheckCsvFiles(const std::string& path, const BoreholeCheck& check);

}  // namespace kalvenor
