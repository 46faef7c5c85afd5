#include "evaluation/section_series.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "evaluation/plan_units.h"
#include "grid_fixtures.h"
#include "model/boundary_grids.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

SectionLine polyline(std::vector<SurveyVertex> vertices) {
  SectionLine line;
  line.vertices = std::move(vertices);
  return line;
}

// The distance of p from the infinite line through a and b, positive to its right looking from a
// towards b.
double rightOf(const SurveyVertex& a, const SurveyVertex& b, const SurveyVertex& p) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  return ((p.x - a.x) * dy - (p.y - a.y) * dx) / std::hypot(dx, dy);
}

TEST(SectionSeriesTest, AStraightLineMovesAcrossItsDirectionKeepingIt) {
  struct Case {
    const char* name;
    SectionLine line;
    double offset;
    SectionLine want;
  };
  const Case cases[] = {
      {"north, to the right is east", {0, 0, true, 0, 100, 0}, 50, {50, 0, true, 50, 100, 0}},
      {"north, a negative offset goes west",
       {0, 0, true, 0, 100, 0},
       -50,
       {-50, 0, true, -50, 100, 0}},
      {"east, to the right is south", {0, 0, true, 100, 0, 0}, 50, {0, -50, true, 100, -50, 0}},
      {"an azimuth of 90 keeps the azimuth",
       {0, 0, false, 0, 0, 90},
       50,
       {0, -50, false, 0, 0, 90}},
      {"an azimuth of 180: to the right is west",
       {10, 10, false, 0, 0, 180},
       20,
       {-10, 10, false, 0, 0, 180}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SectionLine got = offsetLine(c.line, c.offset);
    EXPECT_NEAR(got.Xstart, c.want.Xstart, 1e-9);
    EXPECT_NEAR(got.Ystart, c.want.Ystart, 1e-9);
    EXPECT_EQ(got.endPointMode, c.want.endPointMode);
    if (c.want.endPointMode) {
      EXPECT_NEAR(got.Xend, c.want.Xend, 1e-9);
      EXPECT_NEAR(got.Yend, c.want.Yend, 1e-9);
    }
    EXPECT_EQ(got.faiDegrees, c.want.faiDegrees);
  }
}

// Each segment of the parallel curve runs along its own segment at the offset, on the same side,
// as long as the bends are not sharper than the miter allows.
TEST(SectionSeriesTest, APolylineBecomesItsParallelCurve) {
  const std::vector<std::pair<const char*, std::vector<SurveyVertex>>> lines = {
      {"a right angle to the left", {{0, 0}, {100, 0}, {100, 100}}},
      {"a right angle to the right", {{0, 0}, {100, 0}, {100, -100}}},
      {"a gentle bend and a sharp one", {{0, 0}, {100, 20}, {180, 10}, {120, 80}}},
      {"two legs in line", {{0, 0}, {50, 50}, {100, 100}}},
  };
  for (const auto& [name, vertices] : lines) {
    for (const double offset : {30.0, -30.0}) {
      SCOPED_TRACE(std::string(name) + ", offset " + std::to_string(offset));
      const SectionLine moved = offsetLine(polyline(vertices), offset);
      ASSERT_EQ(moved.vertices.size(), vertices.size());
      for (std::size_t k = 0; k + 1 < vertices.size(); ++k) {
        EXPECT_NEAR(rightOf(vertices[k], vertices[k + 1], moved.vertices[k]), offset, 1e-9);
        EXPECT_NEAR(rightOf(vertices[k], vertices[k + 1], moved.vertices[k + 1]), offset, 1e-9);
      }
    }
  }
}

TEST(SectionSeriesTest, ABendSharperThanTheMiterAllowsMovesAtMostItsLimit) {
  // Back at 10 degrees to the first leg: a bend of 170 degrees.
  const double back = 170 * kDegree;
  const std::vector<SurveyVertex> v = {
      {0, 0}, {100, 0}, {100 + 100 * std::cos(back), 100 * std::sin(back)}};
  const SectionLine moved = offsetLine(polyline(v), 10);
  EXPECT_NEAR(std::hypot(moved.vertices[1].x - 100, moved.vertices[1].y), kMaxMiter * 10, 1e-9);
}

TEST(SectionSeriesTest, TheSeriesStartsWithTheSurveyLineAndStepsBySpacing) {
  const SectionLine line{0, 0, true, 0, 100, 0};
  const std::vector<SectionLine> lines = seriesLines(line, {4, -25});
  ASSERT_EQ(lines.size(), 4u);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    EXPECT_DOUBLE_EQ(lines[k].Xstart, -25.0 * static_cast<double>(k));
    EXPECT_DOUBLE_EQ(lines[k].Xend, -25.0 * static_cast<double>(k));
  }
  EXPECT_EQ(seriesLines(line, {}).size(), 1u);
}

TEST(SectionSeriesTest, ASeriesThatCannotBeMadeIsNamed) {
  struct Case {
    SectionSeries series;
    const char* problem;  // nullptr: none
  };
  const Case cases[] = {
      {{1, 0}, nullptr},
      {{5, 250}, nullptr},
      {{kMaxSeriesSections, -10}, nullptr},
      {{0, 100}, "0 is not a count"},
      {{kMaxSeriesSections + 1, 100}, "101 is not a count"},
      {{2, 0}, "cannot be 0"},
      {{3, std::nan("")}, "number of metres"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.series.count) + "," + std::to_string(c.series.spacing));
    const std::optional<std::string> problem = seriesProblem(c.series);
    if (c.problem) {
      ASSERT_TRUE(problem.has_value());
      EXPECT_THAT(*problem, HasSubstr(c.problem));
    } else {
      EXPECT_FALSE(problem.has_value()) << *problem;
    }
  }
}

TEST(SectionSeriesTest, SectionsAreNamedByLetterThenByLetterAndRound) {
  const std::pair<int, const char*> names[] = {
      {1, "A"}, {2, "B"}, {26, "Z"}, {27, "A2"}, {53, "A3"}};
  for (const auto& [number, name] : names) EXPECT_EQ(seriesSectionName(number), name);
}

// An 11 x 11 display over (0, 0)-(100, 100) rising eastward, over a boundary rising north-east.
class SeriesBuildTest : public ::testing::Test {
 protected:
  GridSurface surface =
      makeGrid(11, 11, 0, 0, 10, 10, [](double x, double) { return 30 + x / 10; });
  std::shared_ptr<const DisplaySurface> display =
      std::make_shared<const DisplaySurface>(exactDisplaySurface(surface));
  TempFile boundary{gridFileText(
      makeGrid(2, 2, 0, 0, 100, 100, [](double x, double y) { return 5 + x / 5 + y / 10; }))};
  LogicalModel model = twoLayers();
  std::vector<std::string> files = {"", boundary.path()};
  BuildInputs inputs{model, files, display, 0};
  std::vector<GridSurface> grids = readBoundaryGrids(files, 1, display);
};

TEST_F(SeriesBuildTest, EverySectionIsTheOneItsLineBuildsAlone) {
  const std::vector<SectionLine> lines =
      seriesLines(polyline({{10, 20}, {50, 40}, {60, 90}}), {3, 15});
  const SeriesBuild series = buildSectionSeries(inputs, grids, lines);
  ASSERT_EQ(series.members.size(), 3u);
  EXPECT_TRUE(series.leftOut.empty());
  for (const SeriesMember& member : series.members) {
    SCOPED_TRACE(member.number);
    const SectionBuild alone = buildSectionGrid(inputs, member.line);
    EXPECT_EQ(member.build.grid.unit, alone.grid.unit);
    EXPECT_EQ(member.build.section.columnX, alone.section.columnX);
    EXPECT_EQ(member.build.section.sectionSurfZ, alone.section.sectionSurfZ);
    EXPECT_TRUE(member.build.boundaryGrids.empty());
  }
}

TEST_F(SeriesBuildTest, LinesOffTheDisplayAreaAreLeftOutWithTheirReason) {
  // North-south at x 40, then every 35 m east: 75 is over the area, 110 and 145 are not.
  const std::vector<SectionLine> lines = seriesLines({40, 0, true, 40, 100, 0}, {4, 35});
  const SeriesBuild series = buildSectionSeries(inputs, grids, lines);
  ASSERT_EQ(series.members.size(), 2u);
  EXPECT_EQ(series.members[1].number, 2);
  ASSERT_EQ(series.leftOut.size(), 2u);
  EXPECT_EQ(series.leftOut[0].number, 3);
  EXPECT_EQ(series.leftOut[1].number, 4);
  EXPECT_THAT(series.leftOut[0].reason, HasSubstr("does not cross the display area"));
}

TEST_F(SeriesBuildTest, ASurveyLineOffTheDisplayAreaIsRefused) {
  const std::vector<SectionLine> lines = seriesLines({140, 0, true, 140, 100, 0}, {3, -50});
  EXPECT_THROW(buildSectionSeries(inputs, grids, lines), BuildError);
}

// The location map's raster: square cells over the whole area, each the unit of the ground at
// its middle. The boundary (y / 2) rises northward through the ground (30 + x / 10).
TEST_F(SeriesBuildTest, ThePlanShowsTheUnitOfTheGroundOnSquareCells) {
  std::vector<GridSurface> northward(2);
  northward[1] = makeGrid(2, 2, 0, 0, 100, 100, [](double, double y) { return y / 2; });
  const PlanUnits plan = classifyPlan(model, northward, *display, 4);
  ASSERT_EQ(plan.unit.iLast(), 4);
  ASSERT_EQ(plan.unit.jLast(), 4);
  EXPECT_DOUBLE_EQ(plan.cell, 25);
  for (int a = 1; a <= 4; ++a) {
    for (int b = 1; b <= 4; ++b) {
      const double x = (a - 0.5) * 25, y = (b - 0.5) * 25;
      EXPECT_EQ(plan.unit(a, b), 30 + x / 10 > y / 2 ? 2 : 1) << a << "," << b;
    }
  }
}

}  // namespace
}  // namespace kalvenor
