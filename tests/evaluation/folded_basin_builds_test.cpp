#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "evaluation/classification.h"
#include "evaluation/grid_builds.h"
#include "model/parallel_for.h"
#include "model/read_error.h"
#include "test_paths.h"

namespace kalvenor {
namespace {

// The bundled folded basin: four boundaries that fold, cross the ground and are cut by an
// unconformity, over a display surface with a patch of nodes without elevation on its southern
// edge, so walls and sections have air columns too.
class FoldedBasinBuilds : public ::testing::Test {
 protected:
  static std::string example(const std::string& name) {
    return KALVENOR_EXAMPLES_DIR "/folded-basin/" + name;
  }

  void SetUp() override {
    ASSERT_TRUE(buildUnitOfPattern(model));
    LoadJitter jitter;
    display = makeDisplaySurface(readGridSurface(example("topography.txt")), jitter);
    display.missing = MissingNodes(display.Nx, display.Ny);
    for (int i = 30; i <= 45; ++i) {
      for (int j = 1; j <= 12; ++j) display.missing.set(i, j);
    }
  }
  BuildInputs inputs(int threads = 1) const {
    return {model,   files,    std::make_shared<const DisplaySurface>(display), 0.0, {},
            nullptr, {threads}};
  }

  const int allThreads = availableThreads();
  LogicalModel model = readLogicalModel(example("model.txt"));
  std::vector<std::string> files = {"", example("limestone_top.txt"), example("sandstone_top.txt"),
                                    example("mudstone_top.txt"), example("unconformity.txt")};
  DisplaySurface display;
};

// The first node at which two unit arrays differ, or "" when they are equal node for node.
template <typename Units>
std::string firstDifference(const Units& a, const Units& b) {
  if (a.iLast() != b.iLast() || a.jLast() != b.jLast()) return "the sizes differ";
  for (int i = a.iFirst(); i <= a.iLast(); ++i) {
    for (int j = a.jFirst(); j <= a.jLast(); ++j) {
      if (a(i, j) != b(i, j)) {
        return "node (" + std::to_string(i) + ", " + std::to_string(j) +
               "): " + std::to_string(a(i, j)) + " against " + std::to_string(b(i, j));
      }
    }
  }
  return "";
}

TEST_F(FoldedBasinBuilds, TheMapGridIsTheSameOnOneThreadAndOnMany) {
  const MapBuild single = buildMapGrid(inputs());
  for (const int threads : {allThreads, 3}) {
    SCOPED_TRACE(std::to_string(threads) + " threads");
    const MapBuild many = buildMapGrid(inputs(threads));
    EXPECT_EQ(firstDifference(single.grid.mapUnit, many.grid.mapUnit), "");
    for (int slot = kSouthWall; slot <= kEastWall; ++slot) {
      EXPECT_EQ(
          firstDifference(single.grid.verticalGrids[slot].unit, many.grid.verticalGrids[slot].unit),
          "")
          << "wall " << slot;
    }
  }
  // The case reaches every kind of node: air, no unit and each of the five units.
  const LevelUnits& south = single.grid.verticalGrids[kSouthWall].unit;
  EXPECT_EQ(south(35, 1), kAir);
  EXPECT_EQ(single.grid.mapUnit(35, 5), 0);
  for (std::int16_t unit = 1; unit <= 5; ++unit) {
    bool found = false;
    for (int i = 1; i <= display.Nx && !found; ++i) {
      for (int j = 1; j <= display.Ny && !found; ++j) found = single.grid.mapUnit(i, j) == unit;
    }
    EXPECT_TRUE(found) << "unit " << unit << " crops out nowhere";
  }
}

TEST_F(FoldedBasinBuilds, TheSectionGridIsTheSameOnOneThreadAndOnMany) {
  const SectionLine diagonal{30000, 40000, true, 35000, 44000, 0};
  const SectionBuild single = buildSectionGrid(inputs(), diagonal);
  ASSERT_GT(single.section.Nxy, 200);  // several blocks of columns
  for (const int threads : {allThreads, 3}) {
    SCOPED_TRACE(std::to_string(threads) + " threads");
    const SectionBuild many = buildSectionGrid(inputs(threads), diagonal);
    EXPECT_EQ(firstDifference(single.grid.unit, many.grid.unit), "");
    EXPECT_EQ(single.section.sectionSurfZ, many.section.sectionSurfZ);
    EXPECT_EQ(single.section.groundKnown, many.section.groundKnown);
  }
}

TEST_F(FoldedBasinBuilds, ABadBoundaryFileAmongOthersReadSideBySideIsTheOneNamed) {
  files[3] = example("no_such_file.txt");
  files[4] = "";
  try {
    buildMapGrid(inputs());
    FAIL() << "a build with a missing file went through";
  } catch (const ReadError& error) {
    EXPECT_EQ(error.path(), files[3]);  // the lowest boundary that failed, as read in turn
  }
}

// Wall and section columns are classified in runs between the boundaries' levels; every node
// must get what it gets on its own: air above the ground of its column, else its strict unit.
void expectEveryNodeAsAlone(const LogicalModel& model, const std::vector<GridSurface>& grids,
                            const VerticalGrid& grid, const std::vector<double>& ground) {
  for (int h = 1; h <= grid.nH; ++h) {
    for (int v = 1; v <= grid.nV; ++v) {
      double z = grid.z(v);
      const int expected =
          z > ground[h] ? kAir : classifyPoint(model, grids, grid.x(h), grid.y(h), z).unitStrict;
      ASSERT_EQ(grid.unit(h, v), expected) << "column " << h << ", level " << v;
    }
  }
}

TEST_F(FoldedBasinBuilds, EveryWallNodeGetsTheUnitOfItsPointAlone) {
  const MapBuild b = buildMapGrid(inputs());
  for (int slot = kSouthWall; slot <= kEastWall; ++slot) {
    SCOPED_TRACE("wall " + std::to_string(slot));
    const VerticalGrid& wall = b.grid.verticalGrids[slot];
    std::vector<double> ground(wall.nH + 1);
    for (int h = 1; h <= wall.nH; ++h) {
      const int i = slot == kWestWall ? 1 : slot == kEastWall ? display.Nx : h;
      const int j = slot == kSouthWall ? 1 : slot == kNorthWall ? display.Ny : h;
      ground[h] = display.missing.at(i, j) ? -1e300 : display.dispZ(i, j);
    }
    expectEveryNodeAsAlone(model, b.boundaryGrids, wall, ground);
  }
}

TEST_F(FoldedBasinBuilds, EverySectionNodeGetsTheUnitOfItsPointAlone) {
  const SectionBuild b = buildSectionGrid(inputs(), {30000, 40000, true, 35000, 44000, 0});
  std::vector<double> ground(b.section.Nxy + 1);
  for (int h = 1; h <= b.section.Nxy; ++h) {
    ground[h] = b.section.groundKnown[h] ? b.section.sectionSurfZ[h] : -1e300;
  }
  expectEveryNodeAsAlone(model, b.boundaryGrids, b.grid, ground);
}

}  // namespace
}  // namespace kalvenor
