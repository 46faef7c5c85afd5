#include "exports/geology_map_file.h"

#include <gdal_priv.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "evaluation/grid_builds.h"
#include "evaluation/grid_fixtures.h"
#include "export_test_support.h"
#include "scene/geology_map_build.h"
#include "scene/plan_outlines.h"
#include "test_paths.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

// A model built as the programs build it, and its geological map.
struct Mapped {
  LogicalModel model;
  std::shared_ptr<const DisplaySurface> display;
  MapBuild build;
  std::vector<PackedColor> unitColor;
  std::vector<PackedColor> boundaryColor;

  GeologyMap map() const {
    return buildGeologyMap(
        {model, *display, build.grid, build.boundaryGrids, unitColor, boundaryColor, 0, 1, 2});
  }
  double cellArea() const { return std::abs(display->Dx * display->Dy); }
};

Mapped mapped(LogicalModel model, DisplaySurface display, const std::vector<std::string>& files) {
  Mapped m{
      std::move(model), std::make_shared<const DisplaySurface>(std::move(display)), {}, {}, {}};
  m.build =
      buildMapGrid({m.model, files, m.display, m.display->Zmin - 10}, {}, MapParts::SurfaceOnly);
  for (int u = 0; u <= m.model.unitCount(); ++u) m.unitColor.push_back(packRgb(40 * u, 200, 7));
  for (int k = 0; k <= m.model.Nbd; ++k) m.boundaryColor.push_back(packRgb(9, 9, 30 * k));
  return m;
}

// A 9 x 9 slope cut by one tilted boundary, its contact running across the cells' diagonals;
// `hole` takes out node (hole, hole), none for 0.
Mapped oneContact(int hole) {
  const auto ground = [](double x, double y) { return 100 + 0.3 * x + 0.1 * y + 0.002 * x * y; };
  DisplaySurface display = exactDisplaySurface(makeGrid(9, 9, 0, 0, 10, 10, ground));
  if (hole) {
    display.missing = MissingNodes(9, 9);
    display.missing.set(hole, hole);
  }
  static const TempFile boundary{gridFileText(makeGrid(9, 9, 0, 0, 10, 10, [&](double x, double y) {
    return ground(x, y) - 30 + 0.5 * x + 0.25 * y;
  }))};
  LogicalModel model = twoLayers();
  model.unitName = {"", "下の層", "上の層"};
  model.boundaryName = {"", "境界"};
  return mapped(std::move(model), std::move(display), {"", boundary.path()});
}

// The same slope with the boundary 3 m lower, so that its contact passes between the nodes.
Mapped slantedContact() {
  const auto ground = [](double x, double y) { return 100 + 0.3 * x + 0.1 * y + 0.002 * x * y; };
  static const TempFile boundary{gridFileText(makeGrid(9, 9, 0, 0, 10, 10, [&](double x, double y) {
    return ground(x, y) - 33 + 0.5 * x + 0.25 * y;
  }))};
  LogicalModel model = twoLayers();
  model.boundaryName = {"", "境界"};
  return mapped(std::move(model), exactDisplaySurface(makeGrid(9, 9, 0, 0, 10, 10, ground)),
                {"", boundary.path()});
}

// Two boundaries that cross under a 12 x 12 surface stored north to south: unit 1 below
// boundary 1, unit 2 between them, unit 3 above both, so the two contacts meet inside the map.
Mapped twoCrossingContacts() {
  LogicalModel model = allocateModel(2);
  model.modelCell(1, 1) = -1;
  model.modelCell(2, 1) = 1;
  model.modelCell(2, 2) = -1;
  model.modelCell(3, 1) = 1;
  model.modelCell(3, 2) = 1;
  model.unitName = {"", "a", "b", "c"};
  model.boundaryName = {"", "s", "t"};
  buildUnitOfPattern(model);
  const auto ground = [](double x, double y) {
    return 200 + 0.05 * (x - 1000) - 0.04 * (y - 2000);
  };
  static const TempFile first{gridFileText(makeGrid(
      12, 12, 1000, 2055, 5, -5, [](double x, double) { return 160 + 1.1 * (x - 1000); }))};
  static const TempFile second{gridFileText(makeGrid(
      12, 12, 1000, 2055, 5, -5, [](double, double y) { return 150 + 1.3 * (y - 2000); }))};
  return mapped(std::move(model), exactDisplaySurface(makeGrid(12, 12, 1000, 2055, 5, -5, ground)),
                {"", first.path(), second.path()});
}

// The bundled example as the programs read it.
Mapped foldedBasin() {
  const std::string e = KALVENOR_EXAMPLES_DIR "/folded-basin/";
  LogicalModel model = readLogicalModel(e + "model.txt");
  buildUnitOfPattern(model);
  LoadJitter jitter;
  return mapped(std::move(model), makeDisplaySurface(readGridSurface(e + "topography.txt"), jitter),
                {"", e + "limestone_top.txt", e + "sandstone_top.txt", e + "mudstone_top.txt",
                 e + "unconformity.txt"});
}

struct MapCase {
  const char* name;
  std::function<Mapped()> make;
};

const MapCase kCases[] = {
    {"OneContact", [] { return oneContact(0); }},
    {"OneContactAroundAHole", [] { return oneContact(5); }},
    {"TwoCrossingContactsNorthToSouth", twoCrossingContacts},
    {"TheExample", foldedBasin},
};

std::vector<std::unique_ptr<OGRFeature>> featuresOf(OGRLayer& layer) {
  std::vector<std::unique_ptr<OGRFeature>> features;
  layer.ResetReading();
  for (OGRFeature* f = layer.GetNextFeature(); f; f = layer.GetNextFeature()) {
    features.emplace_back(f);
  }
  return features;
}

// The area of any geometry, 0 for lines and points.
double areaOf(const OGRGeometry& g) {
  return OGR_G_Area(OGRGeometry::ToHandle(const_cast<OGRGeometry*>(&g)));
}

// The map written as a GeoPackage and read back with GDAL.
class WrittenMap : public ::testing::TestWithParam<MapCase> {
 protected:
  void SetUp() override {
    GDALAllRegister();
    m_ = GetParam().make();
    const std::string path = folder_.file("map.gpkg");
    writeToDisk(geologyMapFiles(path, m_.map()));
    file_.reset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
    ASSERT_TRUE(file_);
    units_ = featuresOf(*file_->GetLayerByName("units"));
    contacts_ = featuresOf(*file_->GetLayerByName("contacts"));
  }
  const OGRGeometry& shape(const OGRFeature& f) const { return *f.GetGeometryRef(); }
  double area(const OGRFeature& f) const { return shape(f).toMultiPolygon()->get_Area(); }

  TempFolder folder_;
  Mapped m_;
  Dataset file_;
  std::vector<std::unique_ptr<OGRFeature>> units_, contacts_;
};

TEST_P(WrittenMap, EachUnitIsOneValidMultipolygonApartFromTheOthers) {
  ASSERT_GE(units_.size(), 2u);
  for (std::size_t a = 0; a < units_.size(); ++a) {
    SCOPED_TRACE(units_[a]->GetFieldAsString("name"));
    EXPECT_EQ(wkbFlatten(shape(*units_[a]).getGeometryType()), wkbMultiPolygon);
    EXPECT_TRUE(shape(*units_[a]).IsValid());
    for (std::size_t b = 0; b < a; ++b) {
      const std::unique_ptr<OGRGeometry> both(shape(*units_[a]).Intersection(&shape(*units_[b])));
      ASSERT_TRUE(both);
      EXPECT_LT(areaOf(*both), 1e-6 * m_.cellArea());
      EXPECT_FALSE(shape(*units_[a]).Overlaps(&shape(*units_[b])));
    }
  }
}

// Together the units cover every cell whose four nodes have an elevation, and nothing else.
TEST_P(WrittenMap, TheUnitsCoverTheValidArea) {
  const DisplaySurface& d = *m_.display;
  int valid = 0;
  for (int i = 1; i < d.Nx; ++i) {
    for (int j = 1; j < d.Ny; ++j) valid += d.missing.touches(i, j, i + 1, j + 1) ? 0 : 1;
  }
  std::unique_ptr<OGRGeometry> all(shape(*units_[0]).clone());
  double sum = 0;
  for (const auto& unit : units_) {
    sum += area(*unit);
    all.reset(all->Union(&shape(*unit)));
  }
  EXPECT_NEAR(sum, valid * m_.cellArea(), 1e-9 * valid * m_.cellArea());
  EXPECT_NEAR(areaOf(*all), valid * m_.cellArea(), 1e-9 * valid * m_.cellArea());
}

// The units raster counts a node's whole cell for its unit: the two differ by at most a cell
// across along each unit's outline.
TEST_P(WrittenMap, AreasAgreeWithTheUnitsRasterWithinACellAlongTheOutline) {
  std::map<int, int> nodes;
  const auto& units = m_.build.grid.mapUnit;
  for (int i = 1; i <= m_.display->Nx; ++i) {
    for (int j = 1; j <= m_.display->Ny; ++j) ++nodes[units(i, j)];
  }
  for (const auto& unit : units_) {
    SCOPED_TRACE(unit->GetFieldAsString("name"));
    const std::unique_ptr<OGRGeometry> outline(shape(*unit).Boundary());
    const double length = outline->toMultiLineString()->get_Length();
    const double raster = nodes[unit->GetFieldAsInteger("unit")] * m_.cellArea();
    EXPECT_LE(std::abs(area(*unit) - raster), std::abs(m_.display->Dx) * length);
    EXPECT_NEAR(unit->GetFieldAsDouble("area_m2"), area(*unit), 1e-9 * area(*unit));
  }
}

// Every contact line runs along the outlines of two units, its length as given; only in the
// cells where it meets another contact may it run on inside one unit, as the pictures trace it.
TEST_P(WrittenMap, ContactsRunBetweenTwoUnitsWithTheirLengths) {
  ASSERT_FALSE(contacts_.empty());
  const double cell = std::hypot(m_.display->Dx, m_.display->Dy);
  for (const auto& contact : contacts_) {
    const OGRLineString& line = *shape(*contact).toLineString();
    EXPECT_NEAR(contact->GetFieldAsDouble("length_m"), line.get_Length(), 1e-9 * line.get_Length());
    for (int n = 0; n < line.getNumPoints(); ++n) {
      OGRPoint p;
      line.getPoint(n, &p);
      int touching = 0;
      for (const auto& unit : units_) touching += shape(*unit).Distance(&p) < 1e-6 ? 1 : 0;
      double otherContact = INFINITY;
      for (const auto& other : contacts_) {
        if (other->GetFieldAsInteger("boundary") == contact->GetFieldAsInteger("boundary"))
          continue;
        otherContact = std::min(otherContact, shape(*other).Distance(&p));
      }
      EXPECT_TRUE(touching >= 2 || otherContact < cell)
          << contact->GetFieldAsString("name") << " point " << n;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Models, WrittenMap, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The node without an elevation, away from the contact, takes the four cells around it out of
// the map: a hole in the unit around it.
TEST(GeologyMap, LeavesTheCellsAroundANodeWithoutElevationOut) {
  const GeologyMap map = oneContact(3).map();
  int holes = 0;
  for (const MapUnitArea& unit : map.units) {
    for (const PlanPolygon& polygon : unit.polygons) {
      for (const PlanRing& hole : polygon.holes) {
        ++holes;
        EXPECT_DOUBLE_EQ(-ringArea(hole), 4 * 100.0);
      }
    }
  }
  EXPECT_EQ(holes, 1);
}

// The contact of one tilted boundary that passes no node is one line from edge to edge of the
// map.
TEST(GeologyMap, JoinsAContactIntoOneLineAcrossTheMap) {
  const GeologyMap map = slantedContact().map();
  ASSERT_EQ(map.contacts.size(), 1u);
  const MapContactLine& line = map.contacts[0];
  EXPECT_EQ(line.boundary, 1);
  EXPECT_EQ(line.name, "境界");
  for (const PlanPoint& end : {line.points.front(), line.points.back()}) {
    EXPECT_TRUE(end[0] == 0 || end[0] == 80 || end[1] == 0 || end[1] == 80)
        << end[0] << ", " << end[1];
  }
}

std::string fileText(const std::string& path) {
  std::ifstream file(path);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A GeoPackage carries each layer's style as its default in QGIS's table; every other format
// writes the contacts beside the units and a .qml beside each.
TEST(GeologyMap, StylesEachLayerInTheColoursUnderTheNames) {
  GDALAllRegister();
  const TempFolder folder;
  const GeologyMap map = oneContact(0).map();
  writeToDisk(geologyMapFiles(folder.file("map.gpkg"), map));
  const Dataset gpkg(GDALDataset::Open(folder.file("map.gpkg").c_str(), GDAL_OF_VECTOR));
  std::map<std::string, std::string> styles;
  for (const auto& row : featuresOf(*gpkg->GetLayerByName("layer_styles"))) {
    EXPECT_EQ(row->GetFieldAsInteger("useAsDefault"), 1);
    EXPECT_STREQ(row->GetFieldAsString("f_geometry_column"), "geom");
    styles[row->GetFieldAsString("f_table_name")] = row->GetFieldAsString("styleQML");
  }
  ASSERT_EQ(styles.size(), 2u);
  EXPECT_THAT(styles["units"], HasSubstr(R"(attr="unit")"));
  EXPECT_THAT(styles["units"], HasSubstr(R"(value="2" label="上の層")"));
  EXPECT_THAT(styles["units"], HasSubstr(R"(v="80,200,7,255")"));
  EXPECT_THAT(styles["contacts"], HasSubstr(R"(value="1" label="境界")"));

  const ExportedFiles shapefiles = geologyMapFiles(folder.file("map.shp"), map);
  writeToDisk(shapefiles);
  for (const char* name :
       {"map.shp", "map.dbf", "map.qml", "map_contacts.shp", "map_contacts.qml"}) {
    EXPECT_TRUE(std::filesystem::exists(folder.file(name))) << name;
  }
  EXPECT_EQ(fileText(folder.file("map.qml")), styles["units"]);
  EXPECT_EQ(fileText(folder.file("map_contacts.qml")), styles["contacts"]);
}

TEST(GeologyMap, RefusesAFormatThatCannotHoldIt) {
  const struct {
    const char* name;
    const char* problem;
  } cases[] = {
      {"map.xyz", "no GDAL vector format writes files ending in .xyz"},
      {"map.geojson", "GeoJSON holds longitudes and latitudes"},
  };
  const GeologyMap map = oneContact(0).map();
  for (const auto& c : cases) {
    EXPECT_THAT(exportErrorOf([&] { geologyMapFiles(c.name, map); }), HasSubstr(c.problem))
        << c.name;
  }
}

}  // namespace
}  // namespace kalvenor
