#include "exports/units_raster.h"

#include <cpl_minixml.h>
#include <gdal_priv.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>

#include "../evaluation/grid_fixtures.h"
#include "export_test_support.h"
#include "exports/grid_export.h"
#include "exports/qgis_style.h"
#include "exports/units_readback.h"
#include "exports/units_sidecar.h"

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

// A style for every value of numbered(3, 2): a paletted format keeps no value beyond its palette.
std::vector<UnitStyle> numberedStyles() {
  std::vector<UnitStyle> styles{{"", kBlack, 0}};
  for (int value = 1; value <= 32; ++value) styles.push_back({"u", packRgb(value, 0, 0), 255});
  return styles;
}

class UnitsRasterTest : public ::testing::Test {
 protected:
  // The grid written under `name` and opened again with GDAL.
  Dataset exportAndOpen(const std::string& name, const DisplaySurface& display,
                        const Array2D<std::int16_t>& units,
                        const std::vector<UnitStyle>& styles = kStyles) {
    files_ = unitsGridFiles(folder_.file(name), {display, units, styles});
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
// grid is stored, in every lossless format alike: a VRT reads its GeoTIFF beside it, netCDF is
// written where its driver can write.
TEST_F(UnitsRasterTest, EveryPixelCentreIsTheNodeItShows) {
  for (const std::string name :
       {"units.tif", "units.asc", "units.vrt", "units.nc", "units.gpkg", "units.img"}) {
    for (const auto& [dx, dy] : {std::pair{5.0, 7.5}, std::pair{-5.0, 7.5}, std::pair{5.0, -7.5}}) {
      SCOPED_TRACE(name + " " + std::to_string(dx) + " " + std::to_string(dy));
      const DisplaySurface d = display(dx, dy);
      const Dataset raster = exportAndOpen(name, d, numbered(3, 2), numberedStyles());
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
  EXPECT_THAT(fileNames(),
              ::testing::UnorderedElementsAre("units.tif", "units.tif.aux.xml", "units.qml"));
}

TEST_F(UnitsRasterTest, TheAsciiGridGetsAPrjAndASidecarThatStylesIt) {
  const DisplaySurface d = display(5, 5, utmWkt());
  const Dataset raster = exportAndOpen("units.asc", d, numbered(3, 2));
  ASSERT_TRUE(raster);
  EXPECT_THAT(fileNames(), ::testing::UnorderedElementsAre("units.asc", "units.prj",
                                                           "units.asc.aux.xml", "units.qml"));
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
  EXPECT_THAT(fileNames(),
              ::testing::UnorderedElementsAre("units.asc", "units.asc.aux.xml", "units.qml"));
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

// Two units of one colour (the default colours repeat after eight units) stay two units, also in
// a format that stores its palette by colour; GDAL still finds the palette in the sidecar.
TEST_F(UnitsRasterTest, UnitsOfOneColourKeepTheirCodes) {
  const std::vector<UnitStyle> styles = {
      {"", kBlack, 0}, {"a", packRgb(10, 20, 30), 255}, {"b", packRgb(10, 20, 30), 255}};
  Array2D<std::int16_t> units(1, 3, 1, 2, 1);
  units(2, 1) = 2;
  units(3, 2) = 0;
  for (const std::string name : {"units.gpkg", "units.tif", "units.png"}) {
    SCOPED_TRACE(name);
    const Dataset raster = exportAndOpen(name, display(5, 5), units, styles);
    ASSERT_TRUE(raster);
    GByte values[6];
    ASSERT_EQ(raster->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, 3, 2, values, 3, 2, GDT_Byte, 0, 0,
                                                 nullptr),
              CE_None);
    EXPECT_THAT(values, ::testing::ElementsAre(1, 1, 0, 1, 2, 1));
    EXPECT_THAT(bytesOf(name + ".aux.xml"),
                HasSubstr("<Entry c1=\"10\" c2=\"20\" c3=\"30\" c4=\"255\" />"));
  }
}

// The VRT names its data by a path relative to itself: moved with it, it still reads them.
TEST_F(UnitsRasterTest, AVrtKeepsItsDataInAGeoTiffBesideItThatMovesWithIt) {
  files_ = unitsGridFiles(folder_.file("units.vrt"), {display(5, 5), numbered(3, 2), kStyles});
  EXPECT_THAT(fileNames(), ::testing::IsSupersetOf({"units.vrt", "units.vrt.tif"}));
  writeToDisk(files_);
  const TempFolder moved;
  for (const ExportedFile& f : files_) {
    std::filesystem::rename(f.path, moved.file(std::filesystem::path(f.path).filename()));
  }
  GDALAllRegister();
  const Dataset vrt(GDALDataset::Open(moved.file("units.vrt").c_str(), GDAL_OF_RASTER));
  ASSERT_TRUE(vrt);
  int values[6];
  ASSERT_EQ(
      vrt->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, 3, 2, values, 3, 2, GDT_Int32, 0, 0, nullptr),
      CE_None);
  EXPECT_THAT(values, ::testing::ElementsAre(12, 22, 32, 11, 21, 31));
  EXPECT_STREQ(vrt->GetRasterBand(1)->GetCategoryNames()[1], "砂岩");
}

// netCDF cannot be made in GDAL's memory: it is made in a hidden folder beside the target, which
// is gone when the files are returned, and nothing is written in the target's place yet.
TEST_F(UnitsRasterTest, AFormatMadeOnDiskLeavesNothingBesideTheTarget) {
  const std::filesystem::path beside =
      std::filesystem::path(folder_.file("units.nc")).parent_path();
  files_ = unitsGridFiles(folder_.file("units.nc"), {display(5, 5), numbered(3, 2), kStyles});
  EXPECT_THAT(fileNames(), ::testing::Contains("units.nc"));
  EXPECT_TRUE(std::filesystem::is_empty(beside));
  EXPECT_EQ(
      exportErrorOf([&] {
        unitsGridFiles(folder_.file("missing/units.nc"), {display(5, 5), numbered(3, 2), kStyles});
      }),
      folder_.file("missing/units.nc") + ": cannot create the file: No such file or directory");
}

// The legend of the QGIS style shows the units, each with its colour and name, and not NODATA.
TEST(QgisRasterStyle, HasAPaletteClassForEveryUnitAndNoneForNodata) {
  const std::vector<UnitStyle> styles = {{"", packRgb(9, 9, 9), 0},
                                         {"砂岩", packRgb(255, 128, 0), 255},
                                         {"", packRgb(1, 2, 3), 255},
                                         {"<cap & \"top\">", packRgb(0, 0, 255), 255}};
  const std::string style = qgisRasterStyle(styles);
  EXPECT_THAT(style, ::testing::StartsWith("<!DOCTYPE qgis"));
  const std::unique_ptr<CPLXMLNode, void (*)(CPLXMLNode*)> root(CPLParseXMLString(style.c_str()),
                                                                CPLDestroyXMLNode);
  ASSERT_NE(root, nullptr);
  const CPLXMLNode* renderer = CPLGetXMLNode(root.get(), "=qgis.pipe.rasterrenderer");
  ASSERT_NE(renderer, nullptr);
  EXPECT_STREQ(CPLGetXMLValue(renderer, "type", ""), "paletted");
  std::vector<std::string> classes;
  for (const CPLXMLNode* e = CPLGetXMLNode(renderer, "colorPalette")->psChild; e; e = e->psNext) {
    if (e->eType != CXT_Element) continue;
    classes.push_back(std::string(CPLGetXMLValue(e, "value", "")) + " " +
                      CPLGetXMLValue(e, "color", "") + " " + CPLGetXMLValue(e, "alpha", "") + " " +
                      CPLGetXMLValue(e, "label", ""));
  }
  EXPECT_THAT(classes, ::testing::ElementsAre("1 #ff8000 255 砂岩", "2 #010203 255 unit 2",
                                              "3 #0000ff 255 <cap & \"top\">"));
  EXPECT_EQ(qgisStylePath("out/units.tif"), "out/units.qml");
  EXPECT_EQ(qgisStylePath("out/units.vrt"), "out/units.qml");
}

// Every extension a GDAL raster driver writes either gives a grid that GDAL reads back as it was
// made, or a one-line refusal; none crashes.
TEST_F(UnitsRasterTest, EveryRasterFormatWritesTheGridOrRefusesIt) {
  std::set<std::string> extensions;
  GDALAllRegister();
  GDALDriverManager& drivers = *GetGDALDriverManager();
  for (int n = 0; n < drivers.GetDriverCount(); ++n) {
    const char* listed = drivers.GetDriver(n)->GetMetadataItem(GDAL_DMD_EXTENSIONS);
    std::istringstream words(listed ? listed : "");
    for (std::string word; words >> word;) extensions.insert(word);
  }
  int written = 0;
  for (const std::string& extension : extensions) {
    const std::string name = "units." + extension;
    if (exportErrorOf([&] { checkUnitsGridName(folder_.file(name)); }) != "no error") continue;
    SCOPED_TRACE(name);
    const std::string problem = exportErrorOf([&] {
      files_ =
          unitsGridFiles(folder_.file(name), {display(5, 5), numbered(3, 2), numberedStyles()});
    });
    if (problem != "no error") {
      EXPECT_THAT(problem, ::testing::StartsWith(folder_.file(name) + ": "));
      EXPECT_THAT(problem, ::testing::Not(HasSubstr("\n")));
      continue;
    }
    writeToDisk(files_);
    const Dataset raster(GDALDataset::Open(folder_.file(name).c_str(), GDAL_OF_RASTER));
    ASSERT_TRUE(raster);
    int values[6];
    ASSERT_EQ(raster->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, 3, 2, values, 3, 2, GDT_Int32, 0, 0,
                                                 nullptr),
              CE_None);
    EXPECT_THAT(values, ::testing::ElementsAre(12, 22, 32, 11, 21, 31));
    ++written;
  }
  EXPECT_GE(written, 10);
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
  for (const char* lossy : {"out/units.jpg", "out/units.JPEG", "out/units.webp"}) {
    EXPECT_THAT(exportErrorOf([&] { checkUnitsGridName(lossy); }),
                ::testing::AllOf(::testing::StartsWith(std::string(lossy) + ": "),
                                 HasSubstr("write a lossless format such as .tif")));
  }
}

// A grid on disk as a driver might give it back: its size, corner, values and NODATA.
struct ReadBack {
  const char* what;
  int columns;
  double west;
  std::vector<GByte> values;
  std::optional<double> nodata;
  std::string problem;
};

// What was written: 3 x 2 cells of 5 m from (97.5, 207.5), one of them without a unit.
TEST(UnitsReadBack, AGridMustComeBackWithItsSizePlaceAndEveryUnit) {
  const NorthUpGrid raster(makeGrid(3, 2, 100, 200, 5, 5, [](double, double) { return 0; }));
  const std::vector<GByte> written = {1, 0, 2, 3, 3, 1};
  const std::string lossless = "; write a lossless format such as .tif or .asc";
  const ReadBack cases[] = {
      {"as written", 3, 97.5, written, 0.0, "no error"},
      {"without a NODATA value", 3, 97.5, written, std::nullopt, "no error"},
      {"NODATA as the format's own value", 3, 97.5, {1, 255, 2, 3, 3, 1}, 255.0, "no error"},
      {"a unit changed",
       3,
       97.5,
       {1, 0, 2, 3, 2, 1},
       0.0,
       "u.x: the format does not keep the unit codes (1 of 6 pixels came back changed)" + lossless},
      {"a unit lost to NODATA",
       3,
       97.5,
       {1, 0, 2, 3, 0, 1},
       0.0,
       "u.x: the format does not keep the unit codes (1 of 6 pixels came back changed)" + lossless},
      {"moved half a cell", 3, 100, written, 0.0,
       "u.x: the format does not keep the size or the place of the units grid" + lossless},
      {"a column short",
       2,
       97.5,
       {1, 0, 3, 3},
       0.0,
       "u.x: the format does not keep the size or the place of the units grid" + lossless},
  };
  GDALAllRegister();
  for (const ReadBack& c : cases) {
    SCOPED_TRACE(c.what);
    const TempFolder folder;
    const std::string path = folder.file("back.tif");
    {
      const Dataset tiff(GetGDALDriverManager()->GetDriverByName("GTiff")->Create(
          path.c_str(), c.columns, 2, 1, GDT_Byte, nullptr));
      double transform[6] = {c.west, 5, 0, 207.5, 0, -5};
      tiff->SetGeoTransform(transform);
      if (c.nodata) tiff->GetRasterBand(1)->SetNoDataValue(*c.nodata);
      ASSERT_EQ(tiff->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, c.columns, 2,
                                                 const_cast<GByte*>(c.values.data()), c.columns, 2,
                                                 GDT_Byte, 0, 0, nullptr),
                CE_None);
    }
    EXPECT_EQ(exportErrorOf(
                  [&] { checkUnitsReadBack("u.x", path, "the format", "GTiff", raster, written); }),
              c.problem);
  }
  EXPECT_THAT(
      exportErrorOf([&] {
        const TempFile text("not a grid\n");
        checkUnitsReadBack("u.x", text.path(), "the format", "GTiff", raster, written);
      }),
      ::testing::StartsWith("u.x: GDAL cannot read back the units grid that the format wrote"));
}

}  // namespace
}  // namespace kalvenor
