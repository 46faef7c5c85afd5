#include "cli/grid_export.h"

#include <gtest/gtest.h>

#include "../evaluation/grid_fixtures.h"

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

}  // namespace
}  // namespace kalvenor
