#include "evaluation/borehole_check.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <vector>

#include "grid_fixtures.h"
#include "model/borehole_path.h"

namespace kalvenor {
namespace {

// Unit 1 below the boundary, unit 2 above it.
constexpr std::int16_t kBelow = 1;
constexpr std::int16_t kAbove = 2;

// A boundary z = base + tilt * x over 0..300 x 0..300 at 10 m, under a flat ground at 200 m,
// held as a grid build leaves them: slot 1 the boundary, slot 2 the display surface.
std::vector<GridSurface> planarGrids(double base, double tilt) {
  return {GridSurface{},
          makeGrid(31, 31, 0, 0, 10, 10, [&](double x, double) { return base + tilt * x; }),
          makeGrid(31, 31, 0, 0, 10, 10, [](double, double) { return 200.0; })};
}

Borehole verticalHole(double x, double y, double depth, std::vector<LoggedInterval> logged) {
  Borehole hole;
  hole.id = "BH" + std::to_string(static_cast<int>(x));
  hole.x = x;
  hole.y = y;
  hole.z = 200;
  hole.depth = depth;
  hole.path = {{0, x, y, 200}, {depth, x, y, 200 - depth}};
  hole.intervals = std::move(logged);
  return hole;
}

// From (20, 50, 200), 0.6 m east and 0.8 m down for every metre along the hole.
Borehole slantedHole(std::vector<LoggedInterval> logged) {
  Borehole hole;
  hole.id = "S1";
  hole.x = 20;
  hole.y = 50;
  hole.z = 200;
  hole.depth = 250;
  hole.path = {{0, 20, 50, 200}, {100, 80, 50, 120}, {250, 170, 50, 0}};
  hole.intervals = std::move(logged);
  return hole;
}

BoreholeCheck check(const LogicalModel& model, const std::vector<GridSurface>& grids,
                    std::vector<Borehole> holes, int threads = 1) {
  BoreholeSet set;
  set.holes = std::move(holes);
  return checkBoreholes({model, grids, set, {threads, nullptr}});
}

BoreholeCheck check(const std::vector<GridSurface>& grids, std::vector<Borehole> holes,
                    int threads = 1) {
  static const LogicalModel model = twoLayers();
  return check(model, grids, std::move(holes), threads);
}

// Two boundaries under a ground at 200 m; unit 3 lies above boundary 2 and, when `eroding`,
// whatever side of boundary 1 it is on, so boundary 1 above boundary 2 is no contact.
LogicalModel threeUnits(bool eroding) {
  LogicalModel model = allocateModel(2);
  const std::int16_t cells[3][2] = {
      {-1, -1}, {1, -1}, {eroding ? std::int16_t{0} : std::int16_t{1}, 1}};
  for (int unit = 1; unit <= 3; ++unit) {
    for (int k = 1; k <= 2; ++k) model.modelCell(unit, k) = cells[unit - 1][k - 1];
  }
  buildUnitOfPattern(model);
  return model;
}

std::vector<GridSurface> flatGrids(double first, double second) {
  const auto flat = [](double z) {
    return makeGrid(31, 31, 0, 0, 10, 10, [z](double, double) { return z; });
  };
  return {GridSurface{}, flat(first), flat(second), flat(200)};
}

std::vector<LoggedInterval> twoIntervals(double bottom) {
  return {{0, 150, "a", kAbove}, {150, bottom, "b", kBelow}};
}

struct ResidualCase {
  const char* what;
  double tilt;
  Borehole hole;
  double modelledDepth, modelledZ, residual;
};

// Planes are bilinear grids exactly, so the crossing is where the hole's line meets the plane.
TEST(BoreholeCheck, ResidualIsLoggedMinusModelledElevationOfTheCrossing) {
  const ResidualCase cases[] = {
      {"vertical hole, flat plane at 100 m, contact logged 5 m below it", 0.0,
       verticalHole(50, 50, 200, {{0, 105, "a", kAbove}, {105, 200, "b", kBelow}}), 100, 100, -5},
      {"vertical hole, tilted plane at 105 m under x = 50, logged 3 m above", 0.1,
       verticalHole(50, 50, 200, {{0, 92, "a", kAbove}, {92, 200, "b", kBelow}}), 95, 105, 3},
      // 200 - 0.8 d = 100 + 0.1 (20 + 0.6 d) gives d = 98 / 0.86 and z = 200 - 0.8 d; the log
      // puts the contact at d = 120, z = 104.
      {"slanted hole through a tilted plane", 0.1,
       slantedHole({{0, 120, "a", kAbove}, {120, 250, "b", kBelow}}), 98 / 0.86,
       200 - 0.8 * 98 / 0.86, 104 - (200 - 0.8 * 98 / 0.86)},
  };
  for (const ResidualCase& c : cases) {
    const BoreholeCheck result = check(planarGrids(100, c.tilt), {c.hole});
    ASSERT_EQ(result.contacts.size(), 1U) << c.what;
    const ContactCheck& contact = result.contacts[0];
    EXPECT_EQ(contact.status, ContactStatus::Modelled) << c.what;
    EXPECT_EQ(contact.boundary, 1) << c.what;
    EXPECT_NEAR(contact.modelledDepth, c.modelledDepth, 1e-6) << c.what;
    EXPECT_NEAR(contact.modelledZ, c.modelledZ, 1e-6) << c.what;
    EXPECT_NEAR(contact.residual, c.residual, 1e-6) << c.what;
    EXPECT_NEAR(contact.z - contact.residual, contact.modelledZ, 1e-9) << c.what;
    EXPECT_NEAR(result.boundaries[1].meanAbsolute, std::abs(c.residual), 1e-6) << c.what;
  }
}

TEST(BoreholeCheck, ContactOfUnitsSeparatedByTwoBoundariesIsCheckedAgainstEach) {
  // Unit 3 logged straight over unit 1 at 80 m: unit 2 between 50 and 100 m is missing.
  const BoreholeCheck result =
      check(threeUnits(false), flatGrids(50, 100),
            {verticalHole(50, 50, 200, {{0, 120, "c", 3}, {120, 200, "a", 1}})});
  ASSERT_EQ(result.contacts.size(), 2U);
  EXPECT_EQ(result.contacts[0].boundary, 1);
  EXPECT_NEAR(result.contacts[0].residual, 30, 1e-6);
  EXPECT_EQ(result.contacts[1].boundary, 2);
  EXPECT_NEAR(result.contacts[1].residual, -20, 1e-6);
  EXPECT_EQ(result.boundaries[1].modelled, 1);
  EXPECT_EQ(result.boundaries[2].modelled, 1);
}

TEST(BoreholeCheck, BoundaryCrossedWhereItIsNoContactDoesNotCount) {
  // Boundary 1 at 150 m lies above boundary 2 at 100 m, inside unit 3: the model has unit 3
  // down to 100 m and unit 1 below, so the logged 2/1 contact has no crossing to compare with.
  const BoreholeCheck result = check(
      threeUnits(true), flatGrids(150, 100),
      {verticalHole(50, 50, 200, {{0, 100, "c", 3}, {100, 120, "b", 2}, {120, 200, "a", 1}})});
  ASSERT_EQ(result.contacts.size(), 2U);
  EXPECT_EQ(result.contacts[0].boundary, 2);
  EXPECT_EQ(result.contacts[0].status, ContactStatus::Modelled);
  EXPECT_NEAR(result.contacts[0].residual, 0, 1e-6);
  EXPECT_EQ(result.contacts[1].boundary, 1);
  EXPECT_EQ(result.contacts[1].status, ContactStatus::NotInModel);
}

TEST(BoreholeCheck, CancelledCheckThrows) {
  const LogicalModel model = twoLayers();
  const std::vector<GridSurface> grids = planarGrids(100, 0);
  BoreholeSet set;
  set.holes = {verticalHole(50, 50, 200, twoIntervals(200))};
  const std::atomic<bool> cancelled{true};
  EXPECT_THROW(checkBoreholes({model, grids, set, {2, &cancelled}}), BoreholeCheckCancelled);
}

TEST(BoreholeCheck, LoggedContactSitsOnTheHoleAtItsDepth) {
  const BoreholeCheck result =
      check(planarGrids(100, 0.1), {slantedHole({{0, 120, "a", kAbove}, {120, 250, "b", kBelow}})});
  ASSERT_EQ(result.contacts.size(), 1U);
  EXPECT_DOUBLE_EQ(result.contacts[0].depth, 120);
  EXPECT_NEAR(result.contacts[0].x, 20 + 0.6 * 120, 1e-9);
  EXPECT_NEAR(result.contacts[0].y, 50, 1e-9);
  EXPECT_NEAR(result.contacts[0].z, 104, 1e-9);
}

TEST(BoreholeCheck, AgreementIsTheShareOfTheLengthInTheLoggedUnit) {
  // The model has unit 2 down to 100 m depth (the plane at 100 m) and unit 1 below.
  const BoreholeCheck result = check(
      planarGrids(100, 0),
      {verticalHole(50, 50, 200,
                    {{0, 50, "a", kAbove}, {50, 150, "a", kAbove}, {150, 200, "b", kBelow}})});
  ASSERT_EQ(result.intervals.size(), 3U);
  const double expected[] = {1.0, 0.5, 1.0};
  for (int n = 0; n < 3; ++n) {
    EXPECT_NEAR(result.intervals[n].agreement(), expected[n], 1e-9) << n;
  }
  const IntervalCheck& split = result.intervals[1];
  ASSERT_EQ(split.modelled.size(), 2U);
  EXPECT_EQ(split.modelled[0].unit, kAbove);
  EXPECT_NEAR(split.modelled[0].length, 50, 1e-6);
  EXPECT_EQ(split.modelled[1].unit, kBelow);
  EXPECT_NEAR(split.modelled[1].length, 50, 1e-6);
  EXPECT_NEAR(result.holes[0].summary.agreementPercent(), 75, 1e-6);
  EXPECT_NEAR(result.all.agreementPercent(), 75, 1e-6);
  // Two intervals of one unit meet at no contact.
  ASSERT_EQ(result.contacts.size(), 1U);
  EXPECT_EQ(result.contacts[0].upper, 1);
  EXPECT_NEAR(result.contacts[0].residual, -50, 1e-6);
}

TEST(BoreholeCheck, ContactWithoutAModelledCrossingInTheHoleIsNotInTheModel) {
  // The hole ends at 150 m, above the plane at 100 m, but logs unit 1 from 30 m down.
  const BoreholeCheck result =
      check(planarGrids(100, 0),
            {verticalHole(50, 50, 50, {{0, 30, "a", kAbove}, {30, 50, "b", kBelow}})});
  ASSERT_EQ(result.contacts.size(), 1U);
  EXPECT_EQ(result.contacts[0].status, ContactStatus::NotInModel);
  EXPECT_TRUE(std::isnan(result.contacts[0].residual));
  EXPECT_EQ(result.all.notInModel, 1);
  EXPECT_EQ(result.boundaries[1].notInModel, 1);
  EXPECT_TRUE(std::isnan(result.boundaries[1].meanAbsolute));
}

TEST(BoreholeCheck, UnitTheModelDoesNotHaveIsNeitherComparedNorAContact) {
  const BoreholeCheck result =
      check(planarGrids(100, 0),
            {verticalHole(50, 50, 200,
                          {{0, 60, "a", kAbove}, {60, 120, "fill", 0}, {120, 200, "b", kBelow}})});
  ASSERT_EQ(result.intervals.size(), 3U);
  EXPECT_TRUE(std::isnan(result.intervals[1].agreement()));
  EXPECT_DOUBLE_EQ(result.intervals[1].compared(), 0);
  EXPECT_NEAR(result.all.unknownUnit, 60, 1e-9);
  EXPECT_NEAR(result.all.compared, 140, 1e-6);
  EXPECT_NEAR(result.all.agreementPercent(), 100, 1e-6);
  EXPECT_TRUE(result.contacts.empty());
}

struct NoModelCase {
  const char* what;
  std::vector<GridSurface> grids;
  Borehole hole;
  double noModel[2];  // of the two intervals
  ContactStatus contact;
};

TEST(BoreholeCheck, WhereTheModelSaysNothingNeitherAgreesNorDisagrees) {
  Borehole aboveGround = verticalHole(50, 50, 200, twoIntervals(200));
  for (HoleStation& s : aboveGround.path) s.z += 20;  // the collar 20 m above the ground
  Borehole leaving = slantedHole(twoIntervals(250));
  for (HoleStation& s : leaving.path) s.x += 160;  // at x = 300, the grids' edge, at 200 m
  std::vector<GridSurface> gap = planarGrids(100, 0);
  gap[1].missing = MissingNodes(31, 31);
  gap[1].missing.set(7, 7);  // a corner of the cell from (50, 50) to (60, 60)
  const std::vector<GridSurface> plane = planarGrids(100, 0);
  const NoModelCase cases[] = {
      {"hole beyond the grids",
       plane,
       verticalHole(5000, 50, 200, twoIntervals(200)),
       {150, 50},
       ContactStatus::OutsideModel},
      {"collar above the display surface", plane, aboveGround, {20, 0}, ContactStatus::Modelled},
      {"slanted hole leaving the grids", plane, leaving, {0, 50}, ContactStatus::Modelled},
      {"boundary without a value in the hole's cell",
       gap,
       verticalHole(55, 55, 200, twoIntervals(200)),
       {150, 50},
       ContactStatus::OutsideModel},
  };
  for (const NoModelCase& c : cases) {
    const BoreholeCheck result = check(c.grids, {c.hole});
    ASSERT_EQ(result.intervals.size(), 2U) << c.what;
    for (int n = 0; n < 2; ++n) {
      const IntervalCheck& i = result.intervals[n];
      EXPECT_NEAR(i.noModel, c.noModel[n], 1e-6) << c.what << " " << n;
    }
    ASSERT_EQ(result.contacts.size(), 1U) << c.what;
    EXPECT_EQ(result.contacts[0].status, c.contact) << c.what;
  }
  const BoreholeCheck outside = check(planarGrids(100, 0), {cases[0].hole});
  EXPECT_TRUE(std::isnan(outside.holes[0].summary.agreementPercent()));
  ASSERT_EQ(outside.intervals[0].modelled.size(), 1U);
  EXPECT_EQ(outside.intervals[0].modelled[0].unit, kNoModel);
  EXPECT_EQ(outside.all.outsideModel, 1);
}

TEST(BoreholeCheck, WorstFirstPutsContactsNotInTheModelThenTheLargestResiduals) {
  const BoreholeCheck result =
      check(planarGrids(100, 0),
            {verticalHole(10, 50, 200, {{0, 102, "a", kAbove}, {102, 200, "b", kBelow}}),  // -2
             verticalHole(5000, 50, 200, twoIntervals(200)),                             // outside
             verticalHole(30, 50, 200, {{0, 90, "a", kAbove}, {90, 200, "b", kBelow}}),  // +10
             verticalHole(40, 50, 50, {{0, 30, "a", kAbove}, {30, 50, "b", kBelow}})});  // none
  ASSERT_EQ(result.contacts.size(), 4U);
  EXPECT_EQ(result.contacts[1].status, ContactStatus::OutsideModel);
  const std::vector<std::size_t> expected = {3, 2, 0, 1};
  EXPECT_EQ(worstFirst(result), expected);
  EXPECT_NEAR(result.boundaries[1].largestAbsolute, 10, 1e-6);
  EXPECT_NEAR(result.boundaries[1].meanAbsolute, 6, 1e-6);
  EXPECT_NEAR(result.holes[2].summary.largestResidual, 10, 1e-6);
}

TEST(BoreholeCheck, ResultIsTheSameOnAnyNumberOfThreads) {
  std::vector<Borehole> holes;
  for (int n = 0; n < 200; ++n) {
    const double at = 80 + n % 40;
    holes.push_back(
        verticalHole(n % 300, (n * 7) % 300, 200, {{0, at, "a", kAbove}, {at, 200, "b", kBelow}}));
    holes.back().id = std::to_string(n);
  }
  holes.push_back(slantedHole(twoIntervals(250)));
  const BoreholeCheck one = check(planarGrids(100, 0.05), holes, 1);
  const BoreholeCheck four = check(planarGrids(100, 0.05), holes, 4);
  ASSERT_EQ(one.contacts.size(), holes.size());
  ASSERT_EQ(four.contacts.size(), one.contacts.size());
  for (std::size_t n = 0; n < one.contacts.size(); ++n) {
    EXPECT_EQ(four.contacts[n].hole, static_cast<int>(n));
    EXPECT_EQ(four.contacts[n].residual, one.contacts[n].residual) << n;
  }
  EXPECT_EQ(four.holes.back().id, "S1");
}

}  // namespace
}  // namespace kalvenor
