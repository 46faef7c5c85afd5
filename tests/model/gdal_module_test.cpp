// The GDAL module as the two programs use it: like them, this test links the calls that load the
// module rather than GDAL.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "model/borehole_reader.h"
#include "model/coordinate_system.h"
#include "model/grid_surface.h"
#include "model/input_names.h"
#include "model/read_error.h"
#include "temp_file.h"
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

// Tables are read through the module as well, and their failures come back the same way.
TEST(GdalModule, ReadsTablesThroughTheModule) {
  const TempFile collars("hole_id,x,y,z\nBH1,10,20,30\n", ".csv");
  const TempFile intervals("hole_id,from,to,unit\nBH1,0,5,a\nBH2,0,5,a\n", ".csv");
  LogicalModel model = allocateModel(1);
  BoreholeFiles files;
  files.collars = collars.path();
  EXPECT_EQ(readBoreholes(files, model, {}).holes.at(0).y, 20);
  files.intervals = intervals.path();
  EXPECT_THROW(readBoreholes(files, model, {}), ReadError);
}

}  // namespace
}  // namespace kalvenor
