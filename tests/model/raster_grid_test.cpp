// Grids from rasters through GDAL: where the nodes lie, what the values become, what is refused,
// and that the own text format is never taken for a raster.
#include "model/raster_grid.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <optional>

#include "../evaluation/grid_fixtures.h"
#include "evaluation/classification.h"
#include "model/boundary_grids.h"
#include "model/coordinate_system.h"
#include "model/display_surface.h"
#include "model/file_stamp.h"
#include "model/gdal_dataset.h"
#include "model/grid_surface.h"
#include "model/number_text.h"
#include "model/read_error.h"
#include "raster_files.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

std::string readFailure(const std::string& path, const GridReading& reading = {}) {
  try {
    readGridSurface(path, reading);
  } catch (const ReadError& error) {
    EXPECT_EQ(error.path(), path);
    return error.what();
  }
  ADD_FAILURE() << "accepted: " << path;
  return {};
}

// A surface with no two equal values and values a float32 cannot hold exactly.
GridSurface bumpyGrid() {
  return makeGrid(7, 5, 30000, 40000, 50, 25, [](double x, double y) {
    return 300.17 + 0.013 * (x - 30000) - 0.021 * (y - 40000) + std::sin(x / 70) * 9.3;
  });
}

void expectSameGrid(const GridSurface& read, const GridSurface& expected) {
  EXPECT_TRUE(sameNodes(read, expected))
      << read.Nx << " x " << read.Ny << " from " << read.Xmin << ", " << read.Ymin << " by "
      << read.Dx << ", " << read.Dy;
  EXPECT_EQ(read.z, expected.z);
  EXPECT_FALSE(read.missing.any());
}

class RasterGrid : public ::testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(RasterGrid, AnOwnGridWrittenAsGeoTiffOrEsriAsciiReadsBackNodeForNode) {
  TempFile text(gridFileText(bumpyGrid()));
  const GridSurface own = readGridSurface(text.path());
  expectSameGrid(readGridSurface(writeRaster(folder.file("g.tif"), northUpSpec(own))), own);
  expectSameGrid(readGridSurface(writeRaster(folder.file("g.asc"), northUpSpec(own), "AAIGrid")),
                 own);
}

TEST_F(RasterGrid, PixelCentresAreTheNodesWhicheverWayTheRowsAndColumnsRun) {
  RasterSpec spec;
  spec.width = 3;
  spec.height = 4;
  spec.value = [](int c, int r) { return 10 * c + r; };
  struct Case {
    std::array<double, 6> transform;
    double Xmin, Ymin;     // worked out by hand: the centre of the south-western pixel
    int cornerI, cornerJ;  // the node of the first pixel (top-left in the file)
  };
  for (const Case& c : {Case{{1000, 10, 0, 2000, 0, -5}, 1005, 1982.5, 1, 4},     // north-up
                        Case{{1000, 10, 0, 2000, 0, 5}, 1005, 2002.5, 1, 1},      // south-up
                        Case{{1000, -10, 0, 2000, 0, -5}, 975, 1982.5, 3, 4}}) {  // east to west
    spec.transform = c.transform;
    const GridSurface grid = readGridSurface(writeRaster(folder.file("r.tif"), spec));
    EXPECT_EQ(grid.Nx, 3);
    EXPECT_EQ(grid.Ny, 4);
    EXPECT_EQ(grid.Xmin, c.Xmin);
    EXPECT_EQ(grid.Ymin, c.Ymin);
    EXPECT_EQ(grid.Dx, 10);
    EXPECT_EQ(grid.Dy, 5);
    EXPECT_EQ(grid.z(c.cornerI, c.cornerJ), 0);
    const int eastI = c.transform[1] > 0 ? 3 : 1;  // column 2 of the file, row 0
    EXPECT_EQ(grid.z(eastI, c.cornerJ), 20);
    const int southJ = c.transform[5] < 0 ? 3 : 2;  // column 0, row 1
    EXPECT_EQ(grid.z(c.cornerI, southJ), 1);
  }
}

TEST_F(RasterGrid, AnEsriAsciiGridIsPlacedByItsCornerOrItsCentre) {
  const std::string values = "cellsize 10\n1 2 3\n4 5 6\n";
  TempFile corner("ncols 3\nnrows 2\nxllcorner 100\nyllcorner 200\n" + values, ".asc");
  TempFile centre("ncols 3\nnrows 2\nxllcenter 100\nyllcenter 200\n" + values, ".asc");
  const GridSurface fromCorner = readGridSurface(corner.path());
  EXPECT_EQ(fromCorner.Xmin, 105);
  EXPECT_EQ(fromCorner.Ymin, 205);
  EXPECT_EQ(fromCorner.z(1, 1), 4);  // the last line is the southern row
  EXPECT_EQ(fromCorner.z(3, 2), 3);
  const GridSurface fromCentre = readGridSurface(centre.path());
  EXPECT_EQ(fromCentre.Xmin, 100);
  EXPECT_EQ(fromCentre.Ymin, 200);
  EXPECT_EQ(fromCentre.z, fromCorner.z);
}

TEST_F(RasterGrid, APointRegisteredGeoTiffHasItsNodesWhereItsTiePointSays) {
  RasterSpec spec;
  spec.width = 3;
  spec.height = 2;
  spec.transform = {1000, 10, 0, 2000, 0, -10};
  spec.value = [](int c, int r) { return c + 10 * r; };
  spec.metadata = {{"AREA_OR_POINT", "Point"}};
  // Written as it stands, the file's tie point says the first sample lies at (1000, 2000).
  CPLSetThreadLocalConfigOption("GTIFF_POINT_GEO_IGNORE", "YES");
  writeRaster(folder.file("point.tif"), spec);
  CPLSetThreadLocalConfigOption("GTIFF_POINT_GEO_IGNORE", nullptr);
  const GridSurface point = readGridSurface(folder.file("point.tif"));
  EXPECT_EQ(point.Xmin, 1000);
  EXPECT_EQ(point.yMax(), 2000);
  EXPECT_EQ(point.z(1, 2), 0);

  spec.metadata.clear();
  const GridSurface area = readGridSurface(writeRaster(folder.file("area.tif"), spec));
  EXPECT_EQ(area.Xmin, 1005);
  EXPECT_EQ(area.yMax(), 1995);
}

// The units of points at, between and off the nodes, against a boundary read from each file.
std::vector<std::int16_t> unitsOver(const GridSurface& boundary, const GridSurface& nodes) {
  const LogicalModel model = twoLayers();
  const std::vector<GridSurface> grids = {{}, boundary};
  std::vector<std::int16_t> units;
  for (int i = 1; i <= nodes.Nx; ++i) {
    for (int j = 1; j <= nodes.Ny; ++j) {
      for (const double dz : {-0.01, 0.0, 0.01}) {
        for (const double half : {0.0, 0.5}) {
          double z = nodes.z(i, j) + dz;
          units.push_back(classifyPoint(model, grids, nodes.x(i) + half * nodes.Dx,
                                        nodes.y(j) + half * nodes.Dy, z)
                              .unitStrict);
        }
      }
    }
  }
  return units;
}

TEST_F(RasterGrid, NorthUpAndSouthUpRastersClassifyLikeTheOwnFormatNodeByNode) {
  const GridSurface own = bumpyGrid();
  GridSurface reversed = own;  // the same nodes stored north to south
  reversed.Ymin = own.yMax();
  reversed.Dy = -own.Dy;
  for (int i = 1; i <= own.Nx; ++i) {
    for (int j = 1; j <= own.Ny; ++j) reversed.z(i, j) = own.z(i, own.Ny + 1 - j);
  }
  RasterSpec southUp = northUpSpec(own);
  southUp.transform = {own.Xmin - own.Dx / 2, own.Dx, 0, own.Ymin - own.Dy / 2, 0, own.Dy};
  southUp.value = [&own](int c, int r) { return own.z(c + 1, r + 1); };

  TempFile ownFile(gridFileText(own));
  TempFile reversedFile(gridFileText(reversed));
  const std::vector<std::int16_t> expected = unitsOver(readGridSurface(ownFile.path()), own);
  EXPECT_EQ(unitsOver(readGridSurface(reversedFile.path()), own), expected);
  EXPECT_EQ(unitsOver(readGridSurface(writeRaster(folder.file("n.tif"), northUpSpec(own))), own),
            expected);
  EXPECT_EQ(unitsOver(readGridSurface(writeRaster(folder.file("s.tif"), southUp)), own), expected);
}

TEST_F(RasterGrid, ValuesAreDoublesThatKeepFloat32AndIntegerValuesExactly) {
  RasterSpec spec;
  spec.width = 2;
  spec.height = 2;
  const float values[] = {0.1f, 394.94f, -7.3e-5f, 3.4e38f};
  spec.value = [&values](int c, int r) { return values[2 * r + c]; };
  spec.type = GDT_Float32;
  const GridSurface grid = readGridSurface(writeRaster(folder.file("f32.tif"), spec));
  EXPECT_EQ(grid.z(1, 2), static_cast<double>(0.1f));
  EXPECT_EQ(grid.z(2, 2), static_cast<double>(394.94f));
  EXPECT_EQ(grid.z(1, 1), static_cast<double>(-7.3e-5f));
  EXPECT_EQ(grid.z(2, 1), static_cast<double>(3.4e38f));
  EXPECT_TRUE(grid.z.heldAsFloats());  // in half the memory of doubles

  spec.type = GDT_Int16;
  spec.value = [](int c, int r) { return -32000 + 1000 * c + 70 * r; };
  const GridSurface whole = readGridSurface(writeRaster(folder.file("i16.tif"), spec));
  EXPECT_EQ(whole.z(2, 1), -30930);
  EXPECT_TRUE(whole.z.heldAsFloats());

  spec.type = GDT_Float64;
  spec.value = [](int c, int r) { return 0.1 + c + r; };
  const GridSurface doubles = readGridSurface(writeRaster(folder.file("f64.tif"), spec));
  EXPECT_EQ(doubles.z(2, 1), 2.1);
  EXPECT_FALSE(doubles.z.heldAsFloats());
}

TEST_F(RasterGrid, TheBandsScaleAndOffsetGiveTheElevations) {
  RasterSpec spec;
  spec.width = 2;
  spec.height = 2;
  spec.type = GDT_Int16;
  spec.value = [](int c, int r) { return 100 * c + r; };
  const std::string path = writeRaster(folder.file("scaled.tif"), spec);
  {
    const GdalDataset raster(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE));
    raster->GetRasterBand(1)->SetScale(0.5);
    raster->GetRasterBand(1)->SetOffset(-20);
  }
  const GridSurface grid = readGridSurface(path);
  EXPECT_EQ(grid.z(2, 2), 30);  // 100 x 0.5 - 20
  EXPECT_EQ(grid.z(1, 1), -19.5);
  EXPECT_FALSE(grid.z.heldAsFloats());  // scaled values need not be floats
}

// A 4 x 3 north-up raster with NODATA at two pixels.
RasterSpec withGaps() {
  RasterSpec spec;
  spec.width = 4;
  spec.height = 3;
  spec.transform = {0, 10, 0, 30, 0, -10};
  spec.value = [](int c, int r) {
    return (c == 1 && r == 0) || (c == 3 && r == 2) ? std::nan("") : 100.0 + c - r;
  };
  spec.nodata = -9999;
  return spec;
}

TEST_F(RasterGrid, NodataNodesAreMarkedAndHoldAFiniteValue) {
  const GridSurface grid = readGridSurface(writeRaster(folder.file("gaps.tif"), withGaps()));
  EXPECT_EQ(grid.missing.count(), 2);
  EXPECT_TRUE(grid.missing.at(2, 3));  // column 1 of the northern row
  EXPECT_TRUE(grid.missing.at(4, 1));  // column 3 of the southern row
  EXPECT_FALSE(grid.missing.at(1, 1));
  EXPECT_EQ(grid.z(1, 1), 98);
  for (int i = 1; i <= grid.Nx; ++i) {
    for (int j = 1; j <= grid.Ny; ++j) {
      EXPECT_GE(grid.z(i, j), 98) << i << ", " << j;  // no -9999 and no NaN left
    }
  }
  // Not a number marks a gap too, NODATA or not.
  RasterSpec nan = withGaps();
  nan.nodata.reset();
  EXPECT_EQ(readGridSurface(writeRaster(folder.file("nan.tif"), nan)).missing.count(), 2);
  // The same for a grid held as floats.
  RasterSpec floats = withGaps();
  floats.type = GDT_Float32;
  const GridSurface single = readGridSurface(writeRaster(folder.file("gaps32.tif"), floats));
  EXPECT_TRUE(single.z.heldAsFloats());
  EXPECT_EQ(single.missing.count(), 2);
  EXPECT_TRUE(single.missing.at(2, 3));
  EXPECT_EQ(single.z(2, 3), 98);
}

// A wide raster is read in strips of fewer rows than a narrow one: every node still gets its
// pixel across the strips' edges, and so does every gap.
TEST_F(RasterGrid, AWideRasterReadsNodeForNodeAcrossItsStrips) {
  RasterSpec wide;
  wide.width = 9000;  // 116 rows of doubles a strip
  wide.height = 300;
  wide.nodata = -9999;
  wide.value = [](int c, int r) {
    return (c == 8999 && r == 116) || (c == 0 && r == 299) ? NAN : c + 10000.0 * r;
  };
  const GridSurface grid = readGridSurface(writeRaster(folder.file("wide.tif"), wide));
  ASSERT_EQ(grid.Nx, 9000);
  ASSERT_EQ(grid.Ny, 300);
  for (const int r : {0, 115, 116, 117, 231, 232, 298, 299}) {
    for (const int c : {0, 1, 4500, 8998, 8999}) {
      const int i = c + 1, j = 300 - r;  // north up: row r from the top is node j from the south
      const bool gap = (c == 8999 && r == 116) || (c == 0 && r == 299);
      EXPECT_EQ(grid.missing.at(i, j), gap) << c << ", " << r;
      if (!gap) {
        EXPECT_EQ(grid.z(i, j), c + 10000.0 * r) << c << ", " << r;
      }
    }
  }
  EXPECT_EQ(grid.missing.count(), 2);
}

// The nodes lie at x 5 .. 35 and y 5 .. 25, 10 apart; (2, 3) at x 15, y 25 and (4, 1) at x 35,
// y 5 have no value.
TEST_F(RasterGrid, ABoundaryNeedsValuesOnlyWhereTheDisplayAreaReadsIt) {
  const std::string path = writeRaster(folder.file("gaps.tif"), withGaps());
  LoadJitter jitter;
  EXPECT_EQ(makeDisplaySurface(readGridSurface(path), jitter).missing.count(), 2);
  // Before there is a display surface nothing says which nodes will be read.
  EXPECT_EQ(readBoundaryGrid(path, {}).missing.count(), 2);

  const struct {
    double x0, y0, x1, y1;
    std::string says;  // "" when accepted
  } cases[] = {
      {5, 5, 12, 12, ""},
      // Ending on the node lines x 15 and y 15, the area gives the cells beyond no weight.
      {5, 5, 15, 15, ""},
      // Far beyond the north-east corner the corner cell extrapolates from its own nodes.
      {100, 100, 200, 200, ""},
      {5, 5, 26, 14, "1 node has no value (NODATA) where the display area (x 5 to 26, y 5 to 14)"},
      // File order: column by column from the west, each from the south.
      {5, 5, 35, 25,
       "2 nodes have no value (NODATA) where the display area (x 5 to 35, y 5 to 25) "
       "needs the boundary, the first at node (2, 3), x 15, y 25"},
      // West of the grid the edge cell extrapolates from both its columns of nodes.
      {-50, 20, -40, 30,
       "1 node has no value (NODATA) where the display area (x -50 to -40, y 20 "
       "to 30) needs the boundary, the first at node (2, 3)"},
  };
  for (const auto& c : cases) {
    const DisplaySurface display = exactDisplaySurface(
        makeGrid(2, 2, c.x0, c.y0, c.x1 - c.x0, c.y1 - c.y0, [](double, double) { return 0.0; }));
    try {
      readBoundaryGrid(path, {}, display);
      EXPECT_EQ(c.says, "") << "accepted under x " << c.x0 << " to " << c.x1;
    } catch (const ReadError& error) {
      EXPECT_EQ(error.path(), path);
      EXPECT_THAT(error.what(), AllOf(HasSubstr(c.says), HasSubstr("gdal_fillnodata.py")))
          << "under x " << c.x0 << " to " << c.x1;
      EXPECT_NE(c.says, "") << error.what();
    }
  }
  TempFile own(gridFileText(makeGrid(2, 2, 0, 0, 30, 30, [](double, double) { return 1.0; })));
  const auto display = std::make_shared<const DisplaySurface>(
      makeDisplaySurface(readGridSurface(own.path()), jitter));
  EXPECT_THROW(readBoundaryGrids({"", own.path(), path}, 2, display), ReadError);
}

TEST_F(RasterGrid, ARasterWithoutAnyValueIsRefused) {
  RasterSpec empty = withGaps();
  empty.value = [](int, int) { return std::nan(""); };
  EXPECT_THAT(readFailure(writeRaster(folder.file("empty.tif"), empty)),
              HasSubstr("no node of the raster has a value"));
}

// A DEM as agencies ship them: whole metres in 16 bits, in degrees of JGD2011 at one arc-second,
// NODATA outside the outline it was clipped to. The height rises 1 m per arc-second eastwards.
RasterSpec clippedDem() {
  RasterSpec spec = jgdDegrees(120, 100, 1, [](int c, int r) {
    const double dc = c - 60;
    const double dr = r - 50;
    return dc * dc + dr * dr > 45 * 45 ? std::nan("") : 200.0 + c;
  });
  spec.nodata = -32768;
  return spec;
}

TEST_F(RasterGrid, ADemInDegreesIsRefusedWithoutAProjectedSystem) {
  const std::string path = writeRaster(folder.file("dem.tif"), clippedDem());
  EXPECT_THAT(readFailure(path), AllOf(HasSubstr("geographic"), HasSubstr("degrees"),
                                       HasSubstr("JGD2011"), HasSubstr("--srs")));
}

TEST_F(RasterGrid, ADemInDegreesIsWarpedIntoTheProjectedSystemNamed) {
  const std::string path = writeRaster(folder.file("dem.tif"), clippedDem());
  const std::string plane = projectedSystemWkt("EPSG:6677");
  const GridSurface grid = readGridSurface(path, {plane});
  EXPECT_TRUE(sameSystem(grid.srs, plane));
  EXPECT_THAT(grid.note, AllOf(HasSubstr("warped"), HasSubstr("JGD2011"), HasSubstr("CS IX"),
                               HasSubstr("cells of " + numberText(grid.Dx) + " metre")));
  // One arc-second is about 25 m east-west and 31 m north-south here.
  EXPECT_EQ(grid.Dx, grid.Dy);
  EXPECT_GE(grid.Dx, 25);
  EXPECT_LE(grid.Dx, 31);
  EXPECT_EQ(grid.Dx, std::round(grid.Dx));
  EXPECT_EQ(grid.Xmin / grid.Dx, std::round(grid.Xmin / grid.Dx));
  // Outside the outline and beyond the turned rectangle there is no value.
  EXPECT_GT(grid.missing.count(), std::int64_t{grid.Nx} * grid.Ny / 5);
  EXPECT_LT(grid.missing.count(), std::int64_t{grid.Nx} * grid.Ny * 3 / 4);

  // Back in degrees, every node well inside the outline holds the height of its place, and
  // every node well outside has none. The warper's approximation moves a sample by at most an
  // eighth of a pixel; a half-cell shift would be four times that.
  OGRSpatialReference from;
  from.SetFromUserInput(plane.c_str());
  from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  OGRSpatialReference to;
  to.SetFromUserInput("EPSG:6668");
  to.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  const std::unique_ptr<OGRCoordinateTransformation> toDegrees(
      OGRCreateCoordinateTransformation(&from, &to));
  int inside = 0;
  int outside = 0;
  for (int i = 1; i <= grid.Nx; ++i) {
    for (int j = 1; j <= grid.Ny; ++j) {
      double x = grid.x(i);
      double y = grid.y(j);
      ASSERT_TRUE(toDegrees->Transform(1, &x, &y));
      const double column = (x - 139.8) * 3600 - 0.5;
      const double row = (36.4 - y) * 3600 - 0.5;
      const double fromCentre = std::hypot(column - 60, row - 50);
      if (fromCentre < 43) {
        ++inside;
        EXPECT_FALSE(grid.missing.at(i, j)) << i << ", " << j;
        EXPECT_NEAR(grid.z(i, j), 200 + column, 0.15) << i << ", " << j;
      } else if (fromCentre > 47) {
        ++outside;
        EXPECT_TRUE(grid.missing.at(i, j)) << i << ", " << j;
      }
    }
  }
  EXPECT_GT(inside, 5000);
  EXPECT_GT(outside, 4000);
}

TEST_F(RasterGrid, BadRastersAreRefusedByNameWithoutGdalWritingToStderr) {
  RasterSpec good = withGaps();
  const std::string tif = writeRaster(folder.file("good.tif"), good);
  // A TIFF's signature, then a header pointing nowhere.
  const std::string corrupt = folder.file("corrupt.tif");
  std::ofstream(corrupt, std::ios::binary)
      << std::string("II*\0\xff\xff\xff\x7f", 8) << std::string(200, '\x5a');

  RasterSpec rgb = good;
  rgb.bands = 3;
  RasterSpec rotated = good;
  rotated.transform = {0, 10, 2, 30, 0, -10};
  RasterSpec nowhere = good;
  nowhere.georeferenced = false;
  RasterSpec narrow = good;
  narrow.width = 1;
  RasterSpec overflowing = good;
  overflowing.value = [](int c, int r) { return c == 2 && r == 1 ? 1.7e308 : 5.0; };
  RasterSpec unresolved = good;
  unresolved.transform = {1e16, 0.5, 0, 30, 0, -10};
  // One node too many, written sparse so that the file holds no pixels at all.
  const std::string huge = folder.file("huge.tif");
  {
    const char* sparse[] = {"SPARSE_OK=TRUE", nullptr};
    const GdalDataset raster(GetGDALDriverManager()->GetDriverByName("GTiff")->Create(
        huge.c_str(), 4097, 4096, 1, GDT_Byte, sparse));
    double transform[] = {0, 1, 0, 0, 0, -1};
    raster->SetGeoTransform(transform);
  }

  struct Case {
    std::string path;
    std::string says;
  };
  const std::vector<Case> cases = {
      {corrupt, "GDAL cannot"},
      {writeRaster(folder.file("rgb.tif"), rgb), "3 bands"},
      {writeRaster(folder.file("rot.tif"), rotated), "rotated or sheared"},
      {writeRaster(folder.file("nowhere.tif"), nowhere), "not georeferenced"},
      {writeRaster(folder.file("narrow.tif"), narrow), "at least 2 nodes"},
      {writeRaster(folder.file("overflowing.tif"), overflowing),
       "the elevation 1.7E+308 is beyond the 1E+300 an elevation may reach (node (3, 2)"},
      {writeRaster(folder.file("unresolved.tif"), unresolved),
       "Dx 0.5 is too small to tell the nodes apart at x 1E+16"},
      {huge, "larger than the 16777216 nodes"}};
  testing::internal::CaptureStderr();
  for (const Case& c : cases) {
    EXPECT_THAT(readFailure(c.path), AllOf(HasSubstr(c.path), HasSubstr(c.says)));
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(RasterGrid, TheContentDecidesAndTheOwnFormatAlwaysWins) {
  // Numbers in lines of three are an XYZ file to GDAL; here they are a bad own grid.
  TempFile xyzLike("0 0 1\n10 0 2\n0 10 3\n10 10 4\n");
  EXPECT_THAT(readFailure(xyzLike.path()), HasSubstr("Nx must be a whole number"));
  TempFile early("2 2 0\n0 10 10\n1 2 3\n");
  EXPECT_TRUE(isGdalRaster(early.path()));
  EXPECT_THAT(readFailure(early.path()), HasSubstr("the file is too short for the 4 elevations"));
  TempFile header("Nx, Ny\n2, 2, 0, 0, 1, 1, 1, 2, 3, 4\n");
  EXPECT_THAT(readFailure(header.path()),
              AllOf(HasSubstr("line 1, item 1: expected Nx as a number, found \"Nx\""),
                    HasSubstr("nor is it a raster")));

  // The extension does not decide: an own grid named .tif, an ESRI ASCII grid named .txt.
  TempFile ownTif("2, 2, 0, 0, 10, 10, 1, 2, 3, 4", ".tif");
  EXPECT_EQ(readGridSurface(ownTif.path()).z(2, 2), 4);
  TempFile ascTxt("ncols 2\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 10\n1 2\n3 4\n");
  EXPECT_EQ(readGridSurface(ascTxt.path()).z(2, 2), 2);
  // A header line tells GDAL's XYZ driver it is one of its files.
  TempFile xyz("x,y,z\n0,10,1\n10,10,2\n0,0,3\n10,0,4\n", ".xyz");
  const GridSurface fromXyz = readGridSurface(xyz.path());
  EXPECT_EQ(fromXyz.Xmin, 0);
  EXPECT_EQ(fromXyz.z(1, 1), 3);
}

TEST(GdalNames, ANameIsGdalsByItsPrefixAlone) {
  const struct {
    std::string path;
    bool gdal;
  } cases[] = {
      {"/vsizip/archive.zip/dem.tif", true},
      {"/vsizip//data/a.zip/dem.tif", true},
      {"NETCDF:\"file.nc\":z", true},
      {"GPKG:file.gpkg:table", true},
      {"dem.tif", false},
      {"/data/dem.tif", false},
      {"C:/data/dem.tif", false},
      {"/data/a:b.tif", false},
      {":z", false},
  };
  for (const auto& c : cases) EXPECT_EQ(hasGdalPrefix(c.path), c.gdal) << c.path;
}

TEST_F(RasterGrid, NamesOnlyGdalResolvesReadAsTheRasterTheyName) {
  const GridSurface bumpy = bumpyGrid();
  const RasterSpec spec = northUpSpec(bumpy, GDT_Float32);
  const std::string tif = writeRaster(folder.file("dem.tif"), spec);
  const GridSurface expected = readGridSurface(tif);
  const std::string gpkg =
      writeRaster(folder.file("dem.gpkg"), spec, "GPKG", {"RASTER_TABLE=heights"});
  const std::string nc = writeRaster(folder.file("dem.nc"), spec, "netCDF");
  for (const std::string& name : {zipped(tif, folder.file("dems.zip"), "dem.tif"),
                                  "GPKG:" + gpkg + ":heights", "NETCDF:\"" + nc + "\":Band1"}) {
    EXPECT_TRUE(isGdalName(name)) << name;
    const GridSurface grid = readGridSurface(name);
    EXPECT_EQ(grid.Nx, expected.Nx) << name;
    EXPECT_EQ(grid.Ny, expected.Ny) << name;
    EXPECT_NEAR(grid.Xmin, expected.Xmin, 1e-6) << name;
    EXPECT_NEAR(grid.Ymin, expected.Ymin, 1e-6) << name;
    EXPECT_EQ(grid.z, expected.z) << name;
    // The read cache knows when the files behind the name change.
    EXPECT_TRUE(fileStamp(name).has_value()) << name;
  }
  EXPECT_FALSE(isGdalName(tif));
  EXPECT_THAT(readFailure("/vsizip/" + folder.file("dems.zip") + "/none.tif"),
              HasSubstr("no such file"));
  EXPECT_THAT(readFailure("GPKG:" + folder.file("none.gpkg") + ":heights"),
              HasSubstr("GDAL cannot open it as a raster"));

  const std::optional<FileStamp> before = fileStamp("GPKG:" + gpkg + ":heights");
  writeRaster(gpkg, spec, "GPKG", {"RASTER_TABLE=more", "APPEND_SUBDATASET=YES"});
  EXPECT_NE(fileStamp("GPKG:" + gpkg + ":heights"), before);
}

TEST_F(RasterGrid, AFileOfSeveralRastersNamesEachOfThem) {
  RasterSpec spec = withGaps();
  spec.type = GDT_Float32;
  const std::string gpkg =
      writeRaster(folder.file("two.gpkg"), spec, "GPKG", {"RASTER_TABLE=north"});
  writeRaster(gpkg, spec, "GPKG", {"RASTER_TABLE=south", "APPEND_SUBDATASET=YES"});
  EXPECT_THAT(readFailure(gpkg),
              AllOf(HasSubstr("holds 2 rasters"), HasSubstr("GPKG:" + gpkg + ":north"),
                    HasSubstr("GPKG:" + gpkg + ":south"), Not(HasSubstr("bands"))));
  EXPECT_EQ(readGridSurface("GPKG:" + gpkg + ":south").Nx, 4);
}

TEST_F(RasterGrid, AGridThatNamesNoSystemIsGivenTheOneNamed) {
  const std::string plane = projectedSystemWkt("EPSG:6677");
  TempFile own("2, 2, 0, 0, 10, 10, 1, 2, 3, 4");
  EXPECT_EQ(readGridSurface(own.path()).srs, "");
  EXPECT_EQ(readGridSurface(own.path(), {plane}).srs, plane);
  EXPECT_EQ(gridSystem(own.path(), {plane}), plane);

  RasterSpec spec = withGaps();
  spec.srs = "EPSG:6676";
  const std::string tif = writeRaster(folder.file("viii.tif"), spec);
  const GridSurface kept = readGridSurface(tif, {plane});
  EXPECT_THAT(systemName(kept.srs), HasSubstr("CS VIII"));
  EXPECT_TRUE(sameSystem(gridSystem(tif, {plane}), kept.srs));
  EXPECT_EQ(kept.note, "");
}

}  // namespace
}  // namespace kalvenor
