// The light of the shaded relief: as GDAL's hillshade lights the display surface, and what it
// does to the colour of a cell.
#include "render/relief_light.h"

#include <gdal.h>
#include <gdal_utils.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../evaluation/grid_fixtures.h"
#include "model/coordinate_system.h"
#include "model/grid_surface.h"
#include "test_paths.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

constexpr double kNoData = -99999;

// GDAL's grey level of every node, by `gdaldem hillshade -compute_edges` on a north-up raster
// whose pixel centres are the display nodes; 0 where a node has no height.
class GdalHillshade {
 public:
  GdalHillshade(const DisplaySurface& d, double azimuth, double altitude, double zFactor) : d_(d) {
    GDALAllRegister();
    GDALDatasetH nodes =
        GDALCreate(GDALGetDriverByName("MEM"), "", d.Nx, d.Ny, 1, GDT_Float64, nullptr);
    double transform[6] = {std::min(d.x(1), d.x(d.Nx)) - std::abs(d.Dx) / 2,
                           std::abs(d.Dx),
                           0,
                           std::max(d.y(1), d.y(d.Ny)) + std::abs(d.Dy) / 2,
                           0,
                           -std::abs(d.Dy)};
    GDALSetGeoTransform(nodes, transform);
    GDALRasterBandH band = GDALGetRasterBand(nodes, 1);
    GDALSetRasterNoDataValue(band, kNoData);
    std::vector<double> row(d.Nx);
    for (int r = 0; r < d.Ny; ++r) {
      for (int c = 0; c < d.Nx; ++c) {
        const int i = column(c), j = rowNode(r);
        row[c] = d.missing.at(i, j) ? kNoData : d.dispZ(i, j);
      }
      EXPECT_EQ(GDALRasterIO(band, GF_Write, 0, r, d.Nx, 1, row.data(), d.Nx, 1, GDT_Float64, 0, 0),
                CE_None);
    }
    const std::string az = std::to_string(azimuth), alt = std::to_string(altitude),
                      z = std::to_string(zFactor);
    const char* args[] = {"-of",       "MEM", "-compute_edges", "-az",  az.c_str(), "-alt",
                          alt.c_str(), "-z",  z.c_str(),        nullptr};
    GDALDEMProcessingOptions* options =
        GDALDEMProcessingOptionsNew(const_cast<char**>(args), nullptr);
    GDALDatasetH shaded = GDALDEMProcessing("", nodes, "hillshade", nullptr, options, nullptr);
    GDALDEMProcessingOptionsFree(options);
    grey_.assign(static_cast<std::size_t>(d.Nx) * d.Ny, 0);
    if (shaded) {
      EXPECT_EQ(GDALRasterIO(GDALGetRasterBand(shaded, 1), GF_Read, 0, 0, d.Nx, d.Ny, grey_.data(),
                             d.Nx, d.Ny, GDT_Float64, 0, 0),
                CE_None);
      GDALClose(shaded);
    }
    GDALClose(nodes);
    EXPECT_NE(shaded, nullptr) << CPLGetLastErrorMsg();
  }

  double at(int i, int j) const {
    const int c = d_.Dx > 0 ? i - 1 : d_.Nx - i;
    const int r = d_.Dy > 0 ? d_.Ny - j : j - 1;
    return grey_[static_cast<std::size_t>(r) * d_.Nx + c];
  }

 private:
  int column(int c) const { return d_.Dx > 0 ? c + 1 : d_.Nx - c; }
  int rowNode(int r) const { return d_.Dy > 0 ? d_.Ny - r : r + 1; }

  const DisplaySurface& d_;
  std::vector<double> grey_;
};

DisplaySurface exampleSurface(const std::string& file, const std::string& srs) {
  LoadJitter jitter;
  const GridReading reading{srs.empty() ? "" : projectedSystemWkt(srs)};
  return makeDisplaySurface(readGridSurface(KALVENOR_EXAMPLES_DIR + file, reading), jitter);
}

bool corner(const DisplaySurface& d, int i, int j) {
  return (i == 1 || i == d.Nx) && (j == 1 || j == d.Ny);
}

// Every node with a height, edges and the outline of NODATA included, within 2 grey levels of
// gdaldem's 1 + 254 x light. Only the four corners are left out: gdaldem repeats a corner's
// column there and halves its east-west slope, where the light here carries the surface on in a
// straight line both ways.
TEST(ReliefLight, AgreesWithGdalHillshadeOnTheExamplesSurfaces) {
  struct Case {
    const char* file;
    const char* srs;
    double azimuth, altitude, zFactor;
  };
  const Case cases[] = {{"/folded-basin/topography.txt", "", 315, 45, 1},
                        {"/folded-basin/topography.tif", "", 200, 30, 3},
                        {"/clipped-dem/dem.tif", "EPSG:6677", 90, 60, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const DisplaySurface d = exampleSurface(c.file, c.srs);
    const ReliefLight light(d, {true, c.azimuth, c.altitude, 0.5}, c.zFactor, {.threads = 2});
    const GdalHillshade gdal(d, c.azimuth, c.altitude, c.zFactor);
    double worst = 0;
    int compared = 0;
    for (int i = 1; i <= d.Nx; ++i) {
      for (int j = 1; j <= d.Ny; ++j) {
        if (d.missing.at(i, j) || corner(d, i, j)) continue;
        const double mine = 1 + 254 * light.atNode(i, j);
        EXPECT_NEAR(mine, gdal.at(i, j), 2) << "node " << i << ", " << j;
        worst = std::max(worst, std::abs(mine - gdal.at(i, j)));
        ++compared;
      }
    }
    EXPECT_GT(compared, d.Nx * d.Ny / 2);
    RecordProperty(std::string("largest grey difference, ") + c.file, std::to_string(worst));
  }
}

// A plane rising 1 in 1 to the east faces west, 45 degrees from the zenith.
DisplaySurface risingEast(double rise) {
  return exactDisplaySurface(
      makeGrid(3, 3, 0, 0, 10, 10, [rise](double x, double) { return rise * x; }));
}

TEST(ReliefLight, DarkensTheColourByTheStrengthTimesTheShade) {
  struct Case {
    const char* what;
    double rise, zFactor, azimuth, altitude, strength;
    PackedColor lit;
  };
  const PackedColor colour = packRgb(200, 100, 60);
  const Case cases[] = {
      {"facing the light", 1, 1, 270, 45, 0.5, colour},
      {"turned away from it", 1, 1, 90, 45, 0.5, packRgb(100, 50, 30)},
      {"turned away, at full strength", 1, 1, 90, 45, 1, kBlack},
      {"flat, the light 30 degrees high", 0, 1, 0, 30, 0.5, packRgb(150, 75, 45)},
      {"at no strength", 1, 1, 90, 45, 0, colour},
      {"half as steep, twice exaggerated", 0.5, 2, 270, 45, 0.5, colour},
      {"half as steep, not exaggerated", 0.5, 1, 90, 45, 1, packRgb(63, 32, 19)},
  };
  for (const Case& c : cases) {
    const ReliefLight light(risingEast(c.rise), {true, c.azimuth, c.altitude, c.strength},
                            c.zFactor);
    EXPECT_EQ(light.shade(colour, cellNodes(1, 1, 2, 2)), c.lit) << c.what;
  }
}

// A cell takes the mean light of its corners, whichever corner it is drawn from.
TEST(ReliefLight, ACellIsLitByTheMeanOfItsCorners) {
  // Flat in the west, rising ever more steeply toward the east.
  const DisplaySurface d = exactDisplaySurface(
      makeGrid(4, 3, 0, 0, 10, 10, [](double x, double) { return x * x / 20; }));
  const ReliefLight light(d, {true, 270, 45, 1}, 1);
  const float mean =
      (light.atNode(2, 1) + light.atNode(3, 1) + light.atNode(2, 2) + light.atNode(3, 2)) / 4;
  const PackedColor lit = light.shade(packRgb(200, 0, 0), cellNodes(2, 1, 3, 2));
  EXPECT_NEAR(redOf(lit), 200 * mean, 1);
  EXPECT_EQ(light.shade(packRgb(200, 0, 0), cellNodes(3, 2, 2, 1)), lit);
  EXPECT_GT(200 * std::abs(light.atNode(2, 1) - light.atNode(3, 1)), 10);
}

TEST(ReliefLight, ALightBelowTheHorizonOrAStrengthBeyondOneIsNamed) {
  const std::pair<ReliefShading, const char*> cases[] = {
      {{true, 315, -1, 0.5}, "0 to 90 degrees above the horizon; found -1"},
      {{true, 315, 91, 0.5}, "0 to 90 degrees above the horizon; found 91"},
      {{true, 315, 45, 1.5}, "between 0 and 1; found 1.5"},
      {{true, 315, 45, -0.1}, "between 0 and 1; found -0.1"}};
  for (const auto& [shading, message] : cases) {
    EXPECT_THAT(shadingProblem(shading).value_or(""), HasSubstr(message));
  }
  for (const ReliefShading good :
       {ReliefShading{true, -30, 0, 0}, ReliefShading{true, 400, 90, 1}}) {
    EXPECT_EQ(shadingProblem(good), std::nullopt);
  }
}

}  // namespace
}  // namespace kalvenor
