#include "evaluation/fence_build.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "grid_fixtures.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

// An 11 x 11 display over (0, 0)-(100, 100) rising eastward from 30 to 40, over a boundary that
// rises both east and north.
class FenceBuildTest : public ::testing::Test {
 protected:
  GridSurface surface =
      makeGrid(11, 11, 0, 0, 10, 10, [](double x, double) { return 30 + x / 10; });
  TempFile boundary{gridFileText(
      makeGrid(2, 2, 0, 0, 100, 100, [](double x, double y) { return 5 + x / 5 + y / 10; }))};
  LogicalModel model = twoLayers();
  std::vector<std::string> files = {"", boundary.path()};
  BuildInputs inputs{model, files,
                     std::make_shared<const DisplaySurface>(exactDisplaySurface(surface)), 0};
};

// A panel is the section along its line node for node, whether its line is straight or bent and
// whether the boundaries are read for the fence or handed to it.
TEST_F(FenceBuildTest, EveryPanelIsTheSectionAlongItsLine) {
  const std::vector<FenceLine> lines = {{"A", {{10, 20}, {70, 90}}},
                                        {"B", {{0, 50}, {50, 55}, {60, 100}}},
                                        {"C", {{35, 42}, {80, 42}}}};
  const std::vector<GridSurface> grids = readBuildBoundaries(inputs);
  for (const std::vector<GridSurface>* given :
       {static_cast<const std::vector<GridSurface>*>(nullptr), &grids}) {
    const std::vector<FencePanel> panels = buildFence(inputs, lines, given);
    ASSERT_EQ(panels.size(), lines.size());
    for (std::size_t n = 0; n < lines.size(); ++n) {
      SCOPED_TRACE(lines[n].name + (given ? ", grids given" : ", grids read"));
      SectionLine line;
      line.vertices = lines[n].vertices;
      const SectionBuild section = buildSectionGrid(inputs, line);
      const FencePanel& panel = panels[n];
      EXPECT_EQ(panel.name, lines[n].name);
      EXPECT_EQ(panel.section.Nxy, section.section.Nxy);
      EXPECT_EQ(panel.section.Nz, section.section.Nz);
      EXPECT_EQ(panel.section.columnX, section.section.columnX);
      EXPECT_EQ(panel.section.sectionSurfZ, section.section.sectionSurfZ);
      EXPECT_EQ(panel.grid.unit, section.grid.unit);
      EXPECT_EQ(panel.profile.bndZ(1, panel.grid.nH),
                section.sectionProfile.bndZ(1, panel.grid.nH));
    }
  }
}

TEST_F(FenceBuildTest, ALineThatMakesNoSectionIsRefusedNamingItsPanel) {
  struct Case {
    const char* name;
    std::vector<SurveyVertex> vertices;
    const char* problem;
  };
  const std::vector<Case> cases = {
      {"one vertex", {{10, 10}}, "fewer than two distinct vertices"},
      {"a segment of no length", {{10, 10}, {10, 10}, {50, 50}}, "segment 1 has no length"},
      {"outside the display", {{200, 200}, {300, 200}, {300, 300}}, "entirely outside"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<FenceLine> lines = {{"A", {{10, 20}, {70, 90}}}, {"road", c.vertices}};
    try {
      buildFence(inputs, lines, nullptr);
      ADD_FAILURE() << "built";
    } catch (const BuildError& error) {
      EXPECT_THAT(error.what(), HasSubstr("fence panel 2 (road): "));
      EXPECT_THAT(error.what(), HasSubstr(c.problem));
    }
  }
}

TEST(FenceLineName, LettersTheLinesAsSectionsAre) {
  const std::vector<std::pair<std::size_t, std::string>> cases = {
      {0, "A"}, {1, "B"}, {25, "Z"}, {26, "AA"}, {27, "AB"}, {701, "ZZ"}, {702, "AAA"}};
  for (const auto& [index, name] : cases) EXPECT_EQ(fenceLineName(index), name) << index;
}

}  // namespace
}  // namespace kalvenor
