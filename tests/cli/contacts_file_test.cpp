#include "cli/contacts_file.h"

#include <gdal_priv.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <memory>

#include "export_test_support.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

struct CloseDataset {
  void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<GDALDataset, CloseDataset>;

std::string utmWkt() {
  OGRSpatialReference srs;
  srs.importFromEPSG(32654);
  char* text = nullptr;
  srs.exportToWkt(&text);
  const std::string wkt = text;
  CPLFree(text);
  return wkt;
}

// The ground, then boundary 2 in two pieces (it dips below the base between 40 and 60 m).
const std::vector<ContactLine> kLines = {
    {0, {{1000, 2000, 105, 0}, {1060, 2080, 110, 100}}},
    {2, {{1000, 2000, 50, 0}, {1012, 2016, 40, 20}, {1024, 2032, 0, 40}}},
    {2, {{1036, 2048, 0, 60}, {1060, 2080, 30, 100}}},
};
const std::vector<std::string> kNames = {"", "石灰岩上面", "砂岩上面"};

class ContactsFileTest : public ::testing::TestWithParam<const char*> {
 protected:
  Dataset writeAndOpen(const std::string& name, const std::string& srs) {
    const std::string path = folder_.file(name);
    writeToDisk(sectionContactsFiles(path, kLines, kNames, srs));
    return Dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
  }

  TempFolder folder_;
};

// Every vector format keeps the lines in 3D, their attributes and the coordinate system.
TEST_P(ContactsFileTest, TheLinesComeBackWithTheirAttributesAndCoordinateSystem) {
  const Dataset dataset = writeAndOpen(std::string("contacts") + GetParam(), utmWkt());
  ASSERT_TRUE(dataset);
  ASSERT_EQ(dataset->GetLayerCount(), 1);
  OGRLayer& layer = *dataset->GetLayer(0);
  ASSERT_NE(layer.GetSpatialRef(), nullptr);
  EXPECT_EQ(std::string(layer.GetSpatialRef()->GetAuthorityCode(nullptr)), "32654");
  ASSERT_EQ(layer.GetFeatureCount(), 3);
  std::vector<std::unique_ptr<OGRFeature>> features;
  for (OGRFeature* f = layer.GetNextFeature(); f; f = layer.GetNextFeature()) {
    features.emplace_back(f);
  }
  ASSERT_EQ(features.size(), 3u);
  EXPECT_STREQ(features[0]->GetFieldAsString("name"), "ground");
  EXPECT_EQ(features[0]->GetFieldAsInteger("boundary"), 0);
  EXPECT_STREQ(features[2]->GetFieldAsString("name"), "砂岩上面");
  EXPECT_EQ(features[2]->GetFieldAsInteger("boundary"), 2);
  EXPECT_DOUBLE_EQ(features[2]->GetFieldAsDouble("from_dist"), 60);
  EXPECT_DOUBLE_EQ(features[2]->GetFieldAsDouble("to_dist"), 100);
  const OGRGeometry* geometry = features[1]->GetGeometryRef();
  ASSERT_NE(geometry, nullptr);
  ASSERT_EQ(wkbFlatten(geometry->getGeometryType()), wkbLineString);
  ASSERT_TRUE(geometry->Is3D());
  const OGRLineString& line = *geometry->toLineString();
  ASSERT_EQ(line.getNumPoints(), 3);
  EXPECT_DOUBLE_EQ(line.getX(1), 1012);
  EXPECT_DOUBLE_EQ(line.getY(1), 2016);
  EXPECT_DOUBLE_EQ(line.getZ(1), 40);
}

INSTANTIATE_TEST_SUITE_P(VectorFormats, ContactsFileTest,
                         ::testing::Values(".gpkg", ".shp", ".geojson"));

TEST(ContactsFile, ANameWithoutExtensionIsAGeoPackageWithoutACoordinateSystemWhenNoneIsKnown) {
  TempFolder folder;
  const std::string path = folder.file("contacts");
  const ExportedFiles files = sectionContactsFiles(path, kLines, kNames, "");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].path, path);
  writeToDisk(files);
  const Dataset dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
  ASSERT_TRUE(dataset);
  EXPECT_STREQ(dataset->GetDriver()->GetDescription(), "GPKG");
  EXPECT_EQ(dataset->GetLayer(0)->GetFeatureCount(), 3);
}

TEST(ContactsFile, AShapefileIsEveryFileBesideTheNamedOneAndNoneElsewhere) {
  TempFolder folder;
  const ExportedFiles files = sectionContactsFiles(folder.file("c.shp"), kLines, kNames, utmWkt());
  std::vector<std::string> paths;
  for (const ExportedFile& f : files) paths.push_back(f.path);
  EXPECT_THAT(paths, ::testing::IsSupersetOf({folder.file("c.shp"), folder.file("c.shx"),
                                              folder.file("c.dbf"), folder.file("c.prj")}));
  for (const std::string& p : paths) EXPECT_THAT(p, ::testing::StartsWith(folder.file("c.")));
}

TEST(ContactsFile, NamesNoFormatWritesAreRefusedByName) {
  EXPECT_EQ(exportErrorOf([] { checkContactsName("out/contacts.frob"); }),
            "out/contacts.frob: no GDAL vector format writes files ending in .frob");
  EXPECT_NO_THROW(checkContactsName("out/contacts.GPKG"));
  EXPECT_NO_THROW(checkContactsName("out/contacts"));
}

TEST(ContactsFile, AnUnreadableCoordinateSystemIsReportedWithTheFile) {
  TempFolder folder;
  EXPECT_THAT(exportErrorOf([&] {
                sectionContactsFiles(folder.file("c.gpkg"), kLines, kNames, "not a WKT");
              }),
              HasSubstr(folder.file("c.gpkg") + ": the display surface's coordinate system"));
}

}  // namespace
}  // namespace kalvenor
