// Boreholes read from their tables: CSV and GeoPackage, the names the columns go by, what is
// refused and how the message places it, the coordinate systems, and tables too large to read.
#include "model/borehole_reader.h"

#include <gdal_priv.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "model/coordinate_system.h"
#include "model/read_error.h"
#include "model/vector_table.h"
#include "model/vector_table_lines.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

LogicalModel threeUnits() {
  LogicalModel model = allocateModel(2);
  model.unitName = {"", "Basement", "Sand", "Clay"};
  return model;
}

class BoreholeReading : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = folder_.file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  TempFolder folder_;
};

TEST_F(BoreholeReading, ReadsCollarsSurveysAndIntervalsFromCsv) {
  BoreholeFiles files;
  files.collars = write("collars.csv", "hole_id,x,y,z,depth\nBH1,100,200,50,30\nBH2,110,210,55,\n");
  files.surveys = write("surveys.csv", "hole_id,depth,azimuth,dip\nBH1,0,90,-60\n");
  files.intervals = write("intervals.csv",
                          "hole_id,from,to,unit\nBH1,0,10,clay\nBH1,10,25,Sand\n"
                          "BH2,5,12,Gravel\nBH2,0,5,Clay\nBH2,12,20,Gravel\n");
  const BoreholeSet set = readBoreholes(files, threeUnits(), {});
  ASSERT_EQ(set.holes.size(), 2u);
  const Borehole& deviated = set.holes[0];
  EXPECT_EQ(deviated.id, "BH1");
  EXPECT_EQ(deviated.depth, 30);  // the collar's depth
  ASSERT_EQ(deviated.intervals.size(), 2u);
  EXPECT_EQ(deviated.intervals[0].unit, 3);
  EXPECT_EQ(deviated.intervals[1].unit, 2);
  // 30 m at 60 degrees down to the east: 15 m east, 25.98 m down.
  EXPECT_NEAR(deviated.path.back().x, 115, 1e-9);
  EXPECT_NEAR(deviated.path.back().z, 50 - 25.980762, 1e-6);
  const Borehole& vertical = set.holes[1];
  EXPECT_EQ(vertical.depth, 20);  // its deepest interval
  ASSERT_EQ(vertical.intervals.size(), 3u);
  EXPECT_EQ(vertical.intervals[0].logged, "Clay");  // by depth
  EXPECT_EQ(vertical.intervals[1].unit, 0);
  EXPECT_EQ(set.unmatchedIntervals, 2);
  EXPECT_EQ(set.unmatchedNames, std::vector<std::string>{"Gravel"});
}

TEST_F(BoreholeReading, ColumnsGoByTheirUsualNames) {
  const struct {
    const char* collars;
    const char* surveys;
    const char* intervals;
  } cases[] = {
      {"hole_id,x,y,z", "hole_id,depth,azimuth,dip", "hole_id,from,to,unit"},
      {"HoleID,Easting,Northing,Elevation", "HOLEID,MD,Azimuth,Dip", "Hole ID,Top,Base,Lith"},
      {"bhid,X,Y,RL", "bhid,at,azi,dip", "BHID,from,to,code"},
      {"id,east,north,elev", "id,depth,az,dip", "id,top,bottom,lithology"},
      {"hole,x,y,z", "hole,md,azimuth,inclination", "hole,from,to,unit"},
  };
  for (const auto& c : cases) {
    const bool inclination = std::string(c.surveys).ends_with("inclination");
    BoreholeFiles files;
    files.collars = write("c.csv", std::string(c.collars) + "\nA,10,20,30\n");
    files.surveys =
        write("s.csv", std::string(c.surveys) + "\nA,0,0," + (inclination ? "30" : "-60") + "\n");
    files.intervals = write("i.csv", std::string(c.intervals) + "\nA,0,4,Sand\n");
    const BoreholeSet set = readBoreholes(files, threeUnits(), {});
    ASSERT_EQ(set.holes.size(), 1u) << c.collars;
    const Borehole& hole = set.holes[0];
    EXPECT_EQ(hole.z, 30) << c.collars;
    EXPECT_EQ(hole.intervals.at(0).unit, 2) << c.intervals;
    // 4 m at 60 degrees down to the north.
    EXPECT_NEAR(hole.path.back().y, 22, 1e-9) << c.surveys;
  }
}

// A table of each kind, and what each holds.
struct BadInput {
  const char* what;
  const char* collars;
  const char* surveys;
  const char* intervals;
  const char* faulty;  // c, s or i: the table the message names
  int line;
  const char* field;
  const char* problem;
};

constexpr const char* kCollars = "hole_id,x,y,z,depth\nBH1,0,0,100,50\n";
constexpr const char* kSurveys = "hole_id,depth,azimuth,dip\nBH1,0,0,-90\n";
constexpr const char* kIntervals = "hole_id,from,to,unit\nBH1,0,10,Sand\n";

const BadInput kBadInputs[] = {
    {"to above from", kCollars, kSurveys, "hole_id,from,to,unit\nBH1,10,5,Sand\n", "i", 2, "to",
     "not below its from"},
    {"overlapping intervals", kCollars, kSurveys,
     "hole_id,from,to,unit\nBH1,0,10,Sand\nBH1,20,30,Clay\nBH1,8,12,Clay\n", "i", 4, "from",
     "overlaps the one from 0 to 10 on line 2"},
    {"survey below the hole", kCollars, "hole_id,depth,azimuth,dip\nBH1,0,0,-90\nBH1,60,0,-80\n",
     kIntervals, "s", 3, "depth", "below the end of hole"},
    {"interval below the hole", kCollars, kSurveys, "hole_id,from,to,unit\nBH1,40,55,Sand\n", "i",
     2, "to", "below the end of hole"},
    {"interval without collar", kCollars, kSurveys, "hole_id,from,to,unit\nBH1,0,5,a\nBH9,0,5,a\n",
     "i", 3, "hole_id", "\"BH9\" has no collar"},
    {"survey without collar", kCollars, "hole_id,depth,azimuth,dip\nBH2,0,0,-90\n", kIntervals, "s",
     2, "hole_id", "\"BH2\" has no collar"},
    {"dip too steep", kCollars, "hole_id,depth,azimuth,dip\nBH1,0,0,-95\n", kIntervals, "s", 2,
     "dip", "outside -90"},
    {"inclination beyond", kCollars, "hole_id,depth,azimuth,inclination\nBH1,0,0,-60\n", kIntervals,
     "s", 2, "inclination", "dip of -150"},
    {"x not a number", "hole_id,x,y,z\nBH1,12a,0,100\n", kSurveys, kIntervals, "c", 2, "x",
     "\"12a\" is not a number"},
    {"from not a number", kCollars, kSurveys, "hole_id,from,to,unit\nBH1,nan,5,a\n", "i", 2, "from",
     "is not a number"},
    {"empty z", "hole_id,x,y,z\nBH1,1,2,\n", kSurveys, kIntervals, "c", 2, "z", "value is missing"},
    {"no z column", "hole_id,x,y\nBH1,1,2\n", kSurveys, kIntervals, "c", 1, "z, elevation",
     "no column holds"},
    {"no unit column", kCollars, kSurveys, "hole_id,from,to\nBH1,0,5\n", "i", 1, "lith",
     "no column holds"},
    {"second collar", "hole_id,x,y,z\nBH1,0,0,100\nBH2,5,5,90\nBH1,1,1,99\n", kSurveys, kIntervals,
     "c", 4, "hole_id", "a collar already, on line 2"},
    {"negative depth", kCollars, "hole_id,depth,azimuth,dip\nBH1,-2,0,-90\n", kIntervals, "s", 2,
     "depth", "negative"},
    {"two stations at one depth", kCollars,
     "hole_id,depth,azimuth,dip\nBH1,10,0,-90\nBH1,10,5,-80\n", kIntervals, "s", 3, "depth",
     "at depth 10 already, on line 2"},
    {"depth not above 0", "hole_id,x,y,z,depth\nBH1,0,0,100,0\n", kSurveys, kIntervals, "c", 2,
     "depth", "not greater than 0"},
    {"lines after a blank line and a quoted line end",
     "hole_id,x,y,z\n\nBH1,0,0,100\n\"BH\n2\",1,1,x\n", kSurveys, kIntervals, "c", 4, "z",
     "\"x\" is not a number"},
};

TEST_F(BoreholeReading, RefusesBadInputNamingFileLineAndField) {
  for (const BadInput& c : kBadInputs) {
    BoreholeFiles files{write("c.csv", c.collars), write("s.csv", c.surveys),
                        write("i.csv", c.intervals), "", ""};
    const std::string faulty = c.faulty[0] == 'c'   ? files.collars
                               : c.faulty[0] == 's' ? files.surveys
                                                    : files.intervals;
    try {
      readBoreholes(files, threeUnits(), {});
      ADD_FAILURE() << "accepted: " << c.what;
    } catch (const ReadError& error) {
      EXPECT_EQ(error.path(), faulty) << c.what;
      EXPECT_EQ(error.line(), c.line) << c.what << ": " << error.what();
      EXPECT_THAT(error.what(), AllOf(HasSubstr(faulty), HasSubstr(c.field), HasSubstr(c.problem)))
          << c.what;
    }
  }
}

TEST_F(BoreholeReading, OneTableHoldsVerticalHolesByElevation) {
  BoreholeFiles files;
  files.oneTable = write("one.csv",
                         "hole_id,x,y,z_top,z_bottom,unit\nA,5,6,80,72,Sand\nA,5,6,100,80,clay\n"
                         "B,9,9,60,40,Basement\n");
  const BoreholeSet set = readBoreholes(files, threeUnits(), {});
  ASSERT_EQ(set.holes.size(), 2u);
  const Borehole& a = set.holes[0];
  EXPECT_EQ(a.z, 100);
  EXPECT_EQ(a.depth, 28);
  ASSERT_EQ(a.intervals.size(), 2u);
  EXPECT_EQ(a.intervals[0].unit, 3);
  EXPECT_EQ(a.intervals[1].from, 20);
  EXPECT_EQ(a.intervals[1].to, 28);
  EXPECT_EQ(a.path.back().z, 72);
}

TEST_F(BoreholeReading, OneTableRefusesHolesThatMoveAndBottomsAboveTops) {
  const struct {
    const char* rows;
    int line;
    const char* problem;
  } cases[] = {
      {"A,5,6,100,80,Sand\nA,5,7,80,70,Clay\n", 3, "one table holds vertical holes only"},
      {"A,5,6,100,110,Sand\n", 2, "bottom elevation (110) is not below its top"},
  };
  for (const auto& c : cases) {
    BoreholeFiles files;
    files.oneTable = write("one.csv", std::string("hole_id,x,y,z_from,z_to,unit\n") + c.rows);
    try {
      readBoreholes(files, threeUnits(), {});
      ADD_FAILURE() << "accepted: " << c.rows;
    } catch (const ReadError& error) {
      EXPECT_EQ(error.line(), c.line) << error.what();
      EXPECT_THAT(error.what(), HasSubstr(c.problem));
    }
  }
}

TEST_F(BoreholeReading, CodeTableNamesTheModelsUnits) {
  BoreholeFiles files;
  files.collars = write("c.csv", "hole_id,x,y,z\nA,0,0,10\n");
  files.intervals = write("i.csv", "hole_id,from,to,unit\nA,0,1,SS\nA,1,2,cl\nA,2,3,zz\n");
  files.unitCodes = write("codes.csv", "code,unit\nSS,Sand\nCL,Clay\n");
  const BoreholeSet set = readBoreholes(files, threeUnits(), {});
  const std::vector<LoggedInterval>& logged = set.holes.at(0).intervals;
  EXPECT_EQ(logged.at(0).unit, 2);
  EXPECT_EQ(logged.at(1).unit, 3);
  EXPECT_EQ(logged.at(2).unit, 0);
  EXPECT_EQ(set.unmatchedNames, std::vector<std::string>{"zz"});
}

// A GeoPackage layer written with GDAL: its fields, and a point per row when `srs` is given.
struct Layer {
  std::string name;
  std::vector<std::string> fields;
  std::vector<std::vector<std::string>> rows;
  std::string srs;  // as SetFromUserInput takes it; "" for a table without geometry
  std::vector<std::pair<double, double>> points;
  std::vector<double> heights;  // of the points, when they have heights
};

void writeGeoPackage(const std::string& path, const std::vector<Layer>& layers,
                     const char* driverName = "GPKG") {
  GDALAllRegister();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName);
  GDALDataset* file = driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
  ASSERT_NE(file, nullptr);
  for (const Layer& spec : layers) {
    OGRSpatialReference system;
    system.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (!spec.srs.empty()) system.SetFromUserInput(spec.srs.c_str());
    OGRLayer* layer = file->CreateLayer(spec.name.c_str(), spec.srs.empty() ? nullptr : &system,
                                        spec.srs.empty()       ? wkbNone
                                        : spec.heights.empty() ? wkbPoint
                                                               : wkbPoint25D,
                                        nullptr);
    ASSERT_NE(layer, nullptr);
    for (const std::string& field : spec.fields) {
      OGRFieldDefn definition(field.c_str(),
                              field == "hole_id" || field == "unit" ? OFTString : OFTReal);
      layer->CreateField(&definition);
    }
    for (std::size_t r = 0; r < spec.rows.size(); ++r) {
      OGRFeature feature(layer->GetLayerDefn());
      for (std::size_t f = 0; f < spec.fields.size(); ++f) {
        feature.SetField(static_cast<int>(f), spec.rows[r][f].c_str());
      }
      if (r < spec.points.size()) {
        OGRPoint point(spec.points[r].first, spec.points[r].second);
        if (r < spec.heights.size()) point.setZ(spec.heights[r]);
        feature.SetGeometry(&point);
      }
      ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
    }
  }
  GDALClose(file);
}

TEST_F(BoreholeReading, ReadsGeoPackageLayersWithPointsAndPlacesFeaturesInMessages) {
  const std::string gpkg = folder_.file("holes.gpkg");
  writeGeoPackage(gpkg,
                  {{"collars",
                    {"hole_id", "z"},
                    {{"A", "12.5"}, {"B", "13"}},
                    "EPSG:6677",
                    {{-1000.125, 2000.5}, {-1010, 2010}},
                    {}},
                   {"intervals",
                    {"hole_id", "from", "to", "unit"},
                    {{"A", "0", "3", "Sand"}, {"B", "0", "2", "Clay"}, {"B", "1", "4", "Clay"}},
                    "",
                    {},
                    {}}});
  BoreholeFiles files;
  files.collars = gpkg + "|layername=collars";
  const BoreholeCoordinates coordinates{projectedSystemWkt("EPSG:6677"), ""};
  const BoreholeSet collarsOnly = readBoreholes(files, threeUnits(), coordinates);
  ASSERT_EQ(collarsOnly.holes.size(), 2u);
  EXPECT_EQ(collarsOnly.holes[0].x, -1000.125);
  EXPECT_EQ(collarsOnly.holes[0].y, 2000.5);
  EXPECT_EQ(collarsOnly.holes[0].z, 12.5);
  writeGeoPackage(folder_.file("heights.gpkg"),
                  {{"collars", {"hole_id"}, {{"A"}}, "EPSG:6677", {{5, 6}}, {42.25}}});
  files.collars = folder_.file("heights.gpkg");
  EXPECT_EQ(readBoreholes(files, threeUnits(), coordinates).holes.at(0).z, 42.25);
  files.collars = gpkg + "|layername=collars";
  files.intervals = gpkg + "|layername=intervals";
  try {
    readBoreholes(files, threeUnits(), coordinates);
    ADD_FAILURE() << "overlapping intervals accepted";
  } catch (const ReadError& error) {
    EXPECT_THAT(error.what(),
                AllOf(HasSubstr("feature 3, field \"from\""), HasSubstr("feature 2")));
  }
  files.intervals = gpkg;
  EXPECT_THAT(
      [&] { readBoreholes(files, threeUnits(), coordinates); },
      ::testing::ThrowsMessage<ReadError>(HasSubstr("2 layers (\"collars\", \"intervals\")")));
}

TEST_F(BoreholeReading, ReprojectsCollarsIntoTheDisplaySystem) {
  // The origin of the plane system IX of Japan, 139 deg 50 min E 36 deg N, in degrees and in
  // the neighbouring system VIII.
  const std::string display = projectedSystemWkt("EPSG:6677");
  OGRSpatialReference ix;
  OGRSpatialReference viii;
  ix.SetFromUserInput("EPSG:6677");
  viii.SetFromUserInput("EPSG:6676");
  ix.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  viii.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  std::unique_ptr<OGRCoordinateTransformation> toViii(
      OGRCreateCoordinateTransformation(&ix, &viii));
  double x = 0;
  double y = 0;
  ASSERT_TRUE(toViii->Transform(1, &x, &y));
  const std::string gpkg = folder_.file("systems.gpkg");
  writeGeoPackage(
      gpkg, {{"degrees", {"hole_id", "z"}, {{"A", "1"}}, "EPSG:6668", {{139 + 50.0 / 60, 36}}, {}},
             {"viii", {"hole_id", "z"}, {{"A", "1"}}, "EPSG:6676", {{x, y}}, {}}});
  // A shapefile's system is in the .prj beside it.
  const std::string shapefile = folder_.file("viii.shp");
  writeGeoPackage(shapefile, {{"viii", {"hole_id", "z"}, {{"A", "1"}}, "EPSG:6676", {{x, y}}, {}}},
                  "ESRI Shapefile");
  ASSERT_TRUE(std::filesystem::exists(folder_.file("viii.prj")));
  const struct {
    std::string table;
    BoreholeCoordinates coordinates;
  } cases[] = {
      {gpkg + "|layername=degrees", {display, "EPSG:6677"}},
      {gpkg + "|layername=degrees", {"", "EPSG:6677"}},
      {gpkg + "|layername=viii", {display, ""}},
      {shapefile, {display, ""}},
  };
  for (const auto& c : cases) {
    BoreholeFiles files;
    files.collars = c.table;
    const BoreholeSet set = readBoreholes(files, threeUnits(), c.coordinates);
    EXPECT_NEAR(set.holes.at(0).x, 0, 1e-3) << c.table;
    EXPECT_NEAR(set.holes.at(0).y, 0, 1e-3) << c.table;
  }
  BoreholeFiles files;
  files.collars = gpkg + "|layername=degrees";
  EXPECT_THAT(
      [&] {
        readBoreholes(files, threeUnits(), {display, ""});
      },
      ::testing::ThrowsMessage<ReadError>(
          AllOf(HasSubstr("geographic"), HasSubstr("--srs EPSG:6677"))));
}

// Tables too large to read are refused at once, naming the file, the line and the limit.
TEST_F(BoreholeReading, RefusesTablesBeyondWhatCanBeRead) {
  const std::string manyRows = folder_.file("many.csv");
  {
    std::ofstream out(manyRows);
    out << "hole_id,x,y,z\n";
    for (std::size_t n = 0; n <= kMaxTableRows; ++n) out << "H" << n << ",1,2,3\n";
  }
  const std::string longLine = folder_.file("long.csv");
  std::ofstream(longLine) << "hole_id,x,y,z\nA,1,2,3\nB," << std::string(10 << 20, '7')
                          << ",2,3\nC,1,2,3\n";
  const struct {
    std::string path;
    int line;
    std::string problem;
  } cases[] = {
      {manyRows, static_cast<int>(kMaxTableRows) + 2,
       "more than " + std::to_string(kMaxTableRows) + " rows"},
      {longLine, 3, "longer than " + std::to_string(kMaxRecordBytes) + " bytes"},
  };
  for (const auto& c : cases) {
    try {
      BoreholeFiles files;
      files.collars = c.path;
      readBoreholes(files, threeUnits(), {});
      ADD_FAILURE() << "accepted " << c.path;
    } catch (const ReadError& error) {
      EXPECT_EQ(error.line(), c.line) << error.what();
      EXPECT_THAT(error.what(), AllOf(HasSubstr(c.path), HasSubstr(c.problem)));
    }
  }
}

}  // namespace
}  // namespace kalvenor
