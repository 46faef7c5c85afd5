// Survey lines read from line layers: GeoPackage, GeoJSON, shapefile and CSV tables of vertices,
// their names, the systems they are in, and what is refused.
#include "model/line_features.h"

#include <gdal_priv.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <fstream>

#include "model/coordinate_system.h"
#include "model/read_error.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

struct LineRow {
  std::vector<std::string> values;  // one per field
  std::string wkt;                  // the geometry; "" for none
};

// A layer written with GDAL's own calls: text fields, and each row's geometry from its WKT.
void writeLayer(const std::string& path, const char* driverName, const std::string& srs,
                const std::vector<std::string>& fields, const std::vector<LineRow>& rows) {
  GDALAllRegister();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName);
  GDALDataset* file = driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
  ASSERT_NE(file, nullptr);
  OGRSpatialReference system;
  system.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  if (!srs.empty()) system.SetFromUserInput(srs.c_str());
  OGRLayer* layer =
      file->CreateLayer("lines", srs.empty() ? nullptr : &system, wkbUnknown, nullptr);
  ASSERT_NE(layer, nullptr);
  for (const std::string& field : fields) {
    OGRFieldDefn definition(field.c_str(), OFTString);
    layer->CreateField(&definition);
  }
  for (const LineRow& row : rows) {
    OGRFeature feature(layer->GetLayerDefn());
    for (std::size_t f = 0; f < row.values.size(); ++f) {
      feature.SetField(static_cast<int>(f), row.values[f].c_str());
    }
    if (!row.wkt.empty()) {
      OGRGeometry* geometry = nullptr;
      ASSERT_EQ(OGRGeometryFactory::createFromWkt(row.wkt.c_str(), nullptr, &geometry),
                OGRERR_NONE);
      feature.SetGeometryDirectly(geometry);
    }
    ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
  }
  GDALClose(file);
}

std::vector<std::pair<double, double>> xy(const NamedLine& line) {
  std::vector<std::pair<double, double>> points;
  for (const PlanePoint& p : line.vertices) points.emplace_back(p.x, p.y);
  return points;
}

class LineFeatures : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = folder_.file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  TempFolder folder_;
};

TEST_F(LineFeatures, GeoPackageGivesEveryLineWithItsNameAndVertexNames) {
  const std::string gpkg = folder_.file("lines.gpkg");
  writeLayer(gpkg, "GPKG", "EPSG:6677", {"name", "vertex_names"},
             {{{"Tunnel", "P1; P2 ;P3"}, "LINESTRING (0 0, 100 0, 100 50)"},
              {{"Road", ""}, "MULTILINESTRING ((10 10, 20 30))"},
              {{"Well", ""}, "POINT (5 5)"},
              {{"", ""}, "LINESTRING Z (1 2 3, 4 5 6)"}});
  const std::vector<NamedLine> lines =
      readLineFeatures(gpkg, {projectedSystemWkt("EPSG:6677"), ""});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].name, "Tunnel");
  EXPECT_EQ(xy(lines[0]), (std::vector<std::pair<double, double>>{{0, 0}, {100, 0}, {100, 50}}));
  EXPECT_EQ(lines[0].vertexNames, (std::vector<std::string>{"P1", "P2", "P3"}));
  EXPECT_EQ(lines[0].origin, gpkg + ", survey line \"Tunnel\"");
  EXPECT_EQ(lines[1].name, "Road");  // a multi-line of one part is a line
  EXPECT_EQ(xy(lines[1]), (std::vector<std::pair<double, double>>{{10, 10}, {20, 30}}));
  EXPECT_TRUE(lines[1].vertexNames.empty());
  EXPECT_EQ(lines[2].origin, gpkg + ", feature 4");
  const struct {
    std::string asked;
    std::string found;
  } choices[] = {{"", "Tunnel"}, {"Road", "Road"}, {"road", "Road"}};
  for (const auto& c : choices) EXPECT_EQ(readLineFeature(gpkg, c.asked).name, c.found);
}

// The plane system IX of Japan has its origin at 139 deg 50 min E, 36 deg N: a line from there
// 100 m east and north in degrees (GeoJSON) and in the neighbouring system VIII (a shapefile,
// its system in the .prj) comes into system IX.
TEST_F(LineFeatures, LinesInAnotherSystemComeIntoTheDisplaySystem) {
  OGRSpatialReference ix, viii;
  ix.SetFromUserInput("EPSG:6677");
  viii.SetFromUserInput("EPSG:6676");
  ix.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  viii.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  std::unique_ptr<OGRCoordinateTransformation> toViii(
      OGRCreateCoordinateTransformation(&ix, &viii));
  const std::unique_ptr<OGRSpatialReference> degrees(ix.CloneGeogCS());
  std::unique_ptr<OGRCoordinateTransformation> toDegrees(
      OGRCreateCoordinateTransformation(&ix, degrees.get()));
  double x[] = {0, 100}, y[] = {0, 100}, lon[] = {0, 100}, lat[] = {0, 100};
  ASSERT_TRUE(toViii->Transform(2, x, y));
  ASSERT_TRUE(toDegrees->Transform(2, lon, lat));
  const std::string shapefile = folder_.file("viii.shp");
  writeLayer(shapefile, "ESRI Shapefile", "EPSG:6676", {"name"},
             {{{"A"},
               "LINESTRING (" + std::to_string(x[0]) + " " + std::to_string(y[0]) + ", " +
                   std::to_string(x[1]) + " " + std::to_string(y[1]) + ")"}});
  char text[400];
  std::snprintf(text, sizeof text,
                R"({"type": "FeatureCollection", "features": [{"type": "Feature",
                   "properties": {"name": "A"}, "geometry": {"type": "LineString",
                   "coordinates": [[%.12f, %.12f], [%.12f, %.12f]]}}]})",
                lon[0], lat[0], lon[1], lat[1]);
  const std::string geojson = write("degrees.geojson", text);
  const std::string display = projectedSystemWkt("EPSG:6677");
  const struct {
    std::string file;
    PlaneCoordinates coordinates;
  } cases[] = {
      {shapefile, {display, ""}}, {geojson, {display, "EPSG:6677"}}, {geojson, {"", "EPSG:6677"}}};
  for (const auto& c : cases) {
    const NamedLine line = readLineFeatures(c.file, c.coordinates).at(0);
    ASSERT_EQ(line.vertices.size(), 2u) << c.file;
    EXPECT_EQ(line.name, "A") << c.file;
    EXPECT_NEAR(line.vertices[0].x, 0, 1e-3) << c.file;
    EXPECT_NEAR(line.vertices[0].y, 0, 1e-3) << c.file;
    EXPECT_NEAR(line.vertices[1].x, 100, 1e-3) << c.file;
    EXPECT_NEAR(line.vertices[1].y, 100, 1e-3) << c.file;
  }
  EXPECT_THAT(
      [&] {
        readLineFeatures(geojson, {display, ""});
      },
      ::testing::ThrowsMessage<ReadError>(
          AllOf(HasSubstr(geojson), HasSubstr("geographic"), HasSubstr("--srs"))));
}

TEST_F(LineFeatures, CsvTablesGiveTheVerticesInOrder) {
  const struct {
    const char* what;
    const char* text;
    std::vector<std::string> names;  // of the lines
    std::vector<std::size_t> vertices;
    std::vector<std::string> firstVertexNames;
    double firstLastX;  // of the first line's last vertex
  } cases[] = {
      {"x and y", "x,y\n0,0\n50,10\n100,0\n", {""}, {3}, {}, 100},
      {"eastings with names",
       "Name,Easting,Northing\nA,0,0\nB,50,10\n,100.5,0\n",
       {""},
       {3},
       {"A", "B", ""},
       100.5},
      {"several lines",
       "line,x,y,station\nL1,0,0,s1\nL2,5,5,t1\nL1,10,0,s2\nL2,5,15,t2\n",
       {"L1", "L2"},
       {2, 2},
       {"s1", "s2"},
       10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = write("line.csv", c.text);
    const std::vector<NamedLine> lines = readLineFeatures(path);
    ASSERT_EQ(lines.size(), c.names.size());
    for (std::size_t n = 0; n < lines.size(); ++n) {
      EXPECT_EQ(lines[n].name, c.names[n]);
      EXPECT_EQ(lines[n].vertices.size(), c.vertices[n]);
    }
    EXPECT_EQ(lines[0].vertexNames, c.firstVertexNames);
    EXPECT_EQ(lines[0].vertices.back().x, c.firstLastX);
  }
  EXPECT_EQ(readLineFeatures(write("one.csv", "x,y\n0,0\n1,1\n"))[0].origin,
            folder_.file("one.csv"));
}

TEST_F(LineFeatures, RefusesLayersThatGiveNoSurveyLineNamingFileAndLine) {
  const std::string gpkg = folder_.file("bad.gpkg");
  writeLayer(gpkg, "GPKG", "", {"name"}, {{{"Split"}, "MULTILINESTRING ((0 0, 1 1), (2 2, 3 3))"}});
  const std::string points = folder_.file("points.gpkg");
  writeLayer(points, "GPKG", "", {"name"}, {{{"P"}, "POINT (1 1)"}});
  const std::string named = folder_.file("named.gpkg");
  writeLayer(named, "GPKG", "", {"name"},
             {{{"North"}, "LINESTRING (0 0, 1 1)"}, {{"South"}, "LINESTRING (0 0, 1 -1)"}});
  const std::string unnamed = folder_.file("unnamed.gpkg");
  writeLayer(unnamed, "GPKG", "", {}, {{{}, "LINESTRING (0 0, 1 1)"}});
  const struct {
    const char* what;
    std::string path;
    std::string feature;
    std::vector<std::string> said;
  } cases[] = {
      {"several parts", gpkg, "", {"line \"Split\"", "2 parts", "-explodecollections"}},
      {"points only", points, "", {"holds points and no lines"}},
      {"no x column", write("nox.csv", "east_west,y\n1,2\n"), "", {"holds no lines", "x and y"}},
      {"x no number", write("text.csv", "x,y\n1,2\nten,3\n"), "", {"line 3", "\"x\"", "ten"}},
      {"no file", folder_.file("missing.gpkg"), "", {"GDAL cannot open it"}},
      {"a feature not there", named, "West", {"no line named \"West\"", "\"North\", \"South\""}},
      {"lines without names", unnamed, "West", {"no line named \"West\"", "have no names"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      readLineFeature(c.path, c.feature);
      ADD_FAILURE() << "accepted";
    } catch (const ReadError& error) {
      EXPECT_THAT(error.what(), HasSubstr(c.path));
      for (const std::string& part : c.said) EXPECT_THAT(error.what(), HasSubstr(part));
    }
  }
  // A line unfit for a section is refused where it is used: among all the lines, or when it is
  // the one asked for, but not when another is.
  const std::string mixed = folder_.file("mixed.gpkg");
  writeLayer(mixed, "GPKG", "", {"name", "vertices"},
             {{{"Three", "a;b"}, "LINESTRING (0 0, 1 1, 2 0)"},
              {{"Split", ""}, "MULTILINESTRING ((0 0, 1 1), (2 2, 3 3))"},
              {{"Good", ""}, "LINESTRING (0 0, 1 1)"}});
  EXPECT_THAT([&] { readLineFeatures(mixed); },
              ::testing::ThrowsMessage<ReadError>(AllOf(
                  HasSubstr("line \"Three\""), HasSubstr("name 2 vertices"), HasSubstr("has 3"))));
  EXPECT_THAT(
      [&] { readLineFeature(mixed, "Split"); },
      ::testing::ThrowsMessage<ReadError>(HasSubstr("line \"Split\": the line has 2 parts")));
  EXPECT_EQ(readLineFeature(mixed, "Good").vertices.size(), 2u);
}

}  // namespace
}  // namespace kalvenor
