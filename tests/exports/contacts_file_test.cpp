#include "exports/contacts_file.h"

#include <gdal_priv.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <filesystem>
#include <fstream>
#include <map>
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
  bool inLongitudesAndLatitudes;
};

// A point of a line read back, in the system the lines were written in: GeoJSON's longitudes
// and latitudes are converted back (they keep 7 decimals, about a centimetre).
OGRPoint inUtm(const OGRLineString& line, int i, bool inLongitudesAndLatitudes) {
  OGRPoint point(line.getX(i), line.getY(i), line.getZ(i));
  if (!inLongitudesAndLatitudes) return point;
  OGRSpatialReference wgs84;
  wgs84.importFromEPSG(4326);
  wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  OGRSpatialReference utm;
  utm.importFromEPSG(32654);
  utm.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  const std::unique_ptr<OGRCoordinateTransformation> back(
      OGRCreateCoordinateTransformation(&wgs84, &utm));
  double x = point.getX();
  double y = point.getY();
  back->Transform(1, &x, &y);
  return OGRPoint(x, y, point.getZ());
}

class ContactsFileTest : public ::testing::TestWithParam<VectorFormat> {
 protected:
  Dataset writeAndOpen(const std::string& name, const std::string& srs) {
    const std::string path = folder_.file(name);
    writeToDisk(sectionContactsFiles(path, "", kLines, kNames, srs));
    return Dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
  }

  TempFolder folder_;
};

// Every vector format keeps the lines in 3D, point for point, with their attributes and the
// coordinate system (CSV in a .prj beside it); GeoJSON holds them in longitudes and latitudes
// on WGS 84 with the heights as they are.
TEST_P(ContactsFileTest, TheLinesComeBackWithTheirAttributesAndCoordinateSystem) {
  const bool degrees = GetParam().inLongitudesAndLatitudes;
  const Dataset dataset = writeAndOpen(std::string("contacts") + GetParam().extension, utmWkt());
  ASSERT_TRUE(dataset);
  ASSERT_EQ(dataset->GetLayerCount(), 1);
  OGRLayer& layer = *dataset->GetLayer(0);
  ASSERT_NE(layer.GetSpatialRef(), nullptr);
  if (degrees) {
    EXPECT_TRUE(layer.GetSpatialRef()->IsGeographic());
    EXPECT_STREQ(layer.GetSpatialRef()->GetAttrValue("DATUM"), "WGS_1984");
  } else {
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
      const OGRPoint p = inUtm(line, i, degrees);
      const double tolerance = degrees ? 0.02 : 0.0;
      EXPECT_NEAR(p.getX(), expected.points[i].x, tolerance) << n << "/" << i;
      EXPECT_NEAR(p.getY(), expected.points[i].y, tolerance) << n << "/" << i;
      EXPECT_DOUBLE_EQ(p.getZ(), expected.points[i].z) << n << "/" << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(VectorFormats, ContactsFileTest,
                         ::testing::Values(VectorFormat{".gpkg", false},
                                           VectorFormat{".shp", false},
                                           VectorFormat{".geojson", true},
                                           VectorFormat{".geojsonl", true},
                                           VectorFormat{".csv", false}));

// Without one a GeoPackage would take the coordinates for degrees.
TEST(ContactsFile, ANameWithoutExtensionIsAGeoPackageInAnUndefinedCartesianSystemWhenNoneIsKnown) {
  TempFolder folder;
  const std::string path = folder.file("contacts");
  const ExportedFiles files = sectionContactsFiles(path, "", kLines, kNames, "");
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
  const ExportedFiles files =
      sectionContactsFiles(folder.file("c.shp"), "", kLines, kNames, utmWkt());
  std::vector<std::string> paths;
  for (const ExportedFile& f : files) paths.push_back(f.path);
  EXPECT_THAT(paths, ::testing::IsSupersetOf({folder.file("c.shp"), folder.file("c.shx"),
                                              folder.file("c.dbf"), folder.file("c.prj")}));
  for (const std::string& p : paths) EXPECT_THAT(p, ::testing::StartsWith(folder.file("c.")));
}

TEST(ContactsFile, NamesNoFormatWritesAreRefusedByName) {
  EXPECT_EQ(exportErrorOf([] { checkContactsName("out/contacts.frob", ""); }),
            "out/contacts.frob: no GDAL vector format writes files ending in .frob");
  EXPECT_NO_THROW(checkContactsName("out/contacts.GPKG", ""));
  EXPECT_NO_THROW(checkContactsName("out/contacts", ""));
}

// GDAL's own reason ends the one line; GDAL prints nothing itself.
TEST(ContactsFile, WhatGdalCannotWriteIsReportedWithTheFileAndNothingIsPrinted) {
  TempFolder folder;
  const std::string dxf = folder.file("c.dxf");
  ::testing::internal::CaptureStderr();
  const std::string problem =
      exportErrorOf([&] { sectionContactsFiles(dxf, "", kLines, kNames, utmWkt()); });
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_THAT(problem, ::testing::StartsWith(dxf + ": GDAL's DXF driver could not write the field "
                                                   "name: "));
  EXPECT_THAT(problem, HasSubstr("field 'name' not created"));
  EXPECT_THAT(problem, ::testing::Not(HasSubstr("\n")));
  EXPECT_THAT(exportErrorOf([&] {
                sectionContactsFiles(folder.file("c.gpkg"), "", kLines, kNames, "not a WKT");
              }),
              HasSubstr(folder.file("c.gpkg") + ": the display surface's coordinate system"));
}

// Without a .csvt every attribute of a CSV would read back as text.
TEST(ContactsFile, ACsvGetsItsFieldTypesBesideIt) {
  TempFolder folder;
  const ExportedFiles files = sectionContactsFiles(folder.file("c.csv"), "", kLines, kNames, "");
  writeToDisk(files);
  const Dataset dataset(GDALDataset::Open(folder.file("c.csv").c_str(), GDAL_OF_VECTOR));
  ASSERT_TRUE(dataset);
  OGRFeatureDefn& fields = *dataset->GetLayer(0)->GetLayerDefn();
  const auto typeOf = [&](const char* name) {
    const int index = fields.GetFieldIndex(name);
    return index < 0 ? OFTBinary : fields.GetFieldDefn(index)->GetType();
  };
  EXPECT_EQ(typeOf("name"), OFTString);
  EXPECT_EQ(typeOf("boundary"), OFTInteger);
  EXPECT_EQ(typeOf("from_dist"), OFTReal);
  EXPECT_EQ(typeOf("to_dist"), OFTReal);
  EXPECT_EQ(dataset->GetLayer(0)->GetSpatialRef(), nullptr);  // no .prj for an unknown system
}

TEST(ContactsFile, GeoJsonWithoutACoordinateSystemIsRefusedWithAHint) {
  for (const char* name : {"out/c.geojson", "out/c.geojsonl"}) {
    EXPECT_EQ(exportErrorOf([&] { sectionContactsFiles(name, "", kLines, kNames, ""); }),
              std::string(name) +
                  ": GeoJSON holds longitudes and latitudes (WGS 84), but the display surface "
                  "names no coordinate system to convert from; give --srs, or write the contacts "
                  "as .gpkg");
    EXPECT_NE(exportErrorOf([&] { checkContactsSystem(name, ""); }), "no error");
    EXPECT_EQ(exportErrorOf([&] { checkContactsSystem(name, utmWkt()); }), "no error");
  }
  EXPECT_EQ(exportErrorOf([] { checkContactsSystem("out/c.gpkg", ""); }), "no error");
}

// A GeoPackage or SQLite file of somebody's own with a point layer in it.
void writeBoreholes(const std::string& path, const char* format) {
  GDALAllRegister();
  const Dataset dataset(GetGDALDriverManager()->GetDriverByName(format)->Create(
      path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  OGRLayer* layer = dataset->CreateLayer("boreholes", nullptr, wkbPoint, nullptr);
  OGRFeature feature(layer->GetLayerDefn());
  OGRPoint point(1, 2);
  feature.SetGeometry(&point);
  ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
}

std::map<std::string, GIntBig> layerSizes(const std::string& path) {
  std::map<std::string, GIntBig> sizes;
  const Dataset dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
  if (!dataset) return sizes;
  for (OGRLayer* layer : dataset->GetLayers()) sizes[layer->GetName()] = layer->GetFeatureCount();
  return sizes;
}

// Only our layer is written or replaced; the run writes the updated copy in the file's place.
TEST(ContactsFile, AContainerThatIsThereKeepsEveryOtherLayer) {
  for (const auto& [name, format] :
       {std::pair{"project.gpkg", "GPKG"}, std::pair{"project.sqlite", "SQLite"}}) {
    SCOPED_TRACE(name);
    TempFolder folder;
    const std::string path = folder.file(name);
    writeBoreholes(path, format);
    const auto write = [&](const std::string& layer) {
      const ExportedFiles files = sectionContactsFiles(path, layer, kLines, kNames, utmWkt());
      ASSERT_EQ(files.size(), 1u);
      EXPECT_EQ(files[0].path, path);
      writeToDisk(files);
    };
    write("");
    using Sizes = std::map<std::string, GIntBig>;
    EXPECT_EQ(layerSizes(path), (Sizes{{"boreholes", 1}, {"project", 3}}));
    write("contacts");
    write("contacts");  // replaced, not added to
    EXPECT_EQ(layerSizes(path), (Sizes{{"boreholes", 1}, {"project", 3}, {"contacts", 3}}));
  }
}

TEST(ContactsFile, WhatAContainerHoldsIsNeverReplacedByContacts) {
  TempFolder folder;
  const std::string path = folder.file("project.gpkg");
  writeBoreholes(path, "GPKG");
  const auto problem = [&](const std::string& target, const std::string& layer) {
    return exportErrorOf([&] { sectionContactsFiles(target, layer, kLines, kNames, utmWkt()); });
  };
  EXPECT_EQ(problem(path, "boreholes"),
            path +
                ": its layer boreholes is not one of section contacts (lines with the fields "
                "name, boundary, from_dist and to_dist), so it is kept; give --layer another "
                "name");
  EXPECT_EQ(problem(path, "BOREHOLES"), problem(path, "boreholes"));
  std::ofstream(path + "-wal") << "";
  EXPECT_EQ(problem(path, "contacts"), path + ": another program has it open (" + path +
                                           "-wal lies beside it), so it is kept; close it there "
                                           "first");
  const std::string notAGeoPackage = folder.file("old.gpkg");
  std::ofstream(notAGeoPackage) << "old output";
  EXPECT_EQ(problem(notAGeoPackage, ""),
            notAGeoPackage +
                ": there is a file of this name that GDAL's GPKG driver cannot read, "
                "so it is kept; name another file");
  // GML keeps several layers, but GDAL cannot add one to a file that is there.
  const std::string gml = folder.file("project.gml");
  writeToDisk(sectionContactsFiles(gml, "first", kLines, kNames, utmWkt()));
  EXPECT_EQ(problem(gml, "second"), gml +
                                        ": it holds the layers first, which GDAL's GML driver "
                                        "cannot keep while it writes another; name another file");
  EXPECT_EQ(problem(gml, "first"), "no error");
}

// A folder holds one shapefile per layer: ours is written beside the others, named by --layer or
// like the folder.
TEST(ContactsFile, AFolderGetsTheLayerAsAShapefileBesideTheOthers) {
  TempFolder folder;
  const std::string shapes = folder.file("shapes");
  std::filesystem::create_directory(shapes);
  writeBoreholes(shapes + "/boreholes.shp", "ESRI Shapefile");
  const auto names = [](const ExportedFiles& files) {
    std::vector<std::string> paths;
    for (const ExportedFile& f : files) paths.push_back(f.path);
    return paths;
  };
  const ExportedFiles files = sectionContactsFiles(shapes, "faults", kLines, kNames, utmWkt());
  EXPECT_THAT(names(files), ::testing::IsSupersetOf({shapes + "/faults.shp", shapes + "/faults.dbf",
                                                     shapes + "/faults.shx"}));
  for (const std::string& p : names(files)) {
    EXPECT_THAT(p, ::testing::StartsWith(shapes + "/faults."));
  }
  EXPECT_THAT(names(sectionContactsFiles(shapes + "/", "", kLines, kNames, utmWkt())),
              ::testing::Contains(shapes + "/shapes.shp"));
  writeToDisk(files);
  EXPECT_EQ(layerSizes(shapes), (std::map<std::string, GIntBig>{{"boreholes", 1}, {"faults", 3}}));
  EXPECT_THAT(
      exportErrorOf([&] { sectionContactsFiles(shapes, "boreholes", kLines, kNames, utmWkt()); }),
      HasSubstr("boreholes.shp: its layer boreholes is not one of section contacts"));
  EXPECT_THAT(exportErrorOf([&] { checkContactsName(shapes, "../x"); }),
              HasSubstr("a file name, without /"));
}

TEST(ContactsFile, ALayerNameIsForFormatsThatHoldSeveral) {
  for (const char* single : {"out/c.shp", "out/c.geojson", "out/c.csv"}) {
    EXPECT_THAT(exportErrorOf([&] { checkContactsName(single, "faults"); }),
                HasSubstr("this format holds one layer, named like the file, so --layer cannot "
                          "name it"));
    EXPECT_EQ(exportErrorOf([&] { checkContactsName(single, ""); }), "no error");
  }
  for (const char* container : {"out/c.gpkg", "out/c.sqlite", "out/c"}) {
    EXPECT_EQ(exportErrorOf([&] { checkContactsName(container, "faults"); }), "no error");
  }
}

// The names the run checks before anything is built hold every file the export then makes.
TEST(ContactsFile, TheFilesNamedBeforehandAreTheFilesWritten) {
  TempFolder folder;
  std::filesystem::create_directory(folder.file("shapes"));
  for (const std::string name : {"c.gpkg", "c.shp", "c.csv", "c.geojson", "c", "shapes"}) {
    SCOPED_TRACE(name);
    const std::vector<std::string> named = contactsFileNames(folder.file(name), "");
    for (const ExportedFile& f :
         sectionContactsFiles(folder.file(name), "", kLines, kNames, utmWkt())) {
      EXPECT_THAT(named, ::testing::Contains(f.path));
    }
  }
}

// The run writes files, not folders: a format that makes a folder is refused, not written empty.
TEST(ContactsFile, AFormatThatMakesAFolderIsRefused) {
  TempFolder folder;
  EXPECT_THAT(exportErrorOf([&] {
                sectionContactsFiles(folder.file("c.gdb"), "", kLines, kNames, utmWkt());
              }),
              HasSubstr("c.gdb: the format makes a folder (c.gdb), but a run writes only files"));
}

}  // namespace
}  // namespace kalvenor
