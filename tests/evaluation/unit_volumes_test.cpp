#include "evaluation/unit_volumes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "planar_model.h"

namespace kalvenor {
namespace {

// Figures of one unit worked out by hand for PlanarModel.
struct Expected {
  double volume, outcrop, present, largest;
};

// Over the whole square:
// - all units together fill the ground above the base: 1e6 m2 x (100 + 0.05 x 500) = 1.25e8 m3;
// - unit 1 is b1 where positive: b1 integrates to 2e7 over the square, less its integral over the
//   triangle (0,0)-(1000,0)-(0,200) where it is negative, 1e5 m2 x b1(centroid) = -3.33e5;
// - unit 3 is g - b2 = 0.05 (860 - 0.4 y - x) for x < 860 - 0.4 y: its integral over y is
//   0.025 (860^3 - 460^3) / 1.2; it crops out on the trapezoid of 860 x 1000 - 0.2 x 1000^2 m2;
// - unit 2 is the rest; it crops out wherever unit 3 does not.
// The largest thicknesses are at the nodes (1000, 1000) for unit 1 (b1 = 50), (1000, 0) for
// unit 2 (g - 0 = 150) and (0, 0) for unit 3 (g - b2 = 43).
const double kVolume1 = 2e7 + 1e5 * 10.0 / 3;
const double kVolume3 = 0.025 * (860.0 * 860 * 860 - 460.0 * 460 * 460) / 1.2;
const Expected kUnits[] = {{kVolume1, 0, 9e5, 50},
                           {1.25e8 - kVolume1 - kVolume3, 3.4e5, 1e6, 150},
                           {kVolume3, 6.6e5, 6.6e5, 43}};

void expectNear(double actual, double expected, const char* what) {
  EXPECT_NEAR(actual, expected, 1e-6 * std::max(1.0, std::abs(expected))) << what;
}

TEST(UnitVolumes, APlanarModelComesOutAsWorkedOutByHand) {
  // The same square stored in each direction, and sampled finer.
  const struct { double Dx, Dy; } grids[] = {{100, 100}, {-100, 100}, {100, -100}, {25, 50}};
  for (const auto& spacing : grids) {
    SCOPED_TRACE(std::to_string(spacing.Dx) + " x " + std::to_string(spacing.Dy));
    const PlanarModel planar(spacing.Dx, spacing.Dy);
    const std::vector<UnitVolume> volumes = unitVolumes(planar.columns(), nullptr);
    ASSERT_EQ(volumes.size(), 3u);
    for (int u = 0; u < 3; ++u) {
      SCOPED_TRACE("unit " + std::to_string(u + 1));
      EXPECT_EQ(volumes[u].unit, u + 1);
      expectNear(volumes[u].volume, kUnits[u].volume, "volume");
      expectNear(volumes[u].outcropArea, kUnits[u].outcrop, "outcrop area");
      expectNear(volumes[u].presentArea, kUnits[u].present, "area where present");
      expectNear(volumes[u].meanThickness(), kUnits[u].volume / kUnits[u].present, "mean");
      expectNear(volumes[u].largestThickness, kUnits[u].largest, "largest thickness");
    }
  }
}

ClipArea rectangle(double x0, double y0, double x1, double y1) {
  return {{{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}}, ""};
}

TEST(UnitVolumes, AClipAreaTakesThePartInsideItsPolygons) {
  // b1 is above the base over the whole of [150, 650] x [250, 750], so there unit 1 is b1, whose
  // integral is the area times b1 at the centre (400, 500) = 19. The ground integrates to the
  // area times 120. A hole runs clockwise and takes its part away; two polygons add.
  ClipArea holed = rectangle(150, 250, 650, 750);
  holed.rings.push_back({{300, 400}, {300, 600}, {500, 600}, {500, 400}});  // b1(400, 500) = 19
  ClipArea two = rectangle(150, 250, 650, 750);
  two.rings.push_back(rectangle(705, 560, 955, 610).rings[0]);  // b1 at (830, 585) = 27.55
  const struct {
    const char* name;
    ClipArea area;
    double unit1, all;
  } cases[] = {
      {"rectangle", rectangle(150, 250, 650, 750), 2.5e5 * 19, 2.5e5 * 120},
      {"with a hole", holed, (2.5e5 - 4e4) * 19, 2.5e5 * 120 - 4e4 * 120},
      {"two polygons", two, 2.5e5 * 19 + 12500 * 27.55, 2.5e5 * 120 + 12500 * (100 + 0.05 * 830)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const double Dx : {100.0, -100.0}) {
      const PlanarModel planar(Dx, 100);
      const std::vector<UnitVolume> volumes = unitVolumes(planar.columns(), &c.area);
      expectNear(volumes[0].volume, c.unit1, "unit 1");
      expectNear(volumes[0].volume + volumes[1].volume + volumes[2].volume, c.all, "all units");
    }
  }
}

TEST(UnitVolumes, CellsWithoutAGroundAreLeftOut) {
  PlanarModel planar;
  planar.display.missing = MissingNodes(11, 11);
  planar.display.missing.set(11, 11);  // takes the north-east cell, 100 x 100 m, away
  const std::vector<UnitVolume> volumes = unitVolumes(planar.columns(), nullptr);
  double all = 0;
  for (const UnitVolume& v : volumes) all += v.volume;
  // The ground over that cell is 100 + 0.05 x 950 high on average.
  expectNear(all, 1.25e8 - 1e4 * (100 + 0.05 * 950), "all units");
}

TEST(UnitVolumes, TheResultIsTheSameOnAnyNumberOfThreads) {
  const PlanarModel planar(10, 10);
  const std::vector<UnitVolume> one = unitVolumes(planar.columns(), nullptr, {1});
  const std::vector<UnitVolume> three = unitVolumes(planar.columns(), nullptr, {3});
  for (int u = 0; u < 3; ++u) {
    EXPECT_EQ(one[u].volume, three[u].volume);
    EXPECT_EQ(one[u].outcropArea, three[u].outcropArea);
  }
}

}  // namespace
}  // namespace kalvenor
