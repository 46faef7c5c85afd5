#include "cli/units_raster.h"

#include <gdal_priv.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "../evaluation/grid_fixtures.h"
#include "cli/grid_export.h"
#include "cli/units_sidecar.h"
#include "export_test_support.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

// Node (i, j) holds 10 i + j, so every pixel says which node it shows.
Array2D<std::int16_t> numbered(int nx, int ny) {
  Array2D<std::int16_t> units(1, nx, 1, ny);
  for (int i = 1; i <= nx; ++i) {
    for (int j = 1; j <= ny; ++j) units(i, j) = static_cast<std::int16_t>(10 * i + j);
  }
  return units;
}

const std::vector<UnitStyle> kStyles = {{"", packRgb(9, 9, 9), 0},
                                        {"砂岩", packRgb(255, 128, 0), 255},
                                        {"cap, top", packRgb(1, 2, 3), 255}};

class UnitsRasterTest : public ::testing::Test {
 protected:
  // The grid written under `name` and opened again with GDAL.
  Dataset exportAndOpen(const std::string& name, const DisplaySurface& display,
                        const Array2D<std::int16_t>& units) {
    files_ = unitsGridFiles(folder_.file(name), {display, units, kStyles});
    writeToDisk(files_);
    GDALAllRegister();
    return Dataset(GDALDataset::Open(folder_.file(name).c_str(), GDAL_OF_RASTER));
  }

  const std::string& bytesOf(const std::string& name) const {
    for (const ExportedFile& f : files_) {
      if (f.path == folder_.file(name)) return f.bytes;
    }
    throw std::out_of_range(name + " was not exported");
  }

  std::vector<std::string> fileNames() const {
    std::vector<std::string> names;
    for (const ExportedFile& f : files_) {
      names.push_back(std::filesystem::path(f.path).filename().string());
    }
    return names;
  }

  static DisplaySurface display(double dx, double dy, const std::string& srs = "") {
    DisplaySurface d =
        exactDisplaySurface(makeGrid(3, 2, 100, 200, dx, dy, [](double, double) { return 0; }));
    d.srs = srs;
    return d;
  }

  TempFolder folder_;
  ExportedFiles files_;
};

// Every pixel centre must be the node whose unit the pixel holds, north up, whichever way the
// grid is stored, in a GeoTIFF and in the ASCII grid alike.
TEST_F(UnitsRasterTest, EveryPixelCentreIsTheNodeItShows) {
  for (const std::string name : {"units.tif", "units.asc"}) {
    for (const auto& [dx, dy] : {std::pair{5.0, 7.5}, std::pair{-5.0, 7.5}, std::pair{5.0, -7.5}}) {
      SCOPED_TRACE(name + " " + std::to_string(dx) + " " + std::to_string(dy));
      const DisplaySurface d = display(dx, dy);
      const Dataset raster = exportAndOpen(name, d, numbered(3, 2));
      ASSERT_TRUE(raster);
      ASSERT_EQ(raster->GetRasterXSize(), 3);
      ASSERT_EQ(raster->GetRasterYSize(), 2);
      double t[6];
      ASSERT_EQ(raster->GetGeoTransform(t), CE_None);
      int values[6];
      ASSERT_EQ(raster->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, 3, 2, values, 3, 2, GDT_Int32, 0,
                                                   0, nullptr),
                CE_None);
      for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
          const int value = values[row * 3 + column];
          EXPECT_DOUBLE_EQ(t[0] + (column + 0.5) * t[1] + (row + 0.5) * t[2], d.x(value / 10));
          EXPECT_DOUBLE_EQ(t[3] + (column + 0.5) * t[4] + (row + 0.5) * t[5], d.y(value % 10));
        }
      }
    }
  }
}

TEST_F(UnitsRasterTest, TheGeoTiffReachesHalfACellBeyondTheOuterNodes) {
  // Nodes at x 100, 105, 110 and y 200, 207.5: the raster spans x 97.5..112.5, y 196.25..211.25.
  const Dataset raster = exportAndOpen("units.tif", display(5, 7.5), numbered(3, 2));
  ASSERT_TRUE(raster);
  double t[6];
  ASSERT_EQ(raster->GetGeoTransform(t), CE_None);
  EXPECT_THAT(std::vector<double>(t, t + 6), ::testing::ElementsAre(97.5, 5, 0, 211.25, 0, -7.5));
  // A point raster would be read half a cell away by some programs.
  const char* convention = raster->GetMetadataItem(GDALMD_AREA_OR_POINT);
  EXPECT_TRUE(convention == nullptr || std::string(convention) == GDALMD_AOP_AREA);
}

TEST_F(UnitsRasterTest, TheGeoTiffIsStyledBytesWithNodataZeroAndTheCoordinateSystem) {
  Array2D<std::int16_t> units(1, 3, 1, 2, 1);
  units(2, 1) = 0;
  units(3, 2) = 2;
  const Dataset raster = exportAndOpen("units.tif", display(5, 5, utmWkt()), units);
  ASSERT_TRUE(raster);
  EXPECT_STREQ(raster->GetDriver()->GetDescription(), "GTiff");
  GDALRasterBand& band = *raster->GetRasterBand(1);
  EXPECT_EQ(band.GetRasterDataType(), GDT_Byte);
  int hasNodata = 0;
  EXPECT_EQ(band.GetNoDataValue(&hasNodata), 0);
  EXPECT_TRUE(hasNodata);
  GByte south[3];
  ASSERT_EQ(band.RasterIO(GF_Read, 0, 1, 3, 1, south, 3, 1, GDT_Byte, 0, 0, nullptr), CE_None);
  EXPECT_THAT(south, ::testing::ElementsAre(1, 0, 1));
  const GDALColorTable* palette = band.GetColorTable();
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(band.GetColorInterpretation(), GCI_PaletteIndex);
  const GDALColorEntry* orange = palette->GetColorEntry(1);
  EXPECT_EQ(std::vector<short>({orange->c1, orange->c2, orange->c3, orange->c4}),
            (std::vector<short>{255, 128, 0, 255}));
  EXPECT_EQ(palette->GetColorEntry(0)->c4, 0);
  char** names = band.GetCategoryNames();
  ASSERT_NE(names, nullptr);
  ASSERT_EQ(CSLCount(names), 3);
  EXPECT_STREQ(names[1], "砂岩");
  EXPECT_STREQ(names[2], "cap, top");
  ASSERT_NE(raster->GetSpatialRef(), nullptr);
  EXPECT_STREQ(raster->GetSpatialRef()->GetAuthorityCode(nullptr), "32654");
  EXPECT_THAT(fileNames(), ::testing::UnorderedElementsAre("units.tif", "units.tif.aux.xml"));
}

TEST_F(UnitsRasterTest, TheAsciiGridGetsAPrjAndASidecarThatStylesIt) {
  const DisplaySurface d = display(5, 5, utmWkt());
  const Dataset raster = exportAndOpen("units.asc", d, numbered(3, 2));
  ASSERT_TRUE(raster);
  EXPECT_THAT(fileNames(),
              ::testing::UnorderedElementsAre("units.asc", "units.prj", "units.asc.aux.xml"));
  EXPECT_EQ(bytesOf("units.asc"), esriUnitsGrid(d, numbered(3, 2)));
  GDALRasterBand& band = *raster->GetRasterBand(1);
  ASSERT_NE(band.GetColorTable(), nullptr);
  EXPECT_EQ(band.GetColorTable()->GetColorEntry(2)->c3, 3);
  ASSERT_NE(band.GetCategoryNames(), nullptr);
  EXPECT_STREQ(band.GetCategoryNames()[1], "砂岩");
  ASSERT_NE(raster->GetSpatialRef(), nullptr);
  EXPECT_TRUE(raster->GetSpatialRef()->IsProjected());
  // ESRI's form, which names no authority of its own, with the EPSG code GIS programs know it by.
  EXPECT_THAT(bytesOf("units.prj"), ::testing::StartsWith("PROJCS[\"WGS_1984_UTM_Zone_54N\""));
  EXPECT_STREQ(raster->GetSpatialRef()->GetAuthorityCode(nullptr), "32654");
}

TEST_F(UnitsRasterTest, WithoutACoordinateSystemTheAsciiGridHasNoPrj) {
  ASSERT_TRUE(exportAndOpen("units.asc", display(5, 5), numbered(3, 2)));
  EXPECT_THAT(fileNames(), ::testing::UnorderedElementsAre("units.asc", "units.asc.aux.xml"));
}

TEST_F(UnitsRasterTest, WhatOnlyTheSidecarCanHoldIsKeptWithTheStyles) {
  // A PNG holds neither georeferencing nor NODATA: both reach GDAL through the sidecar.
  const Dataset raster =
      exportAndOpen("units.png", display(5, 7.5), Array2D<std::int16_t>(1, 3, 1, 2, 2));
  ASSERT_TRUE(raster);
  double t[6];
  ASSERT_EQ(raster->GetGeoTransform(t), CE_None);
  EXPECT_DOUBLE_EQ(t[0], 97.5);
  int hasNodata = 0;
  raster->GetRasterBand(1)->GetNoDataValue(&hasNodata);
  EXPECT_TRUE(hasNodata);
  ASSERT_NE(raster->GetRasterBand(1)->GetCategoryNames(), nullptr);
}

TEST(StylingSidecar, ReplacesTheStylesGdalWroteAndKeepsTheRest) {
  const std::string written =
      "<PAMDataset><SRS>LOCAL_CS[\"x\"]</SRS><PAMRasterBand band=\"1\"><CategoryNames>"
      "<Category>old</Category></CategoryNames><Description>kept</Description></PAMRasterBand>"
      "</PAMDataset>";
  const std::string sidecar = stylingSidecar(written, kStyles);
  EXPECT_THAT(sidecar, HasSubstr("<SRS>LOCAL_CS"));
  EXPECT_THAT(sidecar, HasSubstr("<Description>kept</Description>"));
  EXPECT_THAT(sidecar, ::testing::Not(HasSubstr("old")));
  EXPECT_EQ(sidecar.find("<CategoryNames>"), sidecar.rfind("<CategoryNames>"));
  EXPECT_EQ(sidecar.find("<PAMRasterBand"), sidecar.rfind("<PAMRasterBand"));
  EXPECT_THAT(sidecar, HasSubstr("<Category>cap, top</Category>"));
  EXPECT_THAT(sidecar, HasSubstr("<Entry c1=\"255\" c2=\"128\" c3=\"0\" c4=\"255\" />"));
  EXPECT_THAT(sidecar, HasSubstr("<NoDataValue>0</NoDataValue>"));
}

TEST(UnitsGridName, AFormatMustFollowFromTheExtension) {
  EXPECT_EQ(exportErrorOf([] { checkUnitsGridName("out/units.frob"); }),
            "out/units.frob: no GDAL raster format writes files ending in .frob");
  EXPECT_THAT(exportErrorOf([] { checkUnitsGridName("out/units"); }), HasSubstr("out/units: "));
  EXPECT_EQ(exportErrorOf([] { checkUnitsGridName("out/units.TIF"); }), "no error");
  EXPECT_EQ(exportErrorOf([] { checkUnitsGridName("out/units.asc"); }), "no error");
}

}  // namespace
}  // namespace kalvenor
