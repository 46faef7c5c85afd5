// The path of a hole through its survey by the minimum-curvature method, against numbers worked
// by hand, and points along it.
#include "model/borehole_path.h"

#include <gtest/gtest.h>

namespace kalvenor {
namespace {

Borehole hole(double depth) {
  Borehole made;
  made.id = "BH1";
  made.x = 1000;
  made.y = 2000;
  made.z = 500;
  made.depth = depth;
  return made;
}

const HoleStation& stationAt(const std::vector<HoleStation>& path, double depth) {
  for (const HoleStation& station : path) {
    if (station.depth == depth) return station;
  }
  ADD_FAILURE() << "no station at depth " << depth;
  return path.front();
}

void expectAt(const HoleStation& station, double x, double y, double z) {
  constexpr double kMillimetre = 1e-3;
  EXPECT_NEAR(station.x, x, kMillimetre) << "at depth " << station.depth;
  EXPECT_NEAR(station.y, y, kMillimetre) << "at depth " << station.depth;
  EXPECT_NEAR(station.z, z, kMillimetre) << "at depth " << station.depth;
}

TEST(BoreholePath, HoleWithoutSurveyGoesStraightDown) {
  Borehole vertical = hole(80);
  vertical.intervals = {{0, 12.5, "a", 0}, {12.5, 80, "b", 0}};
  vertical.path = holePath(vertical, {});
  ASSERT_EQ(vertical.path.size(), 3u);
  expectAt(vertical.path[0], 1000, 2000, 500);
  expectAt(vertical.path[1], 1000, 2000, 487.5);
  expectAt(vertical.path[2], 1000, 2000, 420);
  expectAt(positionAt(vertical, 30), 1000, 2000, 470);
}

// Vertical to 100 m, then 10 degrees east of vertical at 130 m, held to the end at 150 m.
// By hand, from 100 to 130 m: dogleg b = 10 deg = 0.1745329 rad, ratio factor
// RF = (2 / b) tan(b / 2) = 11.459156 x 0.0874887 = 1.0025462;
// east = (30 / 2) (sin 0 + sin 10) RF = 15 x 0.1736482 x 1.0025462 = 2.611355;
// down = (30 / 2) (cos 0 + cos 10) RF = 15 x 1.9848078 x 1.0025462 = 29.847923.
// The arc has radius R = 30 / b = 171.887338; at 120 m it has turned 20/30 of b = 6.6667 deg:
// east = R (1 - cos 6.6667) = 1.162241, down = R sin 6.6667 = 19.954902 below 400.
// From 130 to 150 m straight: east 20 cos 80 = 3.472964, down 20 sin 80 = 19.696155.
TEST(BoreholePath, DeviatedHoleFollowsTheMinimumCurvatureArc) {
  Borehole deviated = hole(150);
  const std::vector<SurveyStation> survey = {{100, 90, -90}, {130, 90, -80}};
  deviated.path = holePath(deviated, survey);
  expectAt(stationAt(deviated.path, 100), 1000, 2000, 400);
  expectAt(stationAt(deviated.path, 120), 1001.162241, 2000, 400 - 19.954902);
  expectAt(stationAt(deviated.path, 130), 1002.611355, 2000, 400 - 29.847923);
  expectAt(stationAt(deviated.path, 150), 1002.611355 + 3.472964, 2000,
           400 - 29.847923 - 19.696155);
  // Along the arc, not on the straight stretches.
  for (std::size_t n = 1; n < deviated.path.size(); ++n) {
    if (deviated.path[n].depth <= 100 || deviated.path[n].depth > 130) continue;
    const double step = deviated.path[n].depth - deviated.path[n - 1].depth;
    EXPECT_LE(step, kPathStep + 1e-9)
        << "between " << deviated.path[n - 1].depth << " and " << deviated.path[n].depth;
  }
}

TEST(BoreholePath, FirstStationBelowTheCollarGivesTheCollarItsDirection) {
  Borehole inclined = hole(50);
  inclined.path = holePath(inclined, {{50, 0, -60}});
  // 50 m at 60 degrees down to the north: 25 m north, 43.30127 m down.
  expectAt(inclined.path.back(), 1000, 2025, 500 - 43.30127);
  expectAt(positionAt(inclined, 20), 1000, 2010, 500 - 17.320508);
}

TEST(BoreholePath, PathHasStationsAtEveryIntervalBoundary) {
  Borehole logged = hole(40);
  logged.intervals = {{3.25, 7, "a", 0}, {7, 40, "b", 0}};
  logged.path = holePath(logged, {{0, 45, -70}, {40, 45, -70}});
  std::vector<double> depths;
  for (const HoleStation& station : logged.path) depths.push_back(station.depth);
  EXPECT_EQ(depths, (std::vector<double>{0, 3.25, 7, 40}));
}

TEST(BoreholePath, PositionBeyondTheEndsIsTheEnd) {
  Borehole vertical = hole(10);
  vertical.path = holePath(vertical, {});
  expectAt(positionAt(vertical, -5), 1000, 2000, 500);
  expectAt(positionAt(vertical, 25), 1000, 2000, 490);
}

}  // namespace
}  // namespace kalvenor
