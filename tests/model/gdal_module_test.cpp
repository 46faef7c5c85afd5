// The GDAL module as the two programs use it: like them, this test links the calls that load the
// module rather than GDAL.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "model/coordinate_system.h"
#include "model/grid_surface.h"
#include "model/input_names.h"
#include "model/read_error.h"
#include "test_paths.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

bool gdalIsLoaded() {
  std::ifstream maps("/proc/self/maps");
  std::stringstream text;
  text << maps.rdbuf();
  return text.str().find("/libgdal.so") != std::string::npos;
}

TEST(GdalModule, IsLoadedByTheFirstCallThatNeedsGdal) {
  const std::string grid = KALVENOR_EXAMPLES_DIR "/folded-basin/topography.txt";
  EXPECT_GT(readGridSurface(grid).Nx, 0);
  EXPECT_FALSE(gdalIsLoaded());
  EXPECT_THAT(projectedSystemWkt("EPSG:6677"), HasSubstr("JGD2011"));
  EXPECT_TRUE(gdalIsLoaded());
}

// The module's failures reach the program as the program's own errors, in its words for the
// inputs (the window names its controls).
TEST(GdalModule, ReportsInTheProgramsWords) {
  setInputNames({{"--srs", "the projected system box"}});
  try {
    readGridSurface(KALVENOR_EXAMPLES_DIR "/clipped-dem/dem.tif");
    ADD_FAILURE() << "a raster in degrees was read without a system to warp it into";
  } catch (const ReadError& error) {
    EXPECT_THAT(error.what(), HasSubstr("the projected system box EPSG:6677"));
  }
  EXPECT_THROW(projectedSystemWkt("EPSG:99999"), CoordinateSystemError);
}

}  // namespace
}  // namespace kalvenor
