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

// The ground, then boundary 2 in two pieces (it dips below the base between 40 and 60 m).
const std::vector<ContactLine> kLines = {
    {0, {{1000, 2000, 105, 0}, {1060, 2080, 110, 100}}},
    {2, {{1000, 2000, 50, 0}, {1012, 2016, 40, 20}, {1024, 2032, 0, 40}}},
    {2, {{1036, 2048, 0, 60}, {1060, 2080, 30, 100}}},
};
const std::vector<std::string> kNames = {"", "石灰岩上面", "砂岩上面"};
const char* const kLineNames[] = {"ground", "砂岩上面", "砂岩上面"};

std::vector<std::unique_ptr<OGRFeature>> featuresOf(OGRLayer& layer) {
  std::vector<std::unique_ptr<OGRFeature>> features;
  layer.ResetReading();
  for (OGRFeature* f = layer.GetNextFeature(); f; f = layer.GetNextFeature()) {
    features.emplace_back(f);
  }
  return features;
}

struct VectorFormat {
  const char* extension;
  bool keepsCoordinateSystem;
};

class ContactsFileTest : public ::testing::TestWithParam<VectorFormat> {
 protected:
  Dataset writeAndOpen(const std::string& name, const std::string& srs) {
    const std::string path = folder_.file(name);
    writeToDisk(sectionContactsFiles(path, kLines, kNames, srs));
    return Dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
  }

  TempFolder folder_;
};

// Every vector format keeps the lines in 3D, point for point, with their attributes, and all
// but CSV the coordinate system.
TEST_P(ContactsFileTest, TheLinesComeBackWithTheirAttributesAndCoordinateSystem) {
  const Dataset dataset = writeAndOpen(std::string("contacts") + GetParam().extension, utmWkt());
  ASSERT_TRUE(dataset);
  ASSERT_EQ(dataset->GetLayerCount(), 1);
  OGRLayer& layer = *dataset->GetLayer(0);
  if (GetParam().keepsCoordinateSystem) {
    ASSERT_NE(layer.GetSpatialRef(), nullptr);
    EXPECT_STREQ(layer.GetSpatialRef()->GetAuthorityCode(nullptr), "32654");
  }
  const auto features = featuresOf(layer);
  ASSERT_EQ(features.size(), kLines.size());
  for (std::size_t n = 0; n < kLines.size(); ++n) {
    const OGRFeature& feature = *features[n];
    const ContactLine& expected = kLines[n];
    EXPECT_STREQ(feature.GetFieldAsString("name"), kLineNames[n]);
    EXPECT_EQ(feature.GetFieldAsInteger("boundary"), expected.boundary);
    EXPECT_DOUBLE_EQ(feature.GetFieldAsDouble("from_dist"), expected.points.front().distance);
    EXPECT_DOUBLE_EQ(feature.GetFieldAsDouble("to_dist"), expected.points.back().distance);
    const OGRGeometry* geometry = feature.GetGeometryRef();
    ASSERT_NE(geometry, nullptr);
    ASSERT_EQ(wkbFlatten(geometry->getGeometryType()), wkbLineString);
    ASSERT_TRUE(geometry->Is3D());
    const OGRLineString& line = *geometry->toLineString();
    ASSERT_EQ(line.getNumPoints(), static_cast<int>(expected.points.size()));
    for (int i = 0; i < line.getNumPoints(); ++i) {
      EXPECT_DOUBLE_EQ(line.getX(i), expected.points[i].x) << n << "/" << i;
      EXPECT_DOUBLE_EQ(line.getY(i), expected.points[i].y) << n << "/" << i;
      EXPECT_DOUBLE_EQ(line.getZ(i), expected.points[i].z) << n << "/" << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(VectorFormats, ContactsFileTest,
                         ::testing::Values(VectorFormat{".gpkg", true}, VectorFormat{".shp", true},
                                           VectorFormat{".geojson", true},
                                           VectorFormat{".csv", false}));

// Without one a GeoPackage would take the coordinates for degrees.
TEST(ContactsFile, ANameWithoutExtensionIsAGeoPackageInAnUndefinedCartesianSystemWhenNoneIsKnown) {
  TempFolder folder;
  const std::string path = folder.file("contacts");
  const ExportedFiles files = sectionContactsFiles(path, kLines, kNames, "");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].path, path);
  writeToDisk(files);
  const Dataset dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
  ASSERT_TRUE(dataset);
  EXPECT_STREQ(dataset->GetDriver()->GetDescription(), "GPKG");
  const OGRSpatialReference* srs = dataset->GetLayer(0)->GetSpatialRef();
  ASSERT_NE(srs, nullptr);
  EXPECT_TRUE(srs->IsLocal());
  EXPECT_FALSE(srs->IsGeographic());
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

// GDAL's own reason ends the one line; GDAL prints nothing itself.
TEST(ContactsFile, WhatGdalCannotWriteIsReportedWithTheFileAndNothingIsPrinted) {
  TempFolder folder;
  const std::string dxf = folder.file("c.dxf");
  ::testing::internal::CaptureStderr();
  const std::string problem =
      exportErrorOf([&] { sectionContactsFiles(dxf, kLines, kNames, utmWkt()); });
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_THAT(problem, ::testing::StartsWith(dxf + ": GDAL's DXF driver could not write the field "
                                                   "name: "));
  EXPECT_THAT(problem, HasSubstr("field 'name' not created"));
  EXPECT_THAT(problem, ::testing::Not(HasSubstr("\n")));
  EXPECT_THAT(exportErrorOf([&] {
                sectionContactsFiles(folder.file("c.gpkg"), kLines, kNames, "not a WKT");
              }),
              HasSubstr(folder.file("c.gpkg") + ": the display surface's coordinate system"));
}

// The run writes files, not folders: a format that makes a folder is refused, not written empty.
TEST(ContactsFile, AFormatThatMakesAFolderIsRefused) {
  TempFolder folder;
  EXPECT_THAT(
      exportErrorOf([&] { sectionContactsFiles(folder.file("c.gdb"), kLines, kNames, utmWkt()); }),
      HasSubstr("c.gdb: the format makes a folder (c.gdb), but a run writes only files"));
}

}  // namespace
}  // namespace kalvenor
