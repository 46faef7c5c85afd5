// The session reading rasters: the coordinate system named for the inputs, boundaries with gaps,
// rasters in degrees and grids in different systems.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>

#include "../evaluation/grid_fixtures.h"
#include "../model/raster_files.h"
#include "app/option_steps.h"
#include "model/coordinate_system.h"
#include "model/read_error.h"
#include "session/session.h"
#include "session/session_restore.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

// A raster over the same square as `surface` below, in the plane system named.
RasterSpec planeRaster(const std::string& srs, double z) {
  RasterSpec spec;
  spec.width = 5;
  spec.height = 5;
  spec.transform = {-12.5, 25, 0, 112.5, 0, -25};
  spec.srs = srs;
  spec.value = [z](int, int) { return z; };
  return spec;
}

// A DEM in degrees of JGD2011 with no gaps, about 3 km across just west of the origin of the
// plane system IX; 300 m high.
RasterSpec demInDegrees() {
  return jgdDegrees(120, 100, 1, [](int, int) { return 300.0; });
}

class SessionRasters : public ::testing::Test {
 protected:
  SessionRasters() { session.loadModel(model.path()); }

  std::string surfaceOver(double x0, double y0, double size) {
    surfaceText = std::make_unique<TempFile>(gridFileText(
        makeGrid(5, 5, x0, y0, size / 4, size / 4, [](double, double) { return 400.0; })));
    return surfaceText->path();
  }

  TempFile model{"1\ns\nlow,-1\nhigh,1\n"};
  TempFile surface{
      gridFileText(makeGrid(5, 5, 0, 0, 25, 25, [](double x, double) { return 30 + x / 10; }))};
  std::unique_ptr<TempFile> surfaceText;
  TempFolder folder;
  Session session;
};

TEST_F(SessionRasters, AnUnknownSystemIsRefusedAndTheOneBeforeKept) {
  session.setSrs("EPSG:6677");
  const std::string before = session.state().srs;
  EXPECT_TRUE(sameSystem(before, projectedSystemWkt("EPSG:6677")));
  try {
    session.setSrs("EPSG:99999");
    FAIL() << "an unknown system was taken";
  } catch (const SessionError& error) {
    EXPECT_THAT(error.what(), HasSubstr("EPSG:99999"));
  }
  EXPECT_THROW(session.setSrs("EPSG:4326"), SessionError);  // degrees
  EXPECT_EQ(session.state().srs, before);
  session.setSrs("");
  EXPECT_EQ(session.state().srs, "");
}

TEST_F(SessionRasters, GridsThatNameNoSystemAreGivenTheOneOfTheOptions) {
  InputFiles inputs;
  inputs.surface = surface.path();
  inputs.srs = "EPSG:6677";
  loadInputs(session, inputs, [](const std::string& warning) { ADD_FAILURE() << warning; });
  EXPECT_THAT(systemName(session.state().display->srs), HasSubstr("CS IX"));
}

// The gaps lie at x 50, y 50 to 100; the surface covers x and y 0 to 100.
TEST_F(SessionRasters, ABoundaryWithGapsIsRefusedWhereTheDisplayAreaNeedsItAndNothingChanges) {
  RasterSpec gaps = planeRaster("", 15);
  gaps.nodata = -9999;
  gaps.value = [](int c, int r) { return c == 2 && r < 3 ? std::nan("") : 15.0; };
  const std::string path = writeRaster(folder.file("gaps.tif"), gaps);
  const auto refusal = [&](const std::function<void()>& step) -> std::string {
    try {
      step();
    } catch (const ReadError& error) {
      return error.what();
    }
    return "accepted";
  };
  const auto says = AllOf(HasSubstr(path), HasSubstr("3 nodes have no value"),
                          HasSubstr("x 50, y 50"), HasSubstr("gdal_fillnodata.py"));

  // Picked before the surface, it is checked by the build.
  EXPECT_THAT(session.setBoundaryFile(1, path), IsEmpty());
  session.loadDisplaySurface(surface.path());
  session.setZbase(0);
  EXPECT_THAT(refusal([&] { session.buildMapGrid(); }), says);
  EXPECT_TRUE(session.state().mapGrid->mapUnit.empty());
  // Picked over the surface, it is refused at once.
  session.resetBoundaryFiles();
  EXPECT_THAT(refusal([&] { session.setBoundaryFile(1, path); }), says);
  EXPECT_THAT(session.state().boundaryFile, ElementsAre("", ""));

  // West of the gaps it serves.
  session.loadDisplaySurface(surfaceOver(0, 0, 20));
  session.setZbase(0);
  EXPECT_THAT(session.setBoundaryFile(1, path), IsEmpty());
  session.buildMapGrid();
  EXPECT_EQ(session.state().mapGrid->mapUnit(5, 5), 2);
}

// 1.4 degrees west of the plane system's meridian, the DEM's rows turn by most of a degree in the
// plane: warped, its corners lie outside it and have no value.
TEST_F(SessionRasters, ABoundaryInDegreesWithEmptyCornersServesTheDisplayAreaWithinIt) {
  RasterSpec spec = demInDegrees();
  spec.transform[0] = 138.4;
  const std::string dem = writeRaster(folder.file("west.tif"), spec);
  session.setSrs("EPSG:6677");
  const GridSurface warped = readGridSurface(dem, {session.state().srs});
  ASSERT_TRUE(warped.missing.at(1, 1));
  ASSERT_TRUE(warped.missing.at(warped.Nx, warped.Ny));

  const double middleX = (warped.Xmin + warped.xMax()) / 2;
  const double middleY = (warped.Ymin + warped.yMax()) / 2;
  session.loadDisplaySurface(surfaceOver(middleX - 1000, middleY - 1000, 2000));
  session.setZbase(0);
  EXPECT_THAT(session.setBoundaryFile(1, dem), ElementsAre(HasSubstr("warped")));
  session.buildMapGrid();
  EXPECT_EQ(session.state().mapGrid->mapUnit(3, 3), 2);

  // Over the whole rectangle the warp made, its empty corners would be read.
  session.loadDisplaySurface(surfaceOver(warped.Xmin, warped.Ymin, warped.yMax() - warped.Ymin));
  try {
    session.buildMapGrid();
    FAIL() << "empty corners were read";
  } catch (const ReadError& error) {
    EXPECT_THAT(error.what(),
                AllOf(HasSubstr(dem), HasSubstr("node (1, 1)"),
                      HasSubstr("covers the display area"), Not(HasSubstr("gdal_fillnodata"))));
  }
}

TEST_F(SessionRasters, ABoundaryInDegreesNeedsAProjectedSystemAndIsWarpedInEveryRead) {
  const std::string dem = writeRaster(folder.file("dem.tif"), demInDegrees());
  EXPECT_THROW(session.setBoundaryFile(1, dem), ReadError);
  EXPECT_THAT(session.state().boundaryFile, ElementsAre("", ""));

  session.setSrs("EPSG:6677");
  const Warnings warnings = session.setBoundaryFile(1, dem);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_THAT(warnings[0], AllOf(HasSubstr(dem), HasSubstr("warped"), HasSubstr("CS IX")));

  // The build and a model of the same size read it again the same way.
  session.loadDisplaySurface(surfaceOver(-2500, 41500, 2000));
  session.setZbase(0);
  session.buildMapGrid();
  EXPECT_EQ(session.state().mapGrid->mapUnit(3, 3), 2);  // the surface at 400 lies above the 300
  EXPECT_THAT(session.loadModel(model.path()), IsEmpty());
  EXPECT_EQ(session.state().boundaryFile[1], dem);
}

TEST_F(SessionRasters, GridsInDifferentSystemsAreNamedAndTheDisplaySurfacesIsUsed) {
  const std::string viii = writeRaster(folder.file("viii.tif"), planeRaster("EPSG:6676", 15));
  const std::string ix = writeRaster(folder.file("ix.tif"), planeRaster("EPSG:6677", 30));
  session.setBoundaryFile(1, viii);
  const Warnings onSurface = session.loadDisplaySurface(ix);
  ASSERT_EQ(onSurface.size(), 1u);
  EXPECT_THAT(onSurface[0],
              AllOf(HasSubstr(viii), HasSubstr(ix), HasSubstr("CS VIII"), HasSubstr("CS IX")));
  EXPECT_THAT(systemName(session.state().display->srs), HasSubstr("CS IX"));

  const Warnings onBoundary = session.setBoundaryFile(1, viii);
  ASSERT_EQ(onBoundary.size(), 1u);
  EXPECT_THAT(onBoundary[0], AllOf(HasSubstr(viii), HasSubstr(ix)));
  const std::string sameAsSurface =
      writeRaster(folder.file("ix-too.tif"), planeRaster("EPSG:6677", 15));
  EXPECT_THAT(session.setBoundaryFile(1, sameAsSurface), IsEmpty());
}

// An ESRI grid's .prj names ESRI's system, easting first, and a compound system adds heights:
// both are EPSG:6677 in the plane.
TEST_F(SessionRasters, AnEsriGridAndACompoundSystemAreTheSystemOfTheirEpsgCode) {
  const std::string asc =
      writeRaster(folder.file("boundary.asc"), planeRaster("EPSG:6677", 15), "AAIGrid");
  const std::string compound =
      writeRaster(folder.file("ground.tif"), planeRaster("EPSG:6677+6695", 30));
  EXPECT_THAT(session.setBoundaryFile(1, asc), IsEmpty());
  EXPECT_THAT(session.loadDisplaySurface(compound), IsEmpty());
  EXPECT_THAT(session.setBoundaryFile(1, asc), IsEmpty());
  const std::string viii = writeRaster(folder.file("viii.tif"), planeRaster("EPSG:6676", 15));
  EXPECT_THAT(session.setBoundaryFile(1, viii), ElementsAre(HasSubstr("CS VIII")));
}

TEST_F(SessionRasters, ADisplaySurfaceWithoutASystemTakesTheOneEveryBoundaryNames) {
  const std::string ix = writeRaster(folder.file("ix.tif"), planeRaster("EPSG:6677", 15));
  const auto takenFromIx =
      ElementsAre(AllOf(HasSubstr(surface.path()), HasSubstr("names no coordinate system"),
                        HasSubstr("JGD2011 / Japan Plane Rectangular CS IX")));
  // The boundary first, or the surface first: one line says so either way.
  EXPECT_THAT(session.setBoundaryFile(1, ix), IsEmpty());
  EXPECT_THAT(session.loadDisplaySurface(surface.path()), takenFromIx);
  EXPECT_TRUE(sameSystem(session.state().display->srs, projectedSystemWkt("EPSG:6677")));
  EXPECT_THAT(session.setBoundaryFile(1, ix), IsEmpty());

  Session other;
  other.loadModel(model.path());
  EXPECT_THAT(other.loadDisplaySurface(surface.path()), IsEmpty());
  EXPECT_EQ(other.state().display->srs, "");
  EXPECT_THAT(other.setBoundaryFile(1, ix), takenFromIx);
  EXPECT_TRUE(sameSystem(other.state().display->srs, session.state().display->srs));

  // A boundary that names none leaves the surface without one again; a copy taken before keeps
  // the surface it shared.
  const Session copy = other.detachedCopy();
  TempFile own(gridFileText(makeGrid(2, 2, 0, 0, 100, 100, [](double, double) { return 15.0; })));
  EXPECT_THAT(other.setBoundaryFile(1, own.path()), IsEmpty());
  EXPECT_EQ(other.state().display->srs, "");
  EXPECT_TRUE(sameSystem(copy.state().display->srs, session.state().display->srs));
}

TEST_F(SessionRasters, ASystemNamedForTheInputsThatAGridOverridesIsWarnedOf) {
  session.setSrs("EPSG:6677");
  const std::string viii = writeRaster(folder.file("viii.tif"), planeRaster("EPSG:6676", 15));
  EXPECT_THAT(session.setBoundaryFile(1, viii),
              ElementsAre(AllOf(HasSubstr(viii), HasSubstr("CS VIII"), HasSubstr("EPSG:6677"),
                                HasSubstr("keeps it"))));
  // A grid that names none is given it, and one in the same system needs no word.
  const std::string ix = writeRaster(folder.file("ix.tif"), planeRaster("EPSG:6677", 15));
  EXPECT_THAT(session.setBoundaryFile(1, ix), IsEmpty());
  EXPECT_THAT(session.loadDisplaySurface(surface.path()), IsEmpty());
}

// A file in an archive and a table of a GeoPackage, as GIS users name them.
TEST_F(SessionRasters, GridsNamedOnlyGdalResolvesAreReadKeptAndSavedAsTheyAreWritten) {
  const std::string inZip = zipped(writeRaster(folder.file("b.tif"), planeRaster("EPSG:6677", 15)),
                                   folder.file("inputs.zip"), "boundary.tif");
  RasterSpec ground = planeRaster("EPSG:6677", 30);
  ground.type = GDT_Float32;  // as a GeoPackage holds elevations
  const std::string gpkg =
      writeRaster(folder.file("ground.gpkg"), ground, "GPKG", {"RASTER_TABLE=ground"});
  const std::string table = "GPKG:" + gpkg + ":ground";
  EXPECT_THAT(session.setBoundaryFile(1, inZip), IsEmpty());
  EXPECT_EQ(session.keptReads()[1].path, inZip);  // kept for the build
  session.loadDisplaySurface(table);
  session.setZbase(0);
  session.buildMapGrid();
  EXPECT_EQ(session.state().mapGrid->mapUnit(3, 3), 2);

  const std::string saved = folder.file("work.json");
  std::ofstream(saved) << sessionFileText(documentOf(session.state(), 100, 100), saved);
  const SessionDocument d = readSessionFile(saved);
  EXPECT_THAT(d.boundaryFiles, ElementsAre(inZip));
  EXPECT_EQ(d.surfaceFile, table);
}

}  // namespace
}  // namespace kalvenor
