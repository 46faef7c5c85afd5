// The bundled folded basin's boreholes, logged from the example's own surfaces with a few
// decimetres of noise, checked against the model built from its grids: the two misfits the
// example plants are found, and everything else agrees.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "evaluation/borehole_check.h"
#include "evaluation/grid_builds.h"
#include "model/borehole_reader.h"
#include "test_paths.h"

namespace kalvenor {
namespace {

// The logs move every contact by up to 0.3 m along the hole; the bilinear grids stand up to
// about 0.25 m off the smooth surfaces the logs were taken from, where the fold bends most.
constexpr double kNoise = 0.6;

std::string example(const std::string& name) {
  return KALVENOR_EXAMPLES_DIR "/folded-basin/" + name;
}

// The model, its boundary grids and the display surface read and built as a session does, and
// the boreholes read against them and checked.
class ExampleBoreholes : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(buildUnitOfPattern(model_));
    LoadJitter jitter;
    const auto display = std::make_shared<const DisplaySurface>(
        makeDisplaySurface(readGridSurface(example("topography.txt")), jitter));
    const std::vector<std::string> files = {
        "", example("limestone_top.txt"), example("sandstone_top.txt"), example("mudstone_top.txt"),
        example("unconformity.txt")};
    grids_ = buildMapGrid({model_, files, display, 0.0}, {}, MapParts::SurfaceOnly).boundaryGrids;
    BoreholeFiles tables;
    tables.collars = example("collars.csv");
    tables.surveys = example("surveys.csv");
    tables.intervals = example("intervals.csv");
    set_ = readBoreholes(tables, model_, {});
    check_ = checkBoreholes({model_, grids_, set_});
  }

  std::string holeOf(const ContactCheck& c) const { return set_.holes[c.hole].id; }

  LogicalModel model_ = readLogicalModel(example("model.txt"));
  std::vector<GridSurface> grids_;
  BoreholeSet set_;
  BoreholeCheck check_;
};

// A hole is deviated when its bottom lies more than a metre aside of its collar.
bool deviated(const Borehole& h) {
  return std::hypot(h.path.back().x - h.x, h.path.back().y - h.y) > 1.0;
}

TEST_F(ExampleBoreholes, TwentyFiveHolesAreReadFiveOfThemDeviatedEachCrossingContacts) {
  ASSERT_EQ(set_.holes.size(), 25u);
  std::vector<std::string> deviatedIds;
  for (const Borehole& h : set_.holes) {
    if (deviated(h)) deviatedIds.push_back(h.id);
    ASSERT_GE(h.intervals.size(), 3u) << h.id;  // at least two contacts
    EXPECT_EQ(h.intervals.front().from, 0) << h.id;
    EXPECT_EQ(h.intervals.back().to, h.depth) << h.id;
  }
  EXPECT_EQ(deviatedIds, (std::vector<std::string>{"BH04", "BH09", "BH13", "BH18", "BH22"}));
}

// The contacts the example logs off the model on purpose; every other one lies within the noise.
struct PlantedResidual {
  const char* hole;
  int boundary;
  double residual;
};
constexpr PlantedResidual kPlanted[] = {
    {"BH08", 1, -15.0},  // the limestone's top logged 15 m deeper than modelled
};

TEST_F(ExampleBoreholes, ResidualsAreThePlantedMisfitAndWithinTheNoiseElsewhere) {
  ASSERT_GE(check_.contacts.size(), 50u);
  int planted = 0;
  for (const ContactCheck& c : check_.contacts) {
    SCOPED_TRACE(holeOf(c) + ", boundary " + std::to_string(c.boundary) + " at depth " +
                 std::to_string(c.depth));
    ASSERT_EQ(c.status, ContactStatus::Modelled);
    double expected = 0.0;
    for (const PlantedResidual& p : kPlanted) {
      if (holeOf(c) == p.hole && c.boundary == p.boundary) {
        expected = p.residual;
        ++planted;
      }
    }
    EXPECT_NEAR(c.residual, expected, kNoise);
  }
  EXPECT_EQ(planted, static_cast<int>(std::size(kPlanted)));
  EXPECT_EQ(holeOf(check_.contacts[worstFirst(check_).front()]), "BH08");
}

TEST_F(ExampleBoreholes, TheSillTheModelLacksIsCountedAsUnmatchedAndNotCompared) {
  EXPECT_EQ(set_.unmatchedIntervals, 1);
  EXPECT_EQ(set_.unmatchedNames, std::vector<std::string>{"玄武岩"});
  int found = 0;
  for (const IntervalCheck& i : check_.intervals) {
    if (i.unit > 0) continue;
    ++found;
    EXPECT_EQ(set_.holes[i.hole].id, "BH07");
    EXPECT_NEAR(i.to - i.from, 4.0, 1e-9);
    EXPECT_EQ(i.compared(), 0.0);
  }
  EXPECT_EQ(found, 1);
  EXPECT_NEAR(check_.all.unknownUnit, 4.0, 1e-9);
}

// The length of each hole whose log disagrees with the model: the 15 m the limestone's top was
// moved down in BH08, and elsewhere no more than the noise at each of the hole's contacts.
TEST_F(ExampleBoreholes, AgreementIsHighSaveOverTheContactLoggedTooDeep) {
  for (const HoleSummary& h : check_.holes) {
    const double disagreeing = h.summary.compared - h.summary.agreeing;
    EXPECT_NEAR(disagreeing, h.id == "BH08" ? 15.0 : 0.0, kNoise * h.summary.contacts) << h.id;
    EXPECT_LT(h.summary.noModel, 0.5) << h.id;  // only where a collar stands above the grid
  }
  EXPECT_GT(check_.all.agreementPercent(), 99.5);
}

}  // namespace
}  // namespace kalvenor
