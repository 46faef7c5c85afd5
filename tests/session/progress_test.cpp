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

// Both grids are kept side by side: a build of one kind supersedes the other without disabling
// its commands.
TEST(CommandStates, EachPictureNeedsOnlyItsOwnGrid) {
  Progress progress = viewed();
  progress.modelEntered(true);
  progress.mapGridBuilt();
  EXPECT_EQ(progress.commands(), (CommandStates{.geoMap = true, .grid = true}));

  progress.sectionGridBuilt();
  EXPECT_EQ(progress.mapGrid(), GridState::Superseded);
  const CommandStates both{
      .geoMap = true, .geoSection = true, .geoSectionLine = true, .grid = true};
  EXPECT_EQ(progress.commands(), both);
  progress.sectionDrawn();
  EXPECT_EQ(progress.commands(), both);
  progress.mapGridBuilt();
  EXPECT_EQ(progress.sectionGrid(), GridState::Superseded);
  EXPECT_EQ(progress.commands(), both);
  progress.gridsDropped();
  EXPECT_EQ(progress.commands(), (CommandStates{.grid = true}));
}

TEST(Progress, TheGridStatesMoveWithEachEvent) {
  Progress progress;
  progress.sectionGridBuilt();
  progress.mapDrawn();  // a map drawn over a current section supersedes it
  EXPECT_EQ(progress.sectionGrid(), GridState::Superseded);
  progress.mapGridBuilt();
  progress.sectionDrawn();  // a section drawn over a current map supersedes it
  EXPECT_EQ(progress.mapGrid(), GridState::Superseded);
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
