#include "exports/borehole_check_csv.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "borehole_check_sample.h"
#include "exports/borehole_check_files.h"

namespace kalvenor {
namespace {

using Row = std::vector<std::string>;

// The rows of a CSV text, quoted fields unquoted.
std::vector<Row> rowsOf(const std::string& text) {
  std::vector<Row> rows(1);
  std::string field;
  bool quoted = false;
  for (std::size_t n = 0; n < text.size(); ++n) {
    const char c = text[n];
    if (quoted) {
      if (c == '"' && n + 1 < text.size() && text[n + 1] == '"') {
        field += '"';
        ++n;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',' || c == '\n') {
      rows.back().push_back(field);
      field.clear();
      if (c == '\n') rows.emplace_back();
    } else {
      field += c;
    }
  }
  rows.pop_back();  // after the last line's end
  return rows;
}

struct TableCase {
  const char* what;
  std::string (*table)(const BoreholeCheck&);
  Row header;
  std::vector<Row> rows;
};

TEST(BoreholeCheckCsv, EachTableHasItsColumnsAndOneRowPerRecord) {
  const TableCase cases[] = {
      {"contacts",
       boreholeContactsCsv,
       {"hole", "boundary", "boundary_name", "x", "y", "logged_depth", "logged_z", "modelled_depth",
        "modelled_z", "residual", "status"},
       {{"BH-1", "1", "砂岩基底", "1000.5", "2000", "40", "60", "38", "62.25", "-2.25", "modelled"},
        {"BH-1", "2", "泥岩基底", "1001", "2000", "80", "20", "", "", "", "not in the model"},
        {"west, 2", "1", "砂岩基底", "5000", "100", "12.5", "87.5", "", "", "",
         "outside the model"}}},
      {"intervals",
       boreholeIntervalsCsv,
       {"hole", "from", "to", "logged_unit", "unit", "modelled_units", "agreeing_length",
        "no_model_length", "agreement_percent"},
       {{"BH-1", "0", "40", "mudstone", "3", "泥岩=30;砂岩=10", "30", "0", "75"},
        {"west, 2", "0", "12.5", "fill", "0", "(no model)=12.5", "0", "12.5", ""}}},
      {"holes",
       boreholeHolesCsv,
       {"hole", "x", "y", "logged_length", "compared_length", "agreeing_length",
        "agreement_percent", "no_model_length", "unknown_unit_length", "contacts", "modelled",
        "not_in_model", "outside_model", "largest_abs_residual"},
       {{"BH-1", "1000", "2000", "40", "40", "30", "75", "0", "0", "2", "1", "1", "0", "2.25"},
        {"west, 2", "5000", "100", "12.5", "0", "0", "", "12.5", "0", "1", "0", "0", "1", ""}}},
      {"summary",
       boreholeSummaryCsv,
       {"boundary", "boundary_name", "logged_length", "compared_length", "agreeing_length",
        "agreement_percent", "no_model_length", "unknown_unit_length", "contacts", "modelled",
        "not_in_model", "outside_model", "largest_abs_residual", "mean_abs_residual"},
       {{"0", "all", "52.5", "40", "30", "75", "12.5", "0", "3", "1", "1", "1", "2.25", "2.25"},
        {"1", "砂岩基底", "", "", "", "", "", "", "2", "1", "0", "1", "2.25", "2.25"},
        {"2", "泥岩基底", "", "", "", "", "", "", "1", "0", "1", "0", "", ""}}},
  };
  for (const TableCase& c : cases) {
    const std::vector<Row> rows = rowsOf(c.table(sampleCheck()));
    ASSERT_EQ(rows.size(), c.rows.size() + 1) << c.what;
    EXPECT_EQ(rows[0], c.header) << c.what;
    for (std::size_t n = 0; n < c.rows.size(); ++n) EXPECT_EQ(rows[n + 1], c.rows[n]) << c.what;
  }
}

TEST(BoreholeCheckCsv, FieldsWithCommasOrQuotesAreQuoted) {
  BoreholeCheck check = sampleCheck();
  check.holes[0].id = "say \"A\"";
  const std::string text = boreholeContactsCsv(check);
  EXPECT_NE(text.find("\n\"say \"\"A\"\"\",1,"), std::string::npos) << text;
  EXPECT_NE(text.find("\n\"west, 2\",1,"), std::string::npos) << text;
}

struct NamesCase {
  const char* path;
  std::vector<std::string> names;
};

TEST(BoreholeCheckFiles, TheNameChoosesTheTablesOrTheGeoPackage) {
  const NamesCase cases[] = {
      {"out/check.csv",
       {"out/check.csv", "out/check_intervals.csv", "out/check_holes.csv",
        "out/check_summary.csv"}},
      {"check.txt", {"check.txt", "check_intervals.txt", "check_holes.txt", "check_summary.txt"}},
      {"check", {"check", "check_intervals.csv", "check_holes.csv", "check_summary.csv"}},
      {"out/residuals.GPKG", {"out/residuals.GPKG"}},
  };
  for (const NamesCase& c : cases) EXPECT_EQ(boreholeCheckFileNames(c.path), c.names) << c.path;
  const ExportedFiles files = boreholeCheckFiles("out/check.csv", sampleCheck(), "");
  ASSERT_EQ(files.size(), 4U);
  EXPECT_EQ(files[0].bytes, boreholeContactsCsv(sampleCheck()));
  EXPECT_EQ(files[3].path, "out/check_summary.csv");
  EXPECT_EQ(files[3].bytes, boreholeSummaryCsv(sampleCheck()));
}

}  // namespace
}  // namespace kalvenor
