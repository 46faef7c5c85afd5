#include "exports/borehole_check_csv.h"

#include <cmath>
#include <filesystem>
#include <initializer_list>

#include "exports/borehole_check_status.h"
#include "exports/csv_field.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

std::string number(double value) { return std::isnan(value) ? "" : numberText(value); }

std::string row(std::initializer_list<std::string> fields) {
  std::string text;
  for (const std::string& f : fields) text += (text.empty() ? "" : ",") + f;
  return text + "\n";
}

std::string unitLabel(const BoreholeCheck& check, int unit) {
  if (unit == kNoModel) return "(no model)";
  if (unit < 1 || unit >= static_cast<int>(check.unitName.size())) return "(no unit)";
  return check.unitName[unit];
}

std::string modelledUnits(const BoreholeCheck& check, const IntervalCheck& i) {
  std::string text;
  for (const UnitLength& u : i.modelled) {
    text += (text.empty() ? "" : ";") + unitLabel(check, u.unit) + "=" + numberText(u.length);
  }
  return text;
}

std::string boundaryLabel(const BoreholeCheck& check, int k) {
  return k < static_cast<int>(check.boundaryName.size()) ? check.boundaryName[k] : "";
}

std::string holeId(const BoreholeCheck& check, int hole) { return csvField(check.holes[hole].id); }

std::string lengthsAndContacts(const AgreementSummary& s) {
  return number(s.logged) + "," + number(s.compared) + "," + number(s.agreeing) + "," +
         number(s.agreementPercent()) + "," + number(s.noModel) + "," + number(s.unknownUnit) +
         "," + numberText(s.contacts) + "," + numberText(s.modelled) + "," +
         numberText(s.notInModel) + "," + numberText(s.outsideModel) + "," +
         number(s.largestResidual);
}

// The mean absolute residual of every modelled contact, whatever its boundary.
double meanAbsolute(const BoreholeCheck& check) {
  double sum = 0.0;
  int count = 0;
  for (const ContactCheck& c : check.contacts) {
    if (c.status != ContactStatus::Modelled) continue;
    sum += std::abs(c.residual);
    ++count;
  }
  return count > 0 ? sum / count : kNoValue;
}

std::string withSuffix(const std::string& path, const std::string& suffix) {
  const std::filesystem::path p(path);
  std::filesystem::path named = p.parent_path() / (p.stem().string() + suffix);
  named += p.has_extension() ? p.extension().string() : std::string(".csv");
  return named.string();
}

}  // namespace

std::string boreholeContactsCsv(const BoreholeCheck& check) {
  std::string text = row({"hole", "boundary", "boundary_name", "x", "y", "logged_depth", "logged_z",
                          "modelled_depth", "modelled_z", "residual", "status"});
  for (const ContactCheck& c : check.contacts) {
    text += row({holeId(check, c.hole), numberText(c.boundary),
                 csvField(boundaryLabel(check, c.boundary)), number(c.x), number(c.y),
                 number(c.depth), number(c.z), number(c.modelledDepth), number(c.modelledZ),
                 number(c.residual), contactStatusName(c.status)});
  }
  return text;
}

std::string boreholeIntervalsCsv(const BoreholeCheck& check) {
  std::string text = row({"hole", "from", "to", "logged_unit", "unit", "modelled_units",
                          "agreeing_length", "no_model_length", "agreement_percent"});
  for (const IntervalCheck& i : check.intervals) {
    text += row({holeId(check, i.hole), number(i.from), number(i.to), csvField(i.logged),
                 numberText(i.unit), csvField(modelledUnits(check, i)), number(i.agreeing),
                 number(i.noModel), number(100 * i.agreement())});
  }
  return text;
}

std::string boreholeHolesCsv(const BoreholeCheck& check) {
  std::string text = row({"hole", "x", "y", "logged_length", "compared_length", "agreeing_length",
                          "agreement_percent", "no_model_length", "unknown_unit_length", "contacts",
                          "modelled", "not_in_model", "outside_model", "largest_abs_residual"});
  for (const HoleSummary& h : check.holes) {
    text += row({csvField(h.id), number(h.x), number(h.y), lengthsAndContacts(h.summary)});
  }
  return text;
}

std::string boreholeSummaryCsv(const BoreholeCheck& check) {
  std::string text =
      row({"boundary", "boundary_name", "logged_length", "compared_length", "agreeing_length",
           "agreement_percent", "no_model_length", "unknown_unit_length", "contacts", "modelled",
           "not_in_model", "outside_model", "largest_abs_residual", "mean_abs_residual"});
  text += row({"0", "all", lengthsAndContacts(check.all), number(meanAbsolute(check))});
  for (std::size_t k = 1; k < check.boundaries.size(); ++k) {
    const BoundaryResiduals& b = check.boundaries[k];
    text += row({numberText(static_cast<double>(k)),
                 csvField(boundaryLabel(check, static_cast<int>(k))), "", "", "", "", "", "",
                 numberText(b.contacts), numberText(b.modelled), numberText(b.notInModel),
                 numberText(b.outsideModel), number(b.largestAbsolute), number(b.meanAbsolute)});
  }
  return text;
}

std::vector<std::string> boreholeCheckCsvNames(const std::string& path) {
  return {path, withSuffix(path, "_intervals"), withSuffix(path, "_holes"),
          withSuffix(path, "_summary")};
}

ExportedFiles boreholeCheckCsvFiles(const std::string& path, const BoreholeCheck& check) {
  const std::vector<std::string> names = boreholeCheckCsvNames(path);
  return {{names[0], boreholeContactsCsv(check)},
          {names[1], boreholeIntervalsCsv(check)},
          {names[2], boreholeHolesCsv(check)},
          {names[3], boreholeSummaryCsv(check)}};
}

}  // namespace kalvenor
