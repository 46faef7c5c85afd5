#include "session/progress.h"

#include <gtest/gtest.h>

namespace kalvenor {
namespace {

Progress viewed() {
  Progress progress;
  progress.viewApplied(true);
  return progress;
}

TEST(CommandStates, NothingDrawsBeforeAViewIsApplied) {
  Progress progress;
  progress.modelEntered(true);
  progress.mapGridBuilt();
  progress.contoursSet(true);
  progress.viewApplied(false);  // a magnification of 0 does not make the view ready
  EXPECT_EQ(progress.commands(), CommandStates{});
}

TEST(CommandStates, WithAViewButNoModelOnlyGridLinesAndContours) {
  Progress progress = viewed();
  progress.mapGridBuilt();
  progress.sectionGridBuilt();
  EXPECT_EQ(progress.commands(), (CommandStates{.grid = true}));
  progress.contoursSet(true);
  EXPECT_EQ(progress.commands(), (CommandStates{.contour = true, .grid = true}));
}

TEST(CommandStates, TheMapNeedsTheCurrentMapGridTheSectionAnySectionGrid) {
  Progress progress = viewed();
  progress.modelEntered(true);
  progress.mapGridBuilt();
  EXPECT_EQ(progress.commands(), (CommandStates{.geoMap = true, .grid = true}));

  progress.sectionGridBuilt();  // the map grid is superseded
  EXPECT_EQ(progress.commands(),
            (CommandStates{.geoSection = true, .geoSectionLine = true, .grid = true}));
  progress.mapGridBuilt();  // the section stays drawable, superseded
  EXPECT_EQ(progress.sectionGrid(), GridState::Superseded);
  EXPECT_TRUE(progress.commands().geoMap && progress.commands().geoSection);
}

TEST(Progress, TheGridStatesMoveWithEachEvent) {
  Progress progress;
  progress.sectionGridBuilt();
  progress.mapDrawn();  // a map drawn over a current section supersedes it
  EXPECT_EQ(progress.sectionGrid(), GridState::Superseded);
  progress.mapGridBuilt();
  progress.sectionDrawn();  // the map waits for its grid to be built again
  EXPECT_EQ(progress.mapGrid(), GridState::None);
  progress.gridsDropped();
  EXPECT_EQ(progress.sectionGrid(), GridState::None);
  progress.viewApplied(true);
  progress.viewApplied(false);  // once ready, a view stays ready
  EXPECT_TRUE(progress.viewReady());
  progress.modelEntered(false);
  EXPECT_TRUE(progress.modelReady());
  EXPECT_FALSE(progress.modelComplete());
  progress.modelCleared();
  EXPECT_FALSE(progress.modelReady());
}

}  // namespace
}  // namespace kalvenor
