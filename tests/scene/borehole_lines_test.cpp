// The boreholes of a 3D scene: each logged hole one line through its stations, every segment
// in the unit logged along it.
#include "scene/borehole_lines.h"

#include <gtest/gtest.h>

#include "model/borehole_path.h"

namespace kalvenor {
namespace {

// A hole bent at 50 m: straight down, then east at 45 degrees.
Borehole bentHole() {
  Borehole hole;
  hole.id = "BH1";
  hole.x = 100;
  hole.y = 200;
  hole.z = 50;
  hole.depth = 100;
  hole.path = {{0, 100, 200, 50}, {50, 100, 200, 0}, {100, 135.355, 200, -35.355}};
  return hole;
}

TEST(BoreholeLines, FollowTheStationsInTheLoggedUnitsWithGapsInNone) {
  Borehole logged = bentHole();
  logged.intervals = {{10, 40, "Sand", 2}, {60, 90, "Clay", 3}};
  Borehole unlogged = bentHole();
  unlogged.id = "BH2";
  BoreholeSet holes;
  holes.holes = {unlogged, logged};
  const std::vector<ScenePart> parts = boreholeLines(holes);
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0].kind, ScenePartKind::Borehole);
  EXPECT_EQ(parts[0].name, "BH1");
  const SceneLine& line = parts[0].line;
  // 10 and 40 down the first leg; the gap to 60 through the bend at 50; 60 and 90 below it.
  const struct { double depth; } vertices[] = {{10}, {40}, {50}, {60}, {90}};
  ASSERT_EQ(line.vertices.size(), std::size(vertices));
  for (std::size_t n = 0; n < std::size(vertices); ++n) {
    const HoleStation at = positionAt(logged, vertices[n].depth);
    EXPECT_EQ(line.vertices[n], (ScenePoint{at.x, at.y, at.z})) << vertices[n].depth;
  }
  EXPECT_EQ(line.segmentUnit, (std::vector<std::int32_t>{2, 0, 0, 3}));
}

}  // namespace
}  // namespace kalvenor
