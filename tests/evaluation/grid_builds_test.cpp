#include "evaluation/grid_builds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "grid_fixtures.h"
#include "model/read_error.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

// A 3 x 3 display with its edges at 10 and the middle node at 20, over a boundary flat at 5.
class MapBuildTest : public ::testing::Test {
 protected:
  GridSurface surface = makeGrid(
      3, 3, 0, 0, 10, 10, [](double x, double y) { return x == 10 && y == 10 ? 20.0 : 10.0; });
  DisplaySurface display = exactDisplaySurface(surface);
  TempFile boundary{
      gridFileText(makeGrid(2, 2, -5, -5, 30, 30, [](double, double) { return 5.0; }))};
  LogicalModel model = twoLayers();
  std::vector<std::string> files = {"", boundary.path()};

  MapBuild build(double Zbase) {
    return buildMapGrid({model, files, std::make_shared<const DisplaySurface>(display), Zbase});
  }
};

TEST_F(MapBuildTest, ClassifiesTheTopSurfaceAndTheWallsWithAStrictAirTest) {
  const MapBuild b = build(0);
  EXPECT_EQ(b.grid.Nz, 3);
  EXPECT_EQ(b.grid.Dzz, 10);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(b.grid.mapUnit(i, j), 2);
  }
  for (int slot = kSouthWall; slot <= kEastWall; ++slot) {
    const VerticalGrid& wall = b.grid.verticalGrids[slot];
    ASSERT_EQ(wall.nH, 3);
    ASSERT_EQ(wall.nV, 3);
    for (int h = 1; h <= 3; ++h) {
      EXPECT_EQ(wall.unit(h, 1), 1);     // z 0, below the boundary
      EXPECT_EQ(wall.unit(h, 2), 2);     // z 10, exactly at the edge: classified
      EXPECT_EQ(wall.unit(h, 3), kAir);  // z 20, above the edge
    }
    EXPECT_EQ(b.wallProfiles[slot].nH(), 3);
  }
  const VerticalGrid& east = b.grid.verticalGrids[kEastWall];
  EXPECT_EQ(east.x0, 20);
  EXPECT_EQ(east.dyH, 10);
  EXPECT_EQ(b.grid.verticalGrids[kNorthWall].y0, 20);
  EXPECT_EQ(b.boundaryGrids.size(), 3u);
}

// The traces on a wall or section are classified at the profile's nodes and drawn at the grid's:
// both must be the same nodes.
void expectProfileOnItsGrid(const BoundaryProfile& profile, const VerticalGrid& grid) {
  ASSERT_EQ(profile.nH(), grid.nH);
  ASSERT_EQ(profile.nV(), grid.nV);
  for (int h = 1; h <= grid.nH; ++h) {
    EXPECT_EQ(profile.X(h, grid.nV), grid.x(h)) << "node " << h;
    EXPECT_EQ(profile.Y(h, grid.nV), grid.y(h)) << "node " << h;
  }
  for (int v = 1; v <= grid.nV; ++v) EXPECT_DOUBLE_EQ(profile.Z(1, v), grid.z(v)) << "level " << v;
}

TEST_F(MapBuildTest, EveryWallProfileStandsOnTheNodesOfItsWall) {
  const MapBuild b = build(-7.5);
  for (int slot = kSouthWall; slot <= kEastWall; ++slot) {
    SCOPED_TRACE("wall " + std::to_string(slot));
    expectProfileOnItsGrid(b.wallProfiles[slot], b.grid.verticalGrids[slot]);
  }
}

TEST_F(MapBuildTest, ASurfaceOnlyBuildClassifiesTheTopAndNoWalls) {
  const MapBuild b =
      buildMapGrid({model, files, std::make_shared<const DisplaySurface>(display), 0}, {},
                   MapParts::SurfaceOnly);
  EXPECT_EQ(b.grid.mapUnit(2, 2), 2);
  for (int slot = kSouthWall; slot <= kEastWall; ++slot) {
    EXPECT_TRUE(b.grid.verticalGrids[slot].empty());
  }
}

TEST(WallLevelsTest, OneLevelPerNodeOfTheLongerSideUpToThreeToOneThenBoundByTheShorter) {
  EXPECT_EQ(wallLevels(101, 81), 101);
  EXPECT_EQ(wallLevels(81, 101), 101);
  EXPECT_EQ(wallLevels(300, 900), 900);  // exactly 3:1 keeps one level per node
  EXPECT_EQ(wallLevels(64, 16384), 192);
  EXPECT_EQ(wallLevels(16384, 64), 192);
  EXPECT_EQ(wallLevels(2, 2), 2);
  // Wall nodes stay within a small multiple of the surface's nodes whatever the shape.
  for (const auto& [nx, ny] : {std::pair{64, 16384}, {256, 65536}, {2, 4096}, {1000, 3001}}) {
    const double wallNodes = 2.0 * (nx + ny) * wallLevels(nx, ny);
    EXPECT_LE(wallNodes, 8.0 * nx * ny) << nx << " x " << ny;
  }
}

TEST_F(MapBuildTest, RejectsInputsItCannotBuildFrom) {
  EXPECT_THROW(build(20), BuildError);  // no vertical extent
  EXPECT_THROW(build(30), BuildError);  // a base above the surface would turn the walls over

  EXPECT_THROW(buildMapGrid({model, files, std::make_shared<const DisplaySurface>(), 0}),
               BuildError);
  EXPECT_THROW(buildMapGrid({model, files, nullptr, 0}), BuildError);

  LogicalModel noModel;
  EXPECT_THROW(buildMapGrid({noModel, files, std::make_shared<const DisplaySurface>(display), 0}),
               BuildError);

  const std::vector<std::string> unpicked = {""};
  EXPECT_THAT(
      [&] {
        buildMapGrid({model, unpicked, std::make_shared<const DisplaySurface>(display), 0});
      },
      ::testing::Throws<ReadError>());

  TempFile broken("2, 2, 0, 0, 10, 10, 1, 2, 3");
  const std::vector<std::string> bad = {"", broken.path()};
  try {
    buildMapGrid({model, bad, std::make_shared<const DisplaySurface>(display), 0});
    FAIL();
  } catch (const ReadError& error) {
    EXPECT_EQ(error.path(), broken.path());
  }
}

TEST(MapBuild, ABoundaryEqualToTheDisplayFileLiesJustAboveEveryNode) {
  const GridSurface surface =
      makeGrid(4, 3, 0, 0, 1, 1, [](double x, double y) { return 2 + x * 0.5 - y; });
  TempFile file(gridFileText(surface));
  LoadJitter jitter;
  const DisplaySurface display = makeDisplaySurface(readGridSurface(file.path()), jitter);
  const LogicalModel model = twoLayers();
  const std::vector<std::string> files = {"", file.path()};
  const MapBuild b =
      buildMapGrid({model, files, std::make_shared<const DisplaySurface>(display), -5});
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(b.grid.mapUnit(i, j), 1) << i << "," << j;
  }
}

// An 11 x 11 display over (0, 0)-(100, 100), 40 high, above a boundary flat at 15.
class SectionBuildTest : public ::testing::Test {
 protected:
  GridSurface surface =
      makeGrid(11, 11, 0, 0, 10, 10, [](double x, double) { return 30 + x / 10; });
  DisplaySurface display = exactDisplaySurface(surface);
  TempFile boundary{
      gridFileText(makeGrid(2, 2, 0, 0, 100, 100, [](double, double) { return 15.0; }))};
  LogicalModel model = twoLayers();
  std::vector<std::string> files = {"", boundary.path()};

  SectionBuild build(const SectionLine& line, double Zbase = 0) {
    return buildSectionGrid({model, files, std::make_shared<const DisplaySurface>(display), Zbase},
                            line);
  }
  static SectionLine endPoints(double xs, double ys, double xe, double ye) {
    return {xs, ys, true, xe, ye, 0};
  }
  static SectionLine direction(double xs, double ys, double degrees) {
    return {xs, ys, false, 0, 0, degrees};
  }
};

TEST_F(SectionBuildTest, AnEastWestLineSpansTheAreaFromItsWesternEdge) {
  const SectionBuild b = build(endPoints(35, 42, 80, 42));
  const SectionGrid& s = b.section;
  EXPECT_EQ(s.Fai, 1.570796326794895);
  EXPECT_EQ(s.Xstart, 0);
  EXPECT_NEAR(s.Ystart, 42, 1e-12);
  EXPECT_EQ(s.Xend, 100);
  EXPECT_EQ(s.Nxy, 21);
  EXPECT_EQ(s.Dxx, 5);
  EXPECT_EQ(s.Dyy, 0);
  // Dzz would be 5, but floor(40 / 5) + 1 = 9 levels are raised to Nxy over the same height.
  EXPECT_EQ(b.grid.nV, 21);
  EXPECT_EQ(b.grid.dzV, 2);
  EXPECT_EQ(s.Nmax, 21);
}

TEST_F(SectionBuildTest, ADueNorthLineRunsAlongItsStartColumn) {
  const SectionBuild b = build(direction(37, 55, 0));
  const SectionGrid& s = b.section;
  EXPECT_EQ(s.Xstart, 37);
  EXPECT_EQ(s.Ystart, 0);
  EXPECT_EQ(s.Yend, 100);
  EXPECT_EQ(s.Dxx, 0);
  EXPECT_EQ(s.Dyy, 5);
  // The surface under column h is interpolated at x = 37.
  EXPECT_DOUBLE_EQ(s.sectionSurfZ[1], 33.7);
}

TEST_F(SectionBuildTest, AStartOutsideTheAreaGivesOnlyTheCrossing) {
  const SectionBuild b = build(endPoints(-20, -20, 0, 0));
  EXPECT_NEAR(b.section.Xstart, 0, 1e-9);
  EXPECT_NEAR(b.section.Ystart, 0, 1e-9);
  EXPECT_NEAR(b.section.Xend, 100, 1e-9);
  EXPECT_NEAR(b.section.Yend, 100, 1e-9);
  EXPECT_EQ(b.section.Nxy, static_cast<int>(std::floor(100 * std::sqrt(2.0) / 5 + 0.001)) + 1);
}

TEST_F(SectionBuildTest, NodesAreClassifiedUpToTheSurfaceAndAirAbove) {
  const SectionBuild b = build(endPoints(0, 50, 100, 50), 0);
  const VerticalGrid& slot = b.grid;
  const SectionGrid& g = b.section;
  ASSERT_EQ(slot.nH, 21);
  ASSERT_EQ(slot.nV, g.Nz);
  EXPECT_EQ(g.Dzz, 40.0 / 20);  // raised to Nxy levels: (Zmax - Zbase) / (Nxy - 1)
  for (int v = 1; v <= g.Nz; ++v) {
    const double z = (v - 1) * g.Dzz;
    const std::int16_t expected = z > 30 ? kAir : z > 15 ? 2 : 1;  // column 1: surface 30
    EXPECT_EQ(slot.unit(1, v), expected) << "level " << v;
  }
  EXPECT_EQ(b.section.sectionSurfZ[21], 40);
  std::vector<double> gaps;
  b.section.surfaceGapColumn(1, gaps);
  EXPECT_EQ(gaps[1], -30);
  EXPECT_EQ(gaps[3], -30 + g.Dzz + g.Dzz);
  EXPECT_EQ(b.sectionProfile.bndZ(1, 5), 15);
}

TEST_F(SectionBuildTest, TheProfileStandsOnTheNodesOfTheSection) {
  const SectionBuild b = build(direction(20, 0, 33), -12.5);
  const VerticalGrid& slot = b.grid;
  EXPECT_EQ(slot.x(1), b.section.Xstart);
  EXPECT_EQ(slot.z(1), -12.5);
  expectProfileOnItsGrid(b.sectionProfile, slot);
}

TEST_F(SectionBuildTest, RejectsLinesThatGiveNoSection) {
  // Misses the rectangle diagonally.
  EXPECT_THAT([&] { build(direction(200, 0, 45)); },
              ::testing::ThrowsMessage<BuildError>(HasSubstr("does not cross")));
  // East-west beside the rectangle.
  EXPECT_THROW(build(direction(50, 200, 90)), BuildError);
  // Touches a corner only: one column.
  EXPECT_THAT([&] { build(direction(100, 0, 45)); },
              ::testing::ThrowsMessage<BuildError>(HasSubstr("two columns")));
  EXPECT_THROW(build(endPoints(0, 0, 10, 10), 40), BuildError);  // Zbase = Zmax
  // An end point equal to the start gives no direction, not an east-west section.
  EXPECT_THAT([&] { build(endPoints(35, 42, 35, 42)); },
              ::testing::ThrowsMessage<BuildError>(
                  HasSubstr("starts and ends at the same point (x 35, y 42)")));
  EXPECT_EQ(build(endPoints(35, 42, 36, 42)).section.Fai, 1.570796326794895);
}

TEST(SectionBuild, ColumnsAreHalfTheSmallerSpacingApartOnARectangularGrid) {
  // Cells 10 wide and 40 deep: columns every 5 along any line, not every 20.
  const DisplaySurface display =
      exactDisplaySurface(makeGrid(11, 4, 0, 0, 10, 40, [](double, double) { return 50.0; }));
  TempFile boundary(
      gridFileText(makeGrid(2, 2, 0, 0, 100, 120, [](double, double) { return 5.0; })));
  const LogicalModel model = twoLayers();
  const std::vector<std::string> files = {"", boundary.path()};
  const SectionBuild alongX =
      buildSectionGrid({model, files, std::make_shared<const DisplaySurface>(display), 0},
                       {0, 60, true, 100, 60, 0});
  EXPECT_EQ(alongX.section.Nxy, 21);
  EXPECT_EQ(alongX.section.Dxx, 5);
  const SectionBuild alongY = buildSectionGrid(
      {model, files, std::make_shared<const DisplaySurface>(display), 0}, {50, 0, false, 0, 0, 0});
  EXPECT_EQ(alongY.section.Nxy, 25);  // 120 / 5 + 1
  EXPECT_EQ(alongY.section.Dyy, 5);
  // A grid stored north to south has the same columns.
  const DisplaySurface southward =
      exactDisplaySurface(makeGrid(11, 4, 0, 120, 10, -40, [](double, double) { return 50.0; }));
  EXPECT_EQ(buildSectionGrid({model, files, std::make_shared<const DisplaySurface>(southward), 0},
                             {50, 0, false, 0, 0, 0})
                .section.Nxy,
            25);
}

TEST(SectionLevelsTest, OneLevelPerColumnWithinTheNodeCapThenBoundByIt) {
  EXPECT_EQ(sectionLevels(21), 21);
  EXPECT_EQ(sectionLevels(4096), 4096);  // 4096 x 4096 is the cap itself
  EXPECT_EQ(sectionLevels(4097), 4095);
  EXPECT_EQ(sectionLevels(32767), 512);
  EXPECT_EQ(sectionLevels(40001), 419);
  EXPECT_EQ(sectionLevels(static_cast<std::int32_t>(kMaxGridNodes)), 2);
  for (const std::int32_t Nxy : {4097, 10000, 32767, 40001, 1 << 20}) {
    EXPECT_LE(std::int64_t{Nxy} * sectionLevels(Nxy), kMaxGridNodes) << Nxy;
  }
}

// A section 20 km along a display of 2 x 2 nodes 1 m apart has 40001 columns: its levels stop
// where the section would outgrow the node cap, not at 40001.
TEST(SectionBuild, ALongSectionOverAFewNodesStaysWithinTheNodeCap) {
  const DisplaySurface display = exactDisplaySurface(
      makeGrid(2, 2, 0, 0, 1, 20000, [](double, double y) { return 300 + y / 1000; }));
  TempFile boundary(
      gridFileText(makeGrid(2, 2, 0, 0, 1, 20000, [](double, double) { return 250.0; })));
  const LogicalModel model = twoLayers();
  const std::vector<std::string> files = {"", boundary.path()};
  const SectionBuild b =
      buildSectionGrid({model, files, std::make_shared<const DisplaySurface>(display), 100},
                       {0.5, 0, false, 0, 0, 0});
  EXPECT_EQ(b.section.Nxy, 40001);
  EXPECT_EQ(b.grid.nV, 419);
  EXPECT_EQ(b.grid.dzV, (display.Zmax - 100) / 418);
  const VerticalGrid& slot = b.grid;
  EXPECT_EQ(slot.unit(1, 1), 1);
  EXPECT_EQ(slot.unit(40001, 419), 2);  // just below the ground at 320, above the boundary
}

TEST(SectionBuild, AStepWhoseComponentsAreBothBelowATenthIsRejected) {
  const GridSurface surface = makeGrid(11, 11, 0, 0, 0.1, 0.1, [](double, double) { return 1.0; });
  const DisplaySurface display = exactDisplaySurface(
      makeGrid(11, 11, 0, 0, 0.1, 0.1, [](double x, double) { return 1.0 + x; }));
  TempFile boundary(gridFileText(surface));
  const LogicalModel model = twoLayers();
  const std::vector<std::string> files = {"", boundary.path()};
  EXPECT_THAT(
      [&] {
        buildSectionGrid({model, files, std::make_shared<const DisplaySurface>(display), 0},
                         {0, 0, true, 1, 1, 0});
      },
      ::testing::ThrowsMessage<BuildError>(HasSubstr("below 0.1")));
}

}  // namespace
}  // namespace kalvenor
