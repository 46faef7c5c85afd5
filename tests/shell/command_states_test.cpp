#include "shell/progress_flags.h"

#include <gtest/gtest.h>

namespace kalvenor {
namespace {

ProgressFlags viewed() {
  ProgressFlags flags;
  flags.viewReady = 1;
  return flags;
}

TEST(CommandStates, NothingDrawsBeforeAViewIsApplied) {
  ProgressFlags flags;
  flags.modelReady = 1;
  flags.mapGridState = 1;
  flags.sectionGridState = 1;
  flags.contourReady = 1;
  EXPECT_EQ(commandStates(flags), CommandStates{});
}

TEST(CommandStates, WithAViewButNoModelOnlyGridLinesAndContours) {
  ProgressFlags flags = viewed();
  flags.mapGridState = 1;
  flags.sectionGridState = 1;
  EXPECT_EQ(commandStates(flags), (CommandStates{.grid = true}));
  flags.contourReady = 1;
  EXPECT_EQ(commandStates(flags), (CommandStates{.contour = true, .grid = true}));
}

TEST(CommandStates, TheMapNeedsTheCurrentMapGridTheSectionAnySectionGrid) {
  ProgressFlags flags = viewed();
  flags.modelReady = 1;
  flags.mapGridState = 1;
  EXPECT_EQ(commandStates(flags), (CommandStates{.geoMap = true, .grid = true}));

  flags.mapGridState = 2;
  flags.sectionGridState = 2;
  EXPECT_EQ(commandStates(flags),
            (CommandStates{.geoSection = true, .geoSectionLine = true, .grid = true}));
}

}  // namespace
}  // namespace kalvenor
