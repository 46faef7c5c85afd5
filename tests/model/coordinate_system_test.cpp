// Coordinate systems as the viewer compares them and names them for the exports.
#include "model/coordinate_system.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/gdal_dataset.h"
#include "model/grid_surface.h"
#include "raster_files.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

// The system as GDAL takes it from the text, without the viewer's identification.
std::string wktOf(const std::string& text) {
  OGRSpatialReference system;
  system.SetFromUserInput(text.c_str());
  char* wkt = nullptr;
  system.exportToWkt(&wkt);
  const std::string result = wkt;
  CPLFree(wkt);
  return result;
}

std::string epsgCodeOf(const std::string& wkt) {
  OGRSpatialReference system;
  system.importFromWkt(wkt.c_str());
  const char* authority = system.GetAuthorityName(nullptr);
  const char* code = system.GetAuthorityCode(nullptr);
  return authority && code ? std::string(authority) + ":" + code : "none";
}

// The system GDAL reads from the .prj of an ESRI ASCII grid it wrote in `srs`: ESRI's names, the
// axes east and north, and no EPSG code.
std::string esriGridSystem(const TempFolder& folder, const std::string& srs) {
  RasterSpec spec;
  spec.width = 2;
  spec.height = 2;
  spec.srs = srs;
  const std::string path = writeRaster(folder.file("grid.asc"), spec, "AAIGrid");
  const GdalDataset grid(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER));
  char* wkt = nullptr;
  grid->GetSpatialRef()->exportToWkt(&wkt);
  const std::string result = wkt;
  CPLFree(wkt);
  return result;
}

TEST(CoordinateSystem, SystemsThatPlaceNodesAlikeAreTheSame) {
  TempFolder folder;
  const std::string esri = esriGridSystem(folder, "EPSG:6677");
  ASSERT_EQ(epsgCodeOf(esri), "none");
  const struct {
    std::string a, b;
    bool same;
  } cases[] = {
      {wktOf("EPSG:6677"), wktOf("EPSG:6677"), true},
      // Northing first in EPSG's definition, easting first and ESRI's names in the .prj.
      {esri, wktOf("EPSG:6677"), true},
      // A vertical part does not move a node.
      {wktOf("EPSG:6677+6695"), wktOf("EPSG:6677"), true},
      {wktOf("EPSG:6677+6695"), esri, true},
      {wktOf("EPSG:6676"), wktOf("EPSG:6677"), false},
      {esriGridSystem(folder, "EPSG:6676"), esri, false},
      {wktOf("EPSG:32654"), wktOf("EPSG:6677"), false},
      {"", "", true},
      {"", esri, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sameSystem(c.a, c.b), c.same) << c.a << "\n" << c.b;
    EXPECT_EQ(sameSystem(c.b, c.a), c.same) << c.b << "\n" << c.a;
  }
}

TEST(CoordinateSystem, ASystemIsNamedByTheOneEpsgCodeEquivalentToIt) {
  TempFolder folder;
  const std::string tmerc = wktOf(
      "+proj=tmerc +lat_0=36 +lon_0=139.833333333333 +k=0.9999 +x_0=0 +y_0=0 "
      "+ellps=GRS80 +units=m +no_defs");
  const struct {
    std::string wkt;
    std::string code;
  } cases[] = {
      {esriGridSystem(folder, "EPSG:6677"), "EPSG:6677"},
      {wktOf("+proj=utm +zone=54 +datum=WGS84"), "EPSG:32654"},
      // JGD2000 and JGD2011 share the ellipsoid: without a datum it is either.
      {tmerc, "none"},
      {wktOf("EPSG:6676"), "EPSG:6676"},
  };
  for (const auto& c : cases) {
    const std::string named = identifiedSystem(c.wkt);
    EXPECT_EQ(epsgCodeOf(named), c.code) << c.wkt;
    EXPECT_TRUE(sameSystem(named, c.wkt));
  }
  EXPECT_EQ(identifiedSystem(tmerc), tmerc);
  EXPECT_EQ(identifiedSystem(""), "");
  EXPECT_EQ(epsgCodeOf(projectedSystemWkt("+proj=utm +zone=54 +datum=WGS84")), "EPSG:32654");
}

TEST(CoordinateSystem, AGridReadFromAnEsriGridCarriesTheEpsgCode) {
  TempFolder folder;
  RasterSpec spec;
  spec.width = 3;
  spec.height = 2;
  spec.transform = {0, 10, 0, 20, 0, -10};
  spec.srs = "EPSG:6677";
  const std::string path = writeRaster(folder.file("dem.asc"), spec, "AAIGrid");
  EXPECT_EQ(epsgCodeOf(readGridSurface(path).srs), "EPSG:6677");
  EXPECT_EQ(epsgCodeOf(gridSystem(path, {})), "EPSG:6677");
}

}  // namespace
}  // namespace kalvenor
