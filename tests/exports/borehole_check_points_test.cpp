#include "exports/borehole_check_points.h"

#include <gdal_priv.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "borehole_check_sample.h"
#include "export_test_support.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

struct PointCase {
  const char* hole;
  int boundary;
  const char* boundaryName;
  double x, y, z;
  double residual;  // NaN: null
  const char* status;
};

TEST(BoreholeCheckGeoPackage, ContactPointsComeBackWithResidualsNamesAndSystem) {
  TempFolder folder;
  const std::string path = folder.file("residuals.gpkg");
  writeToDisk(boreholeCheckGeoPackage(path, sampleCheck(), utmWkt()));
  const Dataset dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
  ASSERT_TRUE(dataset);
  ASSERT_EQ(dataset->GetLayerCount(), 1);
  OGRLayer& layer = *dataset->GetLayer(0);
  EXPECT_STREQ(layer.GetName(), "residuals");
  ASSERT_NE(layer.GetSpatialRef(), nullptr);
  EXPECT_STREQ(layer.GetSpatialRef()->GetAuthorityCode(nullptr), "32654");
  const PointCase expected[] = {
      {"BH-1", 1, "砂岩基底", 1000.5, 2000, 60, -2.25, "modelled"},
      {"BH-1", 2, "泥岩基底", 1001, 2000, 20, kNoValue, "not in the model"},
      {"west, 2", 1, "砂岩基底", 5000, 100, 87.5, kNoValue, "outside the model"},
  };
  ASSERT_EQ(layer.GetFeatureCount(), 3);
  layer.ResetReading();
  for (const PointCase& e : expected) {
    const std::unique_ptr<OGRFeature> f(layer.GetNextFeature());
    ASSERT_TRUE(f);
    EXPECT_STREQ(f->GetFieldAsString("hole"), e.hole);
    EXPECT_EQ(f->GetFieldAsInteger("boundary"), e.boundary);
    EXPECT_STREQ(f->GetFieldAsString("boundary_name"), e.boundaryName);
    EXPECT_STREQ(f->GetFieldAsString("status"), e.status);
    const int residual = f->GetFieldIndex("residual");
    if (std::isnan(e.residual)) {
      EXPECT_TRUE(f->IsFieldNull(residual)) << e.status;
      EXPECT_TRUE(f->IsFieldNull(f->GetFieldIndex("modelled_z"))) << e.status;
    } else {
      EXPECT_DOUBLE_EQ(f->GetFieldAsDouble(residual), e.residual);
      EXPECT_DOUBLE_EQ(f->GetFieldAsDouble("modelled_z"), 62.25);
      EXPECT_DOUBLE_EQ(f->GetFieldAsDouble("modelled_depth"), 38);
    }
    const OGRGeometry* g = f->GetGeometryRef();
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(wkbFlatten(g->getGeometryType()), wkbPoint);
    const OGRPoint& p = *g->toPoint();
    EXPECT_DOUBLE_EQ(p.getX(), e.x);
    EXPECT_DOUBLE_EQ(p.getY(), e.y);
    EXPECT_DOUBLE_EQ(p.getZ(), e.z);
  }
}

// A GeoPackage with a layer of its own that the check would overwrite.
void writeOtherLayer(const std::string& path, const char* name) {
  GDALAllRegister();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
  const Dataset dataset(driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  OGRLayer* layer = dataset->CreateLayer(name, nullptr, wkbPoint, nullptr);
  OGRFieldDefn field("note", OFTString);
  layer->CreateField(&field);
}

TEST(BoreholeCheckGeoPackage, FileHoldingOtherDataIsKept) {
  TempFolder folder;
  const std::string path = folder.file("residuals.gpkg");
  const struct {
    const char* layer;
    const char* message;
  } cases[] = {
      {"wells", "it holds the layer wells"},
      {"residuals", "its layer residuals is not a borehole check's"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(path);
    writeOtherLayer(path, c.layer);
    EXPECT_THAT(exportErrorOf([&] { boreholeCheckGeoPackage(path, sampleCheck(), ""); }),
                HasSubstr(c.message))
        << c.layer;
  }
}

TEST(BoreholeCheckGeoPackage, CheckWrittenBeforeIsReplaced) {
  TempFolder folder;
  const std::string path = folder.file("residuals.gpkg");
  writeToDisk(boreholeCheckGeoPackage(path, sampleCheck(), ""));
  BoreholeCheck fewer = sampleCheck();
  fewer.contacts.resize(1);
  writeToDisk(boreholeCheckGeoPackage(path, fewer, ""));
  const Dataset dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
  ASSERT_TRUE(dataset);
  ASSERT_EQ(dataset->GetLayerCount(), 1);
  EXPECT_EQ(dataset->GetLayer(0)->GetFeatureCount(), 1);
}

}  // namespace
}  // namespace kalvenor
