#include "exports/grid_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>

#include "../evaluation/grid_fixtures.h"
#include "exports/export_error.h"

namespace kalvenor {
namespace {

Array2D<std::int16_t> numbered(int nx, int ny) {
  Array2D<std::int16_t> units(1, nx, 1, ny);
  for (int i = 1; i <= nx; ++i) {
    for (int j = 1; j <= ny; ++j) units(i, j) = static_cast<std::int16_t>(10 * i + j);
  }
  return units;
}

TEST(EsriUnitsGrid, RowsRunFromNorthToSouthWithTheLowerLeftCentre) {
  const DisplaySurface d =
      exactDisplaySurface(makeGrid(3, 2, 100, 200, 5, 7.5, [](double, double) { return 0; }));
  EXPECT_EQ(esriUnitsGrid(d, numbered(3, 2)),
            "ncols 3\nnrows 2\nxllcenter 100\nyllcenter 200\ndx 5\ndy 7.5\nNODATA_value 0\n"
            "12 22 32\n11 21 31\n");
}

TEST(EsriUnitsGrid, NegativeSpacingsStillGiveNorthUpAndWestLeft) {
  const DisplaySurface d =
      exactDisplaySurface(makeGrid(2, 2, 10, 20, -5, -5, [](double, double) { return 0; }));
  EXPECT_EQ(esriUnitsGrid(d, numbered(2, 2)),
            "ncols 2\nnrows 2\nxllcenter 5\nyllcenter 15\ncellsize 5\nNODATA_value 0\n"
            "21 11\n22 12\n");
}

TEST(UnitsLegend, NamesWithCommasOrQuotesAreQuoted) {
  LogicalModel model = allocateModel(1);
  model.unitName[1] = "sand, coarse";
  model.unitName[2] = "the \"cap\"";
  EXPECT_EQ(unitsLegendCsv(model, {kBlack, packRgb(255, 128, 0), packRgb(1, 2, 3)}),
            "unit,name,color\n1,\"sand, coarse\",#ff8000\n2,\"the \"\"cap\"\"\",#010203\n");
}

TEST(QgisColourMap, EveryUnitHasItsValueColourAndLabelAndNodataHasNone) {
  LogicalModel model = allocateModel(2);
  model.unitName[1] = "sand, coarse";
  model.unitName[3] = "泥岩";
  const std::string text =
      qgisColourMap(model, {kBlack, packRgb(255, 128, 0), packRgb(1, 2, 3), packRgb(0, 0, 255)});
  EXPECT_EQ(text,
            "# QGIS Generated Color Map Export File\nINTERPOLATION:EXACT\n"
            "1,255,128,0,255,sand, coarse\n2,1,2,3,255,unit 2\n3,0,0,255,255,泥岩\n");
}

// Read the way the paletted renderer reads a colour file: lines split at blanks, commas and
// colons, and a line counts when its first part is a whole number.
TEST(QgisColourMap, ThePalettedRendererFindsOneClassPerUnit) {
  LogicalModel model = allocateModel(1);
  model.unitName[1] = "low";
  model.unitName[2] = "high ground";
  std::istringstream lines(
      qgisColourMap(model, {kBlack, packRgb(10, 20, 30), packRgb(40, 50, 60)}));
  std::vector<std::vector<std::string>> classes;
  for (std::string line; std::getline(lines, line);) {
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == ',' || c == ':'; }, ' ');
    std::istringstream parts(line);
    std::vector<std::string> fields{std::istream_iterator<std::string>(parts), {}};
    if (!fields.empty() && fields[0].find_first_not_of("0123456789") == std::string::npos) {
      classes.push_back(fields);
    }
  }
  EXPECT_EQ(classes, (std::vector<std::vector<std::string>>{
                         {"1", "10", "20", "30", "255", "low"},
                         {"2", "40", "50", "60", "255", "high", "ground"}}));
}

TEST(QgisColourMap, LiesBesideTheCsvUnderTheSameNameEndingInTxt) {
  EXPECT_EQ(qgisColourMapPath("out/units.csv"), "out/units.txt");
  EXPECT_EQ(qgisColourMapPath("legend"), "legend.txt");
  EXPECT_THROW(qgisColourMapPath("out/legend.TXT"), ExportError);
}

TEST(SectionUnitsCsv, TheDistanceAlongTheSectionFollowsTheOldColumns) {
  VerticalGrid s{{3, 2, 10, 20, -5, 3, 4, 2.5, {}, {}}, LevelUnits(3, 2, 1)};
  s.unit.set(3, 2, kAir);
  EXPECT_EQ(sectionUnitsCsv(s),
            "h,v,x,y,z,unit,distance\n1,1,10,20,-5,1,0\n1,2,10,20,-2.5,1,0\n"
            "2,1,13,24,-5,1,5\n2,2,13,24,-2.5,1,5\n3,1,16,28,-5,1,10\n3,2,16,28,-2.5,-1,10\n");
}

}  // namespace
}  // namespace kalvenor
