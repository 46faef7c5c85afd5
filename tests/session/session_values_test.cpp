// The thickness and depth maps and the units' volumes through the session: what they need, how
// a name the model lacks is refused, the polygons they are clipped to, and the session file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "model/coordinate_system.h"
#include "model/read_error.h"
#include "session/session_file.h"
#include "session/session_restore.h"
#include "temp_file.h"
#include "test_paths.h"

namespace kalvenor {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

const std::string kExample = KALVENOR_EXAMPLES_DIR "/folded-basin/";
// Longitude east and latitude north, as GeoJSON holds them.
const std::string kWgs84 =
    R"(GEOGCRS["WGS 84",DATUM["World Geodetic System 1984",ELLIPSOID["WGS 84",6378137,)"
    R"(298.257223563]],CS[ellipsoidal,2],AXIS["longitude",east],AXIS["latitude",north],)"
    R"(ANGLEUNIT["degree",0.0174532925199433]])";

class SessionValues : public ::testing::Test {
 protected:
  // The example; the GeoTIFFs carry JGD2011 / Japan Plane Rectangular CS IX.
  void loadExample(const std::string& extension = ".txt") {
    session.loadModel(kExample + "model.txt");
    int k = 1;
    for (const char* boundary :
         {"limestone_top", "sandstone_top", "mudstone_top", "unconformity"}) {
      session.setBoundaryFile(k++, kExample + boundary + extension);
    }
    session.loadDisplaySurface(kExample + "topography" + extension);
    session.setZbase(0);
  }
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = folder.file(name);
    std::ofstream(path) << text;
    return path;
  }
  static double total(const std::vector<UnitVolume>& volumes) {
    double sum = 0;
    for (const UnitVolume& v : volumes) sum += v.volume;
    return sum;
  }

  TempFolder folder;
  Session session;
};

TEST_F(SessionValues, TheyAreRefusedUntilTheMapGridIsBuilt) {
  loadExample();
  const auto refused = [](const std::function<void()>& call) {
    EXPECT_THAT(call, ::testing::ThrowsMessage<SessionError>(HasSubstr("(5-1)")));
  };
  refused([&] { session.unitVolumes(); });
  refused([&] { session.valueGrid({MapValueKind::Thickness, "砂岩"}); });
  session.buildSectionGrid({30200, 41000, false, 0, 0, 61});
  refused([&] { session.unitVolumes(); });
  session.buildMapGrid({}, MapParts::SurfaceOnly);
  EXPECT_EQ(session.unitVolumes().size(), 5u);
}

TEST_F(SessionValues, ANameTheModelLacksIsRefusedWithTheNamesItHas) {
  loadExample();
  session.buildMapGrid({}, MapParts::SurfaceOnly);
  const struct {
    MapValueKind kind;
    const char* name;
    std::vector<const char*> listed;
  } cases[] = {
      {MapValueKind::Thickness, "花崗岩", {"石灰岩", "砂岩", "泥岩", "礫岩", "火山砕屑岩"}},
      {MapValueKind::Thickness, "6", {"火山砕屑岩"}},
      {MapValueKind::Depth, "断層", {"石灰岩上面", "砂岩上面", "泥岩上面", "不整合面"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MapValue value{c.kind, c.name};
    try {
      session.valueGrid(value);
      ADD_FAILURE() << "taken";
    } catch (const SessionError& error) {
      EXPECT_THAT(error.what(), HasSubstr("\"" + value.name + "\""));
      for (const char* name : c.listed) {
        EXPECT_THAT(error.what(), HasSubstr("\"" + std::string(name) + "\""));
      }
    }
    EXPECT_THROW(session.setMapValue(value), SessionError);
    EXPECT_FALSE(session.state().mapValue);
  }
  // A unit's number names it too.
  EXPECT_EQ(session.unitNamed("2"), session.unitNamed("砂岩"));
}

TEST_F(SessionValues, AClipLayerWithoutPolygonsIsRefusedNamingIt) {
  loadExample();
  session.buildMapGrid({}, MapParts::SurfaceOnly);
  const std::string lines =
      write("lines.geojson",
            R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},)"
            R"("geometry":{"type":"LineString","coordinates":[[30000,40000],[33000,42000]]}}]})");
  EXPECT_THAT([&] { session.unitVolumes(lines); },
              ::testing::ThrowsMessage<ReadError>(
                  AllOf(HasSubstr("lines.geojson"), HasSubstr("no polygon"))));
}

// A GeoJSON layer of one polygon, its ring closed; in longitudes and latitudes unless `crs` names
// another system.
std::string polygonLayer(std::vector<PlanePoint> ring, const std::string& crs = "") {
  ring.push_back(ring.front());
  std::string points;
  for (const PlanePoint& p : ring) {
    char point[64];
    std::snprintf(point, sizeof point, "%s[%.12f,%.12f]", points.empty() ? "" : ",", p.x, p.y);
    points += point;
  }
  const std::string named =
      crs.empty() ? "" : R"("crs":{"type":"name","properties":{"name":")" + crs + R"("}},)";
  return R"({"type":"FeatureCollection",)" + named +
         R"("features":[{"type":"Feature","properties":{},"geometry":{"type":"Polygon",)"
         R"("coordinates":[[)" +
         points + "]]}}]}";
}

// The polygons in degrees are carried into the display surface's plane system; a polygon over
// the whole display area takes all of it.
TEST_F(SessionValues, ClipPolygonsAreTakenInTheDisplaySurfacesSystem) {
  loadExample(".tif");
  session.buildMapGrid({}, MapParts::SurfaceOnly);
  const double all = total(session.unitVolumes());
  const std::string whole = write(
      "whole.geojson",
      polygonLayer({{29000, 39000}, {36000, 39000}, {36000, 45000}, {29000, 45000}}, "EPSG:6677"));
  EXPECT_NEAR(total(session.unitVolumes(whole)), all, 1e-9 * all);
  // The western half, once in the plane system and once as its corners in degrees.
  const std::vector<PlanePoint> west = {
      {30000, 40000}, {32500, 40000}, {32500, 44000}, {30000, 44000}};
  const double half =
      total(session.unitVolumes(write("west.geojson", polygonLayer(west, "EPSG:6677"))));
  EXPECT_GT(half, 0.3 * all);
  EXPECT_LT(half, 0.7 * all);
  const std::vector<PlanePoint> degrees =
      reprojectedPoints(west, {projectedSystemWkt("EPSG:6677"), kWgs84});
  EXPECT_NEAR(total(session.unitVolumes(write("west-degrees.geojson", polygonLayer(degrees)))),
              half, 1e-4 * half);
}

TEST_F(SessionValues, TheMapOfValuesIsKeptInTheSessionFile) {
  loadExample();
  session.buildMapGrid();
  const MapValue depth{MapValueKind::Depth, "不整合面"};
  session.setMapValue(depth);
  const std::string path = folder.file("values.json");
  std::ofstream(path) << sessionFileText(documentOf(session.state(), 300, 200), path);
  const SessionDocument d = readSessionFile(path);
  ASSERT_TRUE(d.mapValue);
  EXPECT_EQ(*d.mapValue, depth);
  Session reopened;
  restoreSession(reopened, d, 300, 200);
  ASSERT_TRUE(reopened.state().mapValue);
  EXPECT_EQ(*reopened.state().mapValue, depth);
}

}  // namespace
}  // namespace kalvenor
