#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QSet>
#include <QXmlStreamReader>
#include <QtTest>
#include <cmath>
#include <functional>

#include "model/coordinate_system.h"
#include "model/grid_surface.h"
#include "session/session_restore.h"
#include "test_paths.h"

// kalvenor-render run as a user would: on the bundled example and on small cases whose
// answers are known.
class RenderCliTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void theBundledExampleRendersAMapAndASection();
  void messagesFollowTheLocale();
  void exportRefusalsInJapaneseKeepTheFileNames();
  void theUnitsGridOfASmallCase();
  void theBlockIsExportedIn3DInEveryForm();
  void theSectionIsDrawnForCadAsDxf();
  void theSectionCsvOfASmallCase();
  void aTwoVertexPolylineIsTheStraightSectionPixelForPixel();
  void aBentSectionsCsvCarriesTheSegmentOfEveryNode();
  void verticesThatMakeNoSurveyLineExitWithTwoAndSayWhy();
  void aLineFileGivesTheSectionOfTheSameVerticesByteForByte();
  void lineFilesThatGiveNoSurveyLineExitWithTwoAndNameFileAndLine();
  void verticesGivenAgainDrawAFenceInTheBlock();
  void aFenceThatCannotBeDrawnExitsWithTwoAndSaysWhy();
  void aSeriesWritesAPicturePerSectionAndAnAtlasOfAPageEach();
  void seriesAndAtlasOptionsThatCannotBeFollowedExitWithTwo();
  void theGisExportsOfASmallCaseOpenInGdal();
  void theGeologyMapOfASmallCaseIsTwoUnitsAndTheirContact();
  void aDemInDegreesClippedToAnOutlineIsDrawnAndExportedMasked();
  void aGeoPackageKeepsItsOtherLayersAndAForeignLayerOfTheNameIsRefused();
  void unitsGridsReadBackInEveryLosslessFormatAndLossyOnesAreRefused();
  void contactsForAGisCarryTheirCoordinateSystem();
  void anOutputOverAnInputOrAnotherOutputIsRefusedBeforeAnythingIsWritten();
  void picturesHaveTheRequestedSizeAndTheUnitColours();
  void anSvgHoldsPolygons();
  void antialiasedLinesBlendIntoTheFillsAndPlainOnesDoNot();
  void aPictureTooSmallForItsAnnotationsIsStillDrawn();
  void badOptionsAndFilesExitWithTwoAndNameTheProblem();
  void anOutputThatCannotBeWrittenReplacesNoOtherOutput();
  void aFullDiskFailsWithOneLineAndKeepsTheOldFile();
  void helpDocumentsEveryOption();
  void versionNamesTheProgramAndTheProjectVersion();
  void viewsThatCannotMakeAPictureAreRefused();
  void problemsThatDoNotStopTheRunAreWarnedOnEachOneLine();
  void anUnusableDefaultFileIsNamedAndTheBuiltInViewUsed();
  void gdalIsLoadedOnlyForARaster();

 private:
  struct Run {
    int status;
    QString errors;
  };
  // `fileSizeLimit` > 0: writing a file beyond that many bytes fails as on a full disk.
  Run render(const QStringList& args, rlim_t fileSizeLimit = 0,
             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
  QString write(const QString& name, const QByteArray& content);
  QStringList smallCase();
  QString surfaceRaster(const QString& name);
  QString lineLayer(const QString& name, const QStringList& names, const QStringList& wkts);
  QString out(const QString& name) const { return folder_->filePath(name); }
  static QProcessEnvironment localeEnvironment(const char* lang);
  static QByteArray contents(const QString& path);
  static QByteArray smallCaseUnits(GDALDataset& grid);

  QTemporaryDir* folder_ = nullptr;
};

void RenderCliTest::init() { folder_ = new QTemporaryDir; }
void RenderCliTest::cleanup() { delete folder_; }

RenderCliTest::Run RenderCliTest::render(const QStringList& args, rlim_t fileSizeLimit,
                                         const QProcessEnvironment& environment) {
  QProcess process;
  process.setProcessEnvironment(environment);
  if (fileSizeLimit > 0) {
    process.setChildProcessModifier([fileSizeLimit] {
      rlimit limit{};
      getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = fileSizeLimit;
      setrlimit(RLIMIT_FSIZE, &limit);
      signal(SIGXFSZ, SIG_IGN);
    });
  }
  process.start(KALVENOR_RENDER_PATH, args);
  if (!process.waitForFinished(60000)) qFatal("kalvenor-render did not finish");
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardError())};
}

// The environment of a user whose locale is `lang` and who has chosen no language otherwise.
QProcessEnvironment RenderCliTest::localeEnvironment(const char* lang) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) environment.remove(variable);
  environment.insert("LANG", lang);
  return environment;
}

QString RenderCliTest::write(const QString& name, const QByteArray& content) {
  QFile file(out(name));
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write test file");
  file.write(content);
  return file.fileName();
}

QByteArray RenderCliTest::contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The six unit codes of a units grid of the small case, row by row from the north; empty when
// GDAL cannot read them.
QByteArray RenderCliTest::smallCaseUnits(GDALDataset& grid) {
  GByte units[6];
  const CPLErr read =
      grid.GetRasterBand(1)->RasterIO(GF_Read, 0, 0, 3, 2, units, 3, 2, GDT_Byte, 0, 0, nullptr);
  return read == CE_None ? QByteArray(reinterpret_cast<const char*>(units), 6) : QByteArray();
}

// A 3 x 2 surface at 5 over a boundary at 0 in the west rising to 10 in the east: "low" (red)
// lies below it, "high" (blue) above.
QStringList RenderCliTest::smallCase() {
  return {"--model",    write("model.txt", "1\ns\nlow,-1\nhigh,1\n"),
          "--boundary", write("s.txt", "3,2,0,0,10,10,0,0,5,5,10,10\n"),
          "--surface",  write("surface.txt", "3,2,0,0,10,10,5,5,5,5,5,5\n"),
          "--colors",   write("colors.txt", "unit 1 #ff0000\nunit 2 #0000ff\n"),
          "--zbase",    "-10"};
}

// The surface of the small case as a GeoTIFF: nodes at x 0, 10, 20 and y 0, 10, all at 5.
QString RenderCliTest::surfaceRaster(const QString& name) {
  GDALAllRegister();
  const QByteArray path = out(name).toUtf8();
  GDALDataset* raster = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(
      path.constData(), 3, 2, 1, GDT_Float32, nullptr);
  double transform[6] = {-5, 10, 0, 15, 0, -10};
  raster->SetGeoTransform(transform);
  float five[6] = {5, 5, 5, 5, 5, 5};
  if (raster->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, 3, 2, five, 3, 2, GDT_Float32, 0, 0,
                                         nullptr) != CE_None) {
    qFatal("cannot write the surface raster");
  }
  GDALClose(raster);
  return out(name);
}

void RenderCliTest::theBundledExampleRendersAMapAndASection() {
  const QString e = KALVENOR_EXAMPLES_DIR "/folded-basin/";
  const QStringList arguments = {"--model",       e + "model.txt",
                                 "--boundary",    e + "limestone_top.txt",
                                 "--boundary",    e + "sandstone_top.txt",
                                 "--boundary",    e + "mudstone_top.txt",
                                 "--boundary",    e + "unconformity.txt",
                                 "--surface",     e + "topography.txt",
                                 "--colors",      e + "colors.txt",
                                 "--zbase",       "0",
                                 "--contours",    "auto",
                                 "--map",         out("map.png"),
                                 "--section",     out("section.png"),
                                 "--start",       "30200,41000",
                                 "--end",         "34800,43500",
                                 "--section-line"};
  const Run run = render(arguments);
  QCOMPARE(run.status, 0);
  const QImage map(out("map.png"));
  QCOMPARE(map.size(), QSize(800, 800));
  int cover = 0, limestone = 0;
  for (int y = 0; y < map.height(); ++y) {
    for (int x = 0; x < map.width(); ++x) {
      cover += map.pixel(x, y) == qRgb(0xe3, 0xa3, 0xb5);
      limestone += map.pixel(x, y) == qRgb(0x8f, 0xb3, 0xd9);
    }
  }
  QVERIFY(cover > 10000);
  QVERIFY(limestone > 10000);
  QCOMPARE(QImage(out("section.png")).size(), QSize(800, 800));

  // The survey line as a trace: a solid line of its own colour, none with the dotted outline.
  const auto traced = [](const QImage& picture) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) count += picture.pixel(x, y) == qRgb(230, 0, 126);
    }
    return count;
  };
  QCOMPARE(traced(map), 0);
  QStringList withTrace = arguments;
  withTrace.replaceInStrings(QStringLiteral("--section-line"), QStringLiteral("--section-trace"));
  withTrace.replaceInStrings(out("map.png"), out("traced.png"));
  QCOMPARE(render(withTrace).status, 0);
  QVERIFY(traced(QImage(out("traced.png"))) > 1000);
}

// As command-line tools do, it speaks the language of the locale, installed or not; the file
// name stays as it is inside the translated sentence.
void RenderCliTest::messagesFollowTheLocale() {
  const QString missing = out("missing.txt");
  struct Case {
    const char* lang;
    QString message;
  };
  const Case cases[] = {
      {"ja_JP.UTF-8", missing + ": ファイルを開けません: そのようなファイルはありません"},
      {"C", missing + ": the file cannot be opened: there is no such file"}};
  for (const Case& c : cases) {
    const Run run = render({"--model", missing, "--surface", missing, "--map", out("m.png")}, 0,
                           localeEnvironment(c.lang));
    QCOMPARE(run.status, 2);
    QCOMPARE(run.errors, "kalvenor-render: " + c.message + "\n");
  }
}

// The refusals of the exports are whole Japanese sentences with the file names, the options,
// GDAL's format names and the system's reasons put in as they are, wherever Japanese wants them;
// nothing is written.
void RenderCliTest::exportRefusalsInJapaneseKeepTheFileNames() {
  const QString grid = out("地質 図.jpg");
  const QString readOnly = write("old.png", "old");
  QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner));
  const struct {
    QStringList args;
    QString message;
  } cases[] = {
      {smallCase() << "--units-grid" << grid,
       grid + ": JPEG は非可逆圧縮のため、地質番号がそのままでは戻りません。.tif、.png、.asc "
              "などの可逆な形式で書き出してください"},
      {smallCase() << "--units-legend" << out("colors.csv"),
       "--units-legend " + out("colors.csv") + "（その " + out("colors.txt") +
           "） は入力の --colors " + out("colors.txt") + " を上書きしてしまいます"},
      {smallCase() << "--start"
                   << "0,5"
                   << "--azimuth"
                   << "90"
                   << "--section-contacts" << out("c.geojson"),
       out("c.geojson") +
           ": GeoJSON は座標を経度・緯度（WGS 84）で持ちますが、地質表示面に変換元の座標系が"
           "ありません。--srs を指定するか、地質境界線を .gpkg で書き出してください"},
      // The system's reason comes in its own words, not as question marks.
      {smallCase() << "--map" << readOnly,
       readOnly + ": 読み取り専用のファイルは置き換えられません: Permission denied"},
  };
  const QDir folder(folder_->path());
  const QStringList before =
      folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  for (const auto& c : cases) {
    const Run run = render(c.args, 0, localeEnvironment("ja_JP.UTF-8"));
    QCOMPARE(run.status, 2);
    QCOMPARE(run.errors, "kalvenor-render: " + c.message + "\n");
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
  }
  QCOMPARE(contents(readOnly), QByteArray("old"));
}

void RenderCliTest::theUnitsGridOfASmallCase() {
  const Run run = render(smallCase() << "--units-grid" << out("units.asc") << "--units-legend"
                                     << out("legend.csv"));
  QCOMPARE(run.status, 0);
  // The boundary lies at 0, 5 and 10 from west to east: the surface at 5 is above it in the
  // west, on it (just below after the load jitter) in the middle, below it in the east.
  QCOMPARE(contents(out("units.asc")), QByteArray("ncols 3\nnrows 2\nxllcenter 0\nyllcenter 0\n"
                                                  "cellsize 10\nNODATA_value 0\n2 1 1\n2 1 1\n"));
  QCOMPARE(contents(out("legend.csv")),
           QByteArray("unit,name,color\n1,low,#ff0000\n2,high,#0000ff\n"));
}

// Each form of --export-3d from the name's extension, the multiblock's parts in a folder of their
// own; a name no form fits is refused before anything is built or written.
void RenderCliTest::theBlockIsExportedIn3DInEveryForm() {
  const struct {
    QString name;
    QStringList files;
    QByteArray start;
  } forms[] = {
      {"block.glb", {"block.glb"}, "glTF"},
      {"block.vtp", {"block.vtp"}, "<?xml"},
      {"block.vtm", {"block.vtm", "block/part_0.vtp"}, "<?xml"},
      {"BLOCK.OBJ", {"BLOCK.OBJ", "BLOCK.mtl"}, "#"},
  };
  for (const auto& form : forms) {
    const Run run = render(smallCase() << "--export-3d" << out(form.name));
    QVERIFY2(run.status == 0, qPrintable(run.errors));
    for (const QString& file : form.files) QVERIFY2(QFile::exists(out(file)), qPrintable(file));
    QVERIFY2(contents(out(form.name)).startsWith(form.start), qPrintable(form.name));
  }
  // The section's panel comes with the block when the run builds a section, and only then.
  QVERIFY(!contents(out("block.vtm")).contains("(section)"));
  const Run withSection = render(smallCase() << "--section-units" << out("section.csv") << "--start"
                                             << "0,5"
                                             << "--azimuth"
                                             << "90"
                                             << "--export-3d" << out("sectioned.vtm"));
  QVERIFY2(withSection.status == 0, qPrintable(withSection.errors));
  QVERIFY(contents(out("sectioned.vtm")).contains("(section)"));
  const Run refused =
      render(smallCase() << "--map" << out("map.png") << "--export-3d" << out("block.stl"));
  QCOMPARE(refused.status, 2);
  QVERIFY2(refused.errors.contains(out("block.stl")) && refused.errors.contains(".glb"),
           qPrintable(refused.errors));
  QVERIFY(!QFile::exists(out("map.png")));
}

// The section of the small case (20 m long, from -10 up to the ground at 5) as a true-scale
// drawing: a layer per unit, its bands as solids within the section, flat or in space.
void RenderCliTest::theSectionIsDrawnForCadAsDxf() {
  const struct {
    QStringList options;
    QByteArray faces;
  } forms[] = {{{}, "SOLID"}, {{"--section-dxf-3d"}, "3DFACE"}};
  for (const auto& form : forms) {
    const Run run = render(smallCase() << "--section" << out("section.dxf") << "--start"
                                       << "0,5"
                                       << "--azimuth"
                                       << "90" << form.options);
    QVERIFY2(run.status == 0, qPrintable(run.errors));
    const QList<QByteArray> lines = contents(out("section.dxf")).split('\n');
    QSet<QByteArray> layers;
    int faces = 0;
    bool inFace = false;
    double lowest = 1e300, highest = -1e300, farthest = -1e300;
    for (int n = 0; n + 1 < lines.size(); n += 2) {
      if (lines[n] == "0" && lines[n + 1] == "LAYER") {
        int name = n + 2;
        while (name + 1 < lines.size() && lines[name] != "2") name += 2;
        layers << lines[name + 1];
      }
      if (lines[n] == "0") inFace = lines[n + 1] == form.faces;
      faces += lines[n] == "0" && inFace;
      if (!inFace) continue;
      const double value = lines[n + 1].toDouble();
      if (lines[n] == "10" || lines[n] == "11" || lines[n] == "12")
        farthest = qMax(farthest, value);
      const QByteArray height = form.options.isEmpty() ? "2" : "3";
      if (lines[n].size() == 2 && lines[n].startsWith(height) && lines[n] != "30") {
        lowest = qMin(lowest, value);
        highest = qMax(highest, value);
      }
    }
    QVERIFY2(layers.contains("low") && layers.contains("high"), qPrintable(form.faces));
    QVERIFY(faces > 0);
    QCOMPARE(lowest, -10.0);
    QVERIFY(highest <= 5.0 && highest > 4.9);
    QVERIFY(farthest <= 20.0 + 1e-9);
  }
  const Run refused = render(smallCase() << "--section" << out("section.png") << "--start"
                                         << "0,5"
                                         << "--azimuth"
                                         << "90"
                                         << "--section-dxf-3d");
  QCOMPARE(refused.status, 2);
  QVERIFY2(refused.errors.contains("--section-dxf-3d"), qPrintable(refused.errors));
}

void RenderCliTest::theSectionCsvOfASmallCase() {
  const Run run = render(smallCase() << "--section-units" << out("section.csv") << "--start"
                                     << "0,5"
                                     << "--azimuth"
                                     << "90");
  QCOMPARE(run.status, 0);
  const QList<QByteArray> lines = contents(out("section.csv")).trimmed().split('\n');
  QCOMPARE(lines.first(), QByteArray("h,v,x,y,z,unit,distance"));
  // 20 m long, 5 apart: 5 columns; 15 m high in steps of 5, raised to 5 levels of about 3.75
  // (the surface lies a millionth below 5 after the load jitter).
  QCOMPARE(lines.size(), 1 + 5 * 5);
  QCOMPARE(lines[1], QByteArray("1,1,0,5,-10,1,0"));
  double worstLevel = 0;
  const auto unitsOfColumn = [&](int h) {
    QList<int> units;
    for (int v = 1; v <= 5; ++v) {
      const QList<QByteArray> fields = lines[(h - 1) * 5 + v].split(',');
      if (fields[0].toInt() != h || fields[1].toInt() != v) qFatal("rows out of order");
      worstLevel = qMax(worstLevel, qAbs(fields[4].toDouble() - (-10 + (v - 1) * 3.75)));
      units << fields[5].toInt();
    }
    return units;
  };
  // West the boundary lies at 0: below it unit 1, above it unit 2 up to the surface; the top
  // level reaches the surface's highest elevation, a hair above the surface here: air.
  QCOMPARE(unitsOfColumn(1), (QList<int>{1, 1, 1, 2, -1}));
  QCOMPARE(unitsOfColumn(5), (QList<int>{1, 1, 1, 1, -1}));  // east: the boundary at 10
  QCOMPARE(lines[21].left(9), QByteArray("5,1,20,5,"));
  QVERIFY(lines[21].endsWith(",20"));
  QVERIFY(worstLevel < 1e-5);
}

void RenderCliTest::aTwoVertexPolylineIsTheStraightSectionPixelForPixel() {
  const auto section = [&](const QString& name, const QStringList& line) {
    const Run run = render(smallCase() << "--section" << out(name + ".png") << "--section-units"
                                       << out(name + ".csv") << "--axes" << line);
    QCOMPARE(run.status, 0);
  };
  section("straight", {"--start", "0,2", "--end", "20,8"});
  section("polyline", {"--vertices", "0,2;20,8"});
  QCOMPARE(contents(out("polyline.png")), contents(out("straight.png")));
  QCOMPARE(contents(out("polyline.csv")), contents(out("straight.csv")));
}

// Up to the middle of the northern edge and down again: the bend column is the last of the
// first segment, and the distance runs on along the second.
void RenderCliTest::aBentSectionsCsvCarriesTheSegmentOfEveryNode() {
  const Run run = render(smallCase() << "--section-units" << out("bent.csv") << "--vertices"
                                     << "0,0;10,10;20,0");
  QCOMPARE(run.status, 0);
  const QList<QByteArray> lines = contents(out("bent.csv")).trimmed().split('\n');
  QCOMPARE(lines.first(), QByteArray("h,v,x,y,z,unit,distance,segment"));
  QMap<int, QList<QByteArray>> firstLevel;  // column: its fields on level 1
  for (const QByteArray& line : lines.mid(1)) {
    const QList<QByteArray> fields = line.split(',');
    if (fields[1] == "1") firstLevel[fields[0].toInt()] = fields;
  }
  int bend = 0;
  for (auto it = firstLevel.begin(); it != firstLevel.end(); ++it) {
    if (it.value()[2] == "10" && it.value()[3] == "10") bend = it.key();
  }
  QVERIFY(bend > 1 && bend < firstLevel.lastKey());
  QCOMPARE(firstLevel[1][7], QByteArray("1"));
  QCOMPARE(firstLevel[bend][7], QByteArray("1"));
  QCOMPARE(firstLevel[bend + 1][7], QByteArray("2"));
  QCOMPARE(firstLevel.last()[7], QByteArray("2"));
  const double leg = std::hypot(10.0, 10.0);
  QVERIFY(qAbs(firstLevel[bend][6].toDouble() - leg) < 1e-9);
  QVERIFY(qAbs(firstLevel.last()[6].toDouble() - 2 * leg) < 1e-6);
}

void RenderCliTest::verticesThatMakeNoSurveyLineExitWithTwoAndSayWhy() {
  const struct {
    QString vertices;
    QStringList more;
    QString message;
  } cases[] = {
      {"5,5", {}, "--vertices gives fewer than two distinct vertices (1 given)"},
      {"5,5;5,5", {}, "--vertices gives fewer than two distinct vertices (2 given)"},
      {"0,0;5,5;5,5;20,0", {}, "--vertices: segment 2 has no length: vertices 2 and 3"},
      {"100,100;200,150;300,100", {}, "--vertices: the survey line lies entirely outside"},
      {"0,0;5", {}, "--vertices takes vertices x,y separated by semicolons; vertex 2"},
      {"0,0;5,5", {"--start", "0,0"}, "--vertices gives the whole survey line"},
  };
  for (const auto& c : cases) {
    const Run run =
        render(smallCase() << "--section" << out("s.png") << "--vertices" << c.vertices << c.more);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.contains(c.message), qPrintable(run.errors));
    QCOMPARE(run.errors.trimmed().count('\n'), 0);
    QVERIFY(!QFile::exists(out("s.png")));
  }
}

// A GeoPackage layer of lines without a coordinate system, each named.
QString RenderCliTest::lineLayer(const QString& name, const QStringList& names,
                                 const QStringList& wkts) {
  GDALAllRegister();
  const QByteArray path = out(name).toUtf8();
  GDALDataset* file = GetGDALDriverManager()->GetDriverByName("GPKG")->Create(
      path.constData(), 0, 0, 0, GDT_Unknown, nullptr);
  OGRLayer* layer = file->CreateLayer("lines", nullptr, wkbUnknown, nullptr);
  OGRFieldDefn field("name", OFTString);
  layer->CreateField(&field);
  for (qsizetype n = 0; n < names.size(); ++n) {
    OGRFeature feature(layer->GetLayerDefn());
    feature.SetField(0, names[n].toUtf8().constData());
    OGRGeometry* geometry = nullptr;
    OGRGeometryFactory::createFromWkt(wkts[n].toUtf8().constData(), nullptr, &geometry);
    feature.SetGeometryDirectly(geometry);
    if (layer->CreateFeature(&feature) != OGRERR_NONE) qFatal("cannot write the line layer");
  }
  GDALClose(file);
  return out(name);
}

// The same three vertices typed, in a CSV table and as the second line of a GeoPackage make the
// same picture and the same nodes.
void RenderCliTest::aLineFileGivesTheSectionOfTheSameVerticesByteForByte() {
  const auto section = [&](const QString& name, const QStringList& line) {
    const Run run = render(smallCase() << "--section" << out(name + ".png") << "--section-units"
                                       << out(name + ".csv") << "--axes" << line);
    QVERIFY2(run.status == 0, qPrintable(run.errors));
  };
  section("typed", {"--vertices", "0,2;10,9;20,8"});
  section("csv", {"--section-line-file", write("line.csv", "x,y\n0,2\n10,9\n20,8\n")});
  const QString gpkg = lineLayer("lines.gpkg", {"first", "Second"},
                                 {"LINESTRING (0 0, 20 10)", "LINESTRING (0 2, 10 9, 20 8)"});
  section("gpkg", {"--section-line-file", gpkg, "--section-feature", "second"});
  for (const char* name : {"csv", "gpkg"}) {
    QCOMPARE(contents(out(QString(name) + ".png")), contents(out("typed.png")));
    QCOMPARE(contents(out(QString(name) + ".csv")), contents(out("typed.csv")));
  }
  // Named vertices label the bend with the name instead of the number.
  section("named",
          {"--section-line-file", write("named-line.csv", "x,y,name\n0,2,A\n10,9,B\n20,8,C\n")});
  QCOMPARE(contents(out("named.csv")), contents(out("typed.csv")));
  QVERIFY(contents(out("named.png")) != contents(out("typed.png")));
}

void RenderCliTest::lineFilesThatGiveNoSurveyLineExitWithTwoAndNameFileAndLine() {
  const QString lines =
      lineLayer("bad.gpkg", {"Split", "Dot", "Stutter", "Away", "Loop"},
                {"MULTILINESTRING ((0 0, 5 5), (10 0, 15 5))", "LINESTRING (5 5, 5 5)",
                 "LINESTRING (0 0, 5 5, 5 5, 20 0)", "LINESTRING (100 100, 200 150, 300 100)",
                 "LINESTRING (0 0, 15 0, 15 8, 5 -5)"});
  const struct {
    QString file;
    QString feature;
    QStringList said;
  } cases[] = {
      {lines, "", {"line \"Split\"", "2 parts"}},
      {write("points.csv", "a,b\n1,2\n"), "", {"holds no lines"}},
      {write("one.csv", "x,y\n5,5\n"), "", {"fewer than two distinct vertices (1 given)"}},
      {lines, "Nowhere", {"no line named \"Nowhere\"", "\"Split\", \"Dot\""}},
      {out("missing.gpkg"), "", {"GDAL cannot open it"}},
  };
  for (const auto& c : cases) {
    QStringList args = smallCase()
                       << "--section" << out("s.png") << "--section-line-file" << c.file;
    if (!c.feature.isEmpty()) args << "--section-feature" << c.feature;
    const Run run = render(args);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.contains(c.file), qPrintable(run.errors));
    for (const QString& part : c.said) QVERIFY2(run.errors.contains(part), qPrintable(run.errors));
    QVERIFY(!QFile::exists(out("s.png")));
  }
  // Lines that read but make no section, refused by the build, name the file and the line too.
  const struct {
    const char* feature;
    const char* said;
  } built[] = {
      {"Dot", "fewer than two distinct vertices (2 given)"},
      {"Stutter", "segment 2 has no length"},
      {"Away", "lies entirely outside the display area"},
  };
  for (const auto& c : built) {
    const Run run = render(smallCase() << "--section" << out("s.png") << "--section-line-file"
                                       << lines << "--section-feature" << c.feature);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.contains(lines + ", survey line \"" + c.feature + "\""),
             qPrintable(run.errors));
    QVERIFY2(run.errors.contains(c.said), qPrintable(run.errors));
  }
  // A line that crosses itself is drawn, with a warning that names it.
  const Run loop = render(smallCase() << "--section" << out("s.png") << "--section-line-file"
                                      << lines << "--section-feature"
                                      << "Loop");
  QCOMPARE(loop.status, 0);
  QVERIFY2(loop.errors.contains(lines + ", survey line \"Loop\": the survey line crosses itself"),
           qPrintable(loop.errors));
  QVERIFY(QFile::exists(out("s.png")));
}

// Each --vertices is a panel of the fence in the block of --map; the first stays the survey line
// of the section, drawn as it is without the others. The cut opens the block in front of them.
void RenderCliTest::verticesGivenAgainDrawAFenceInTheBlock() {
  const QStringList view = {"--view", "200,30,1.5,4", "--size", "300x300"};
  const auto run = [&](const QString& name, const QStringList& more) {
    const Run done = render(smallCase() << view << "--map" << out(name + ".png") << "--section"
                                        << out(name + "-section.png") << more);
    QCOMPARE(done.status, 0);
    QVERIFY2(done.errors.isEmpty(), qPrintable(done.errors));
  };
  const QStringList first = {"--vertices", "0,2;20,8"};
  const QStringList fence = first + QStringList{"--vertices", "10,0;12,10"};
  run("line", first);
  run("fence", fence);
  run("cut", fence + QStringList{"--fence-cut"});
  // The same lines from a line file draw the same fence.
  const QString file = write("fence.csv", "line_name,x,y\nA,0,2\nA,20,8\nB,10,0\nB,12,10\n");
  run("file-cut", first + QStringList{"--fence", file, "--fence-cut"});
  QCOMPARE(contents(out("file-cut.png")), contents(out("cut.png")));
  QCOMPARE(contents(out("fence-section.png")), contents(out("line-section.png")));
  QCOMPARE(contents(out("cut-section.png")), contents(out("line-section.png")));
  const QImage line(out("line.png")), cut(out("cut.png"));
  QCOMPARE(cut.size(), line.size());
  QVERIFY(cut != line);
}

void RenderCliTest::aFenceThatCannotBeDrawnExitsWithTwoAndSaysWhy() {
  const QStringList twoLines = {"--vertices", "0,2;20,8", "--vertices", "10,0;12,10"};
  const QString away =
      write("away.csv", "line_name,x,y\nNear,0,2\nNear,20,8\nAway,100,100\nAway,300,100\n");
  const struct {
    QStringList options;
    QString message;
  } cases[] = {
      {QStringList{"--section", out("m.png")} + twoLines,
       "--vertices given 2 times makes a fence diagram, which is drawn in the block: give --map "
       "FILE"},
      {{"--map", out("m.png"), "--vertices", "0,2;20,8", "--fence-cut"},
       "--fence-cut cuts the block away in front of a fence: give --vertices once for each"},
      {QStringList{"--section", out("m.png"), "--fence-cut"} + twoLines,
       "--fence-cut cuts the block of --map away in front of a fence"},
      {{"--map", out("m.png"), "--vertices", "0,2;20,8", "--vertices", "100,100;200,150;300,100"},
       "fence panel 2 (B): --vertices: the survey line lies entirely outside"},
      {{"--map", out("m.png"), "--vertices", "0,2;20,8", "--vertices", "5,5"},
       "fence panel 2 (B): --vertices gives fewer than two distinct vertices (1 given)"},
      {QStringList{"--map", out("m.png"), "--fence", away} + twoLines,
       "--fence and --vertices given more than once each give the lines of a fence"},
      {{"--section", out("m.png"), "--vertices", "0,2;20,8", "--fence", away},
       "--fence FILE is drawn in the block: give --map FILE"},
      {{"--map", out("m.png"), "--fence", away},
       "fence panel 2 (Away): " + away +
           ", survey line \"Away\": the survey line lies entirely "
           "outside"},
  };
  for (const auto& c : cases) {
    const Run run = render(smallCase() << c.options);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.contains(c.message), qPrintable(run.errors));
    QCOMPARE(run.errors.trimmed().count('\n'), 0);
    QVERIFY(!QFile::exists(out("m.png")));
  }
}

// East along y 2, then 3 m further north each: y 5 and 8 cross the small case, y 11 misses it
// and is left out, its number kept.
void RenderCliTest::aSeriesWritesAPicturePerSectionAndAnAtlasOfAPageEach() {
  const Run run = render(smallCase() << "--start"
                                     << "0,2"
                                     << "--azimuth"
                                     << "90"
                                     << "--section-series"
                                     << "4,-3"
                                     << "--section" << out("s.png") << "--fit"
                                     << "--atlas" << out("atlas.pdf") << "--atlas-page"
                                     << "a3,portrait");
  QCOMPARE(run.status, 0);
  QVERIFY2(run.errors.contains("Section D of the series, 9 m to the left of the survey line, is "
                               "left out"),
           qPrintable(run.errors));
  QCOMPARE(run.errors.trimmed().count('\n'), 0);
  for (const char* name : {"s-1.png", "s-2.png", "s-3.png"}) {
    QImage picture(out(name));
    QVERIFY2(!picture.isNull(), name);
    QCOMPARE(picture.size(), QSize(800, 800));
  }
  QVERIFY(!QFile::exists(out("s-4.png")));
  QVERIFY(!QFile::exists(out("s.png")));
  const QByteArray pdf = contents(out("atlas.pdf"));
  QVERIFY(pdf.startsWith("%PDF"));
  const QRegularExpression page(R"(/Type\s*/Page[^s])");
  QCOMPARE(QString::fromLatin1(pdf).count(page), 3);
  // A3 upright: 297 x 420 mm in points.
  const QRegularExpressionMatch box =
      QRegularExpression(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+))")
          .match(QString::fromLatin1(pdf));
  QVERIFY(box.hasMatch());
  QVERIFY2(qAbs(box.captured(1).toDouble() - 297 / 25.4 * 72) < 1, qPrintable(box.captured(0)));
  QVERIFY2(qAbs(box.captured(2).toDouble() - 420 / 25.4 * 72) < 1, qPrintable(box.captured(0)));
}

void RenderCliTest::seriesAndAtlasOptionsThatCannotBeFollowedExitWithTwo() {
  const QStringList line = {"--start", "0,2", "--azimuth", "90"};
  const struct {
    QStringList args;
    QString message;
  } cases[] = {
      {QStringList{"--section-series", "0,100", "--section", out("s.png")} << line,
       "--section-series takes the number of sections, a whole number from 1 to 100"},
      {QStringList{"--section-series", "2.5,100", "--section", out("s.png")} << line,
       "--section-series takes the number of sections"},
      {QStringList{"--section-series", "3,0", "--section", out("s.png")} << line,
       "--section-series: the spacing of a series cannot be 0"},
      {{"--atlas", out("a.pdf")},
       "--atlas and --section-series draw sections along the survey line"},
      {QStringList{"--atlas", out("a.png")} << line,
       "--atlas writes a PDF, whose name must end in .pdf"},
      {QStringList{"--section-series", "3,2", "--section-units", out("u.csv")} << line,
       "--section-series draws its sections into --section FILE or --atlas FILE"},
      {{"--atlas", out("a.pdf"), "--start", "500,500", "--azimuth", "0"}, "does not cross"},
      {QStringList{"--atlas", out("a.pdf"), "--atlas-page", "B5"} << line,
       "--atlas-page takes A3, A4, A5, letter or legal, with ,portrait for upright pages; "},
      {QStringList{"--atlas", out("a.pdf"), "--atlas-page", "A4,sideways"} << line,
       "--atlas-page takes A3"},
      {QStringList{"--section", out("s.png"), "--atlas-page", "A3"} << line,
       "--atlas-page is the paper of --atlas FILE, which is not given"},
  };
  for (const auto& c : cases) {
    const Run run = render(smallCase() << c.args);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.contains(c.message), qPrintable(run.errors));
    QCOMPARE(run.errors.trimmed().count('\n'), 0);
    QVERIFY(!QFile::exists(out("a.pdf")));
    QVERIFY(!QFile::exists(out("s-1.png")));
  }
}

// The GeoTIFF holds what the ASCII grid of the same case holds, styled; the contacts are the
// ground and the boundary from the western edge to where it meets the ground at x 10.
void RenderCliTest::theGisExportsOfASmallCaseOpenInGdal() {
  const Run run = render(smallCase() << "--units-grid" << out("units.tif") << "--units-legend"
                                     << out("legend.csv") << "--section-contacts"
                                     << out("contacts.gpkg") << "--start"
                                     << "0,5"
                                     << "--azimuth"
                                     << "90");
  QCOMPARE(run.status, 0);
  QVERIFY(QFile::exists(out("units.tif.aux.xml")));
  QVERIFY(contents(out("legend.txt")).endsWith("\n1,255,0,0,255,low\n2,0,0,255,255,high\n"));
  GDALAllRegister();
  GDALDataset* grid = GDALDataset::Open(out("units.tif").toUtf8().constData(), GDAL_OF_RASTER);
  QVERIFY(grid);
  QCOMPARE(smallCaseUnits(*grid), QByteArray("\2\1\1\2\1\1"));
  QCOMPARE(grid->GetRasterBand(1)->GetColorTable()->GetColorEntry(2)->c3, short(255));
  GDALClose(grid);
  GDALDataset* contacts =
      GDALDataset::Open(out("contacts.gpkg").toUtf8().constData(), GDAL_OF_VECTOR);
  QVERIFY(contacts);
  OGRLayer* layer = contacts->GetLayer(0);
  QCOMPARE(layer->GetFeatureCount(), GIntBig(2));
  OGRFeature* ground = layer->GetNextFeature();
  OGRFeature* boundary = layer->GetNextFeature();
  QCOMPARE(QString(ground->GetFieldAsString("name")), QString("ground"));
  QCOMPARE(ground->GetFieldAsDouble("to_dist"), 20.0);
  QCOMPARE(QString(boundary->GetFieldAsString("name")), QString("s"));
  QCOMPARE(boundary->GetFieldAsInteger("boundary"), 1);
  QCOMPARE(boundary->GetFieldAsDouble("from_dist"), 0.0);
  QVERIFY(qAbs(boundary->GetFieldAsDouble("to_dist") - 10) < 1e-3);
  QVERIFY(boundary->GetGeometryRef()->Is3D());
  const OGRLineString* line = boundary->GetGeometryRef()->toLineString();
  QCOMPARE(line->getNumPoints(), 3);
  QCOMPARE(line->getX(1), 5.0);
  QCOMPARE(line->getY(1), 5.0);
  QCOMPARE(line->getZ(1), 2.5);
  QVERIFY(qAbs(line->getX(2) - 10) < 1e-3);
  QVERIFY(qAbs(line->getZ(2) - 5) < 1e-3);
  OGRFeature::DestroyFeature(ground);
  OGRFeature::DestroyFeature(boundary);
  GDALClose(contacts);
}

// The boundary meets the ground at x 10: the 20 x 10 m map is two units of 100 m2 each side of
// one contact line 10 m long; a format GDAL cannot write is refused before anything is written.
void RenderCliTest::theGeologyMapOfASmallCaseIsTwoUnitsAndTheirContact() {
  const Run run = render(smallCase() << "--geology-map" << out("map.gpkg"));
  QVERIFY2(run.status == 0, qPrintable(run.errors));
  GDALAllRegister();
  GDALDataset* map = GDALDataset::Open(out("map.gpkg").toUtf8().constData(), GDAL_OF_VECTOR);
  QVERIFY(map);
  OGRLayer* units = map->GetLayerByName("units");
  QCOMPARE(units->GetFeatureCount(), GIntBig(2));
  const char* const names[] = {"low", "high"};
  const char* const colours[] = {"#ff0000", "#0000ff"};
  for (int n = 0; n < 2; ++n) {
    OGRFeature* unit = units->GetNextFeature();
    QCOMPARE(unit->GetFieldAsInteger("unit"), n + 1);
    QCOMPARE(QString(unit->GetFieldAsString("name")), QString(names[n]));
    QCOMPARE(QString(unit->GetFieldAsString("color")), QString(colours[n]));
    QVERIFY(qAbs(unit->GetFieldAsDouble("area_m2") - 100) < 1e-3);
    OGRFeature::DestroyFeature(unit);
  }
  OGRLayer* contacts = map->GetLayerByName("contacts");
  QCOMPARE(contacts->GetFeatureCount(), GIntBig(1));
  OGRFeature* contact = contacts->GetNextFeature();
  QCOMPARE(QString(contact->GetFieldAsString("name")), QString("s"));
  QVERIFY(qAbs(contact->GetFieldAsDouble("length_m") - 10) < 1e-3);
  OGRFeature::DestroyFeature(contact);
  QCOMPARE(map->GetLayerByName("layer_styles")->GetFeatureCount(), GIntBig(2));
  GDALClose(map);

  const Run refused =
      render(smallCase() << "--map" << out("map.png") << "--geology-map" << out("map.xyz"));
  QCOMPARE(refused.status, 2);
  QVERIFY2(refused.errors.contains(out("map.xyz")) && refused.errors.contains(".xyz"),
           qPrintable(refused.errors));
  QVERIFY(!QFile::exists(out("map.png")));
}

// The bundled DEM: whole metres in degrees, NODATA outside an outline. Without a projected
// system it is refused and nothing is written; with one, the units grid has no unit exactly
// where the warped DEM has no value, and a unit everywhere else.
void RenderCliTest::aDemInDegreesClippedToAnOutlineIsDrawnAndExportedMasked() {
  const QString e = KALVENOR_EXAMPLES_DIR "/clipped-dem/";
  const QStringList inputs = {
      "--model",      e + "model.txt",     "--boundary", e + "granite_top.txt",
      "--boundary",   e + "tuff_base.txt", "--surface",  e + "dem.tif",
      "--colors",     e + "colors.txt",    "--map",      out("map.png"),
      "--units-grid", out("units.tif")};
  const Run refused = render(inputs);
  QCOMPARE(refused.status, 2);
  QVERIFY(refused.errors.contains("dem.tif: the raster's coordinates are geographic"));
  QVERIFY(refused.errors.contains("--srs"));
  QVERIFY(!QFile::exists(out("map.png")) && !QFile::exists(out("units.tif")));

  const Run drawn = render(QStringList(inputs) << "--srs"
                                               << "EPSG:6677");
  QCOMPARE(drawn.status, 0);
  QVERIFY(drawn.errors.contains("warped into JGD2011 / Japan Plane Rectangular CS IX"));
  QVERIFY(QImage(out("map.png")).pixelColor(400, 400) != Qt::white);

  const kalvenor::GridSurface dem = kalvenor::readGridSurface(
      (e + "dem.tif").toStdString(), {kalvenor::projectedSystemWkt("EPSG:6677")});
  GDALAllRegister();
  GDALDataset* units = GDALDataset::Open(out("units.tif").toUtf8().constData(), GDAL_OF_RASTER);
  QVERIFY(units);
  QCOMPARE(units->GetRasterXSize(), dem.Nx);
  QCOMPARE(units->GetRasterYSize(), dem.Ny);
  QVERIFY(QString(units->GetProjectionRef()).contains("CS IX"));
  std::vector<GByte> unit(static_cast<std::size_t>(dem.Nx) * dem.Ny);
  QCOMPARE(units->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, dem.Nx, dem.Ny, unit.data(), dem.Nx,
                                             dem.Ny, GDT_Byte, 0, 0, nullptr),
           CE_None);
  GDALClose(units);
  int masked = 0;
  for (int i = 1; i <= dem.Nx; ++i) {
    for (int j = 1; j <= dem.Ny; ++j) {
      // north-up: the first row is the northernmost
      const GByte u = unit[static_cast<std::size_t>(dem.Ny - j) * dem.Nx + (i - 1)];
      QCOMPARE(u == 0, dem.missing.at(i, j));
      masked += u == 0;
    }
  }
  QVERIFY(masked > dem.Nx * dem.Ny / 4);
}

// The contacts join a GeoPackage of the user's as a layer of their own; a layer of that name that
// holds something else is refused, and the file stays as it was.
void RenderCliTest::aGeoPackageKeepsItsOtherLayersAndAForeignLayerOfTheNameIsRefused() {
  const QByteArray project = out("project.gpkg").toUtf8();
  GDALAllRegister();
  GDALDataset* made = GetGDALDriverManager()->GetDriverByName("GPKG")->Create(
      project.constData(), 0, 0, 0, GDT_Unknown, nullptr);
  OGRLayer* boreholes = made->CreateLayer("boreholes", nullptr, wkbPoint, nullptr);
  OGRFeature* borehole = OGRFeature::CreateFeature(boreholes->GetLayerDefn());
  OGRPoint point(5, 5);
  borehole->SetGeometry(&point);
  QCOMPARE(boreholes->CreateFeature(borehole), OGRERR_NONE);
  OGRFeature::DestroyFeature(borehole);
  GDALClose(made);
  const QStringList section = smallCase() << "--start"
                                          << "0,5"
                                          << "--azimuth"
                                          << "90"
                                          << "--section-contacts" << out("project.gpkg");
  const auto layers = [&] {
    QStringList names;
    GDALDataset* dataset = GDALDataset::Open(project.constData(), GDAL_OF_VECTOR);
    if (!dataset) return names;
    for (OGRLayer* layer : dataset->GetLayers()) {
      names << QString("%1 %2").arg(layer->GetName()).arg(layer->GetFeatureCount());
    }
    GDALClose(dataset);
    return names;
  };
  QCOMPARE(render(section).status, 0);
  QCOMPARE(layers(), (QStringList{"boreholes 1", "project 2"}));
  QCOMPARE(render(QStringList(section) << "--layer"
                                       << "contacts")
               .status,
           0);
  QCOMPARE(layers(), (QStringList{"boreholes 1", "project 2", "contacts 2"}));
  const QByteArray before = contents(out("project.gpkg"));
  const Run refused = render(QStringList(section) << "--layer"
                                                  << "boreholes");
  QCOMPARE(refused.status, 2);
  QCOMPARE(refused.errors, "kalvenor-render: " + out("project.gpkg") +
                               ": its layer boreholes is not one of section contacts (lines with "
                               "the fields name, boundary, from_dist and to_dist), so it is kept; "
                               "give --layer another name\n");
  QCOMPARE(contents(out("project.gpkg")), before);
}

// Each grid holds the units of the ASCII grid of the small case, in its place; a lossy format
// is refused before anything is built, naming a lossless one.
void RenderCliTest::unitsGridsReadBackInEveryLosslessFormatAndLossyOnesAreRefused() {
  GDALAllRegister();
  for (const QString name : {"units.vrt", "units.nc", "units.gpkg"}) {
    const Run run = render(smallCase() << "--units-grid" << out(name));
    QVERIFY2(run.status == 0, qPrintable(run.errors));
    GDALDataset* grid = GDALDataset::Open(out(name).toUtf8().constData(), GDAL_OF_RASTER);
    QVERIFY(grid);
    QCOMPARE(smallCaseUnits(*grid), QByteArray("\2\1\1\2\1\1"));
    double t[6];
    QCOMPARE(grid->GetGeoTransform(t), CE_None);
    QCOMPARE(QList<double>(t, t + 6), (QList<double>{-5, 10, 0, 15, 0, -10}));
    GDALClose(grid);
    QVERIFY(QFile::exists(out("units.qml")));
  }
  QVERIFY(QFile::exists(out("units.vrt.tif")));
  // Nothing of the netCDF grid's making is left beside it.
  QVERIFY(
      QDir(folder_->path()).entryList({".*kalvenor*"}, QDir::AllEntries | QDir::Hidden).isEmpty());
  for (const QString name : {"units.jpg", "units.webp"}) {
    const Run run = render(smallCase() << "--units-grid" << out(name));
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.contains(out(name) + ": ") &&
                 run.errors.contains("write a lossless format such as .tif"),
             qPrintable(run.errors));
    QVERIFY(!QFile::exists(out(name)));
  }
}

// GeoJSON holds longitudes and latitudes: the lines are converted when the system is known and
// refused with a hint when it is not. A CSV carries its field types and its system beside it.
void RenderCliTest::contactsForAGisCarryTheirCoordinateSystem() {
  const QStringList section = smallCase() << "--start"
                                          << "0,5"
                                          << "--azimuth"
                                          << "90";
  const Run unknown = render(QStringList(section) << "--section-contacts" << out("c.geojson"));
  QCOMPARE(unknown.status, 2);
  QVERIFY2(unknown.errors.contains("c.geojson: GeoJSON holds longitudes and latitudes") &&
               unknown.errors.contains(".gpkg"),
           qPrintable(unknown.errors));
  QVERIFY(!QFile::exists(out("c.geojson")));
  const QStringList known = QStringList(section) << "--srs"
                                                 << "EPSG:6677";
  QCOMPARE(render(QStringList(known) << "--section-contacts" << out("c.geojson")).status, 0);
  GDALAllRegister();
  GDALDataset* json = GDALDataset::Open(out("c.geojson").toUtf8().constData(), GDAL_OF_VECTOR);
  QVERIFY(json);
  OGRFeature* ground = json->GetLayer(0)->GetNextFeature();
  const OGRLineString* line = ground->GetGeometryRef()->toLineString();
  // The origin of the plane system IX lies at 139 deg 50' E, 36 deg N; the ground at 5 m.
  QVERIFY(qAbs(line->getX(0) - 139.8333333) < 1e-6);
  QVERIFY(qAbs(line->getY(0) - 36.0000451) < 1e-6);
  QVERIFY(qAbs(line->getZ(0) - 5) < 1e-5);
  OGRFeature::DestroyFeature(ground);
  GDALClose(json);
  QCOMPARE(render(QStringList(known) << "--section-contacts" << out("c.csv")).status, 0);
  QCOMPARE(contents(out("c.csvt")), QByteArray("WKT,String,Integer,Real,Real\n"));
  QVERIFY(contents(out("c.prj")).contains("Japan Plane Rectangular CS IX"));
}

// Nothing is built and no file is touched: the outputs' sidecars count, and names are compared
// as the files they lead to.
void RenderCliTest::anOutputOverAnInputOrAnotherOutputIsRefusedBeforeAnythingIsWritten() {
  QStringList rasterCase = smallCase();
  rasterCase[rasterCase.indexOf("--surface") + 1] = surfaceRaster("topo.tif");
  QVERIFY(QFile::link(out("s.txt"), out("link.png")));
  QVERIFY(::link(out("model.txt").toUtf8().constData(), out("model.csv").toUtf8().constData()) ==
          0);
  const struct {
    QStringList args;
    QString problem;
  } cases[] = {
      {QStringList(rasterCase) << "--units-grid" << out("topo.tif"),
       "--units-grid " + out("topo.tif") + " would overwrite the input --surface " +
           out("topo.tif")},
      {smallCase() << "--section-units" << out("./missing/../model.txt") << "--start"
                   << "0,5"
                   << "--azimuth"
                   << "90",
       "--section-units " + out("./missing/../model.txt") + " would overwrite the input --model "},
      // Refused before the section is built, which would fail: the line misses the model.
      {smallCase() << "--map" << out("same.png") << "--section" << out("same.png") << "--start"
                   << "500,500"
                   << "--azimuth"
                   << "0",
       "--map " + out("same.png") + " and --section " + out("same.png") +
           " would write the same file"},
      // GML's schema beside it is known only once GDAL has written it.
      {smallCase() << "--section-units" << out("c.xsd") << "--section-contacts" << out("c.gml")
                   << "--start"
                   << "0,5"
                   << "--azimuth"
                   << "90",
       "--section-units " + out("c.xsd") + " and --section-contacts " + out("c.gml") + " (its " +
           out("c.xsd") + ") would write the same file"},
      {smallCase() << "--units-legend" << out("colors.csv"),
       "--units-legend " + out("colors.csv") + " (its " + out("colors.txt") +
           ") would overwrite the input --colors "},
      {smallCase() << "--map" << out("link.png"),
       "--map " + out("link.png") + " would overwrite the input --boundary " + out("s.txt")},
      {smallCase() << "--section-units" << out("model.csv") << "--start"
                   << "0,5"
                   << "--azimuth"
                   << "90",
       "--section-units " + out("model.csv") + " would overwrite the input --model "},
      {smallCase() << "--units-grid" << out("u.asc") << "--section-contacts" << out("u.csv")
                   << "--start"
                   << "0,5"
                   << "--azimuth"
                   << "90",
       "--units-grid " + out("u.asc") + " (its " + out("u.prj") + ") and --section-contacts " +
           out("u.csv") + " (its " + out("u.prj") + ") would write the same file"},
  };
  for (const auto& c : cases) {
    const QStringList before =
        QDir(folder_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const QByteArray model = contents(out("model.txt"));
    const Run run = render(c.args);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.startsWith("kalvenor-render: " + c.problem), qPrintable(run.errors));
    QCOMPARE(run.errors.count('\n'), 1);
    QCOMPARE(
        QDir(folder_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        before);
    QCOMPARE(contents(out("model.txt")), model);
  }
  // A saved session's inputs are inputs too.
  kalvenor::SessionDocument document;
  document.modelFile = write("model.png", "1\ns\nlow,-1\nhigh,1\n").toStdString();
  document.boundaryFiles = {out("s.txt").toStdString()};
  document.surfaceFile = out("surface.txt").toStdString();
  document.canvasWidth = document.canvasHeight = 100;
  const QString session = out("s.json");
  write("s.json",
        QByteArray::fromStdString(kalvenor::sessionFileText(document, session.toStdString())));
  const Run run = render({"--session", session, "--map", out("model.png")});
  QCOMPARE(run.status, 2);
  QCOMPARE(run.errors, "kalvenor-render: --map " + out("model.png") +
                           " would overwrite the input --session " + session + " (its " +
                           out("model.png") + ")\n");
  QCOMPARE(contents(out("model.png")), QByteArray("1\ns\nlow,-1\nhigh,1\n"));
}

void RenderCliTest::picturesHaveTheRequestedSizeAndTheUnitColours() {
  // A plan view: west half "high", east half "low".
  for (const QString& name : {QString("plan.png"), QString("plan.bmp")}) {
    const Run run = render(smallCase() << "--view"
                                       << "180,90,1.8,1"
                                       << "--size"
                                       << "300x200"
                                       << "--no-boundary-lines"
                                       << "--frame"
                                       << "none"
                                       << "--map" << out(name));
    QCOMPARE(run.status, 0);
    const QImage image(out(name));
    QCOMPARE(image.size(), QSize(300, 200));
    QCOMPARE(image.pixel(150 - 40, 100), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(150 + 40, 100), qRgb(255, 0, 0));
  }
  QVERIFY(contents(out("plan.bmp")).startsWith("BM"));
  QVERIFY(contents(out("plan.png")).startsWith("\x89PNG"));
}

void RenderCliTest::anSvgHoldsPolygons() {
  QCOMPARE(render(smallCase() << "--map" << out("map.svg")).status, 0);
  QXmlStreamReader svg(contents(out("map.svg")));
  int polygons = 0;
  while (!svg.atEnd()) {
    svg.readNext();
    if (svg.isStartElement() && svg.name() == QStringLiteral("path")) ++polygons;
  }
  QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
  QVERIFY(polygons >= 2);
}

// Without --antialias the plan view holds only its unit, line and background colours; with it the
// lines blend into the fills beside them, which stay as they were.
void RenderCliTest::antialiasedLinesBlendIntoTheFillsAndPlainOnesDoNot() {
  const QStringList plan = smallCase() << "--view"
                                       << "180,90,1.8,1"
                                       << "--size"
                                       << "300x200";
  QCOMPARE(render(QStringList(plan) << "--map" << out("plain.png")).status, 0);
  QCOMPARE(render(QStringList(plan) << "--antialias"
                                    << "--map" << out("smooth.png"))
               .status,
           0);
  const QImage plain(out("plain.png"));
  const QImage smooth(out("smooth.png"));
  QSet<QRgb> colours;
  for (int y = 0; y < plain.height(); ++y) {
    for (int x = 0; x < plain.width(); ++x) colours.insert(plain.pixel(x, y));
  }
  QVERIFY2(colours.size() <= 5, qPrintable(QString::number(colours.size())));
  QVERIFY(colours.contains(qRgb(255, 0, 0)) && colours.contains(qRgb(0, 0, 255)));
  int blended = 0;
  for (int y = 0; y < smooth.height(); ++y) {
    for (int x = 0; x < smooth.width(); ++x) blended += !colours.contains(smooth.pixel(x, y));
  }
  QVERIFY2(blended > 20, qPrintable(QString::number(blended)));
  QCOMPARE(smooth.pixel(150 - 40, 100), qRgb(0, 0, 255));
  QCOMPARE(smooth.pixel(150 + 40, 100), qRgb(255, 0, 0));
}

// Legend, axes and title cannot fit 16 x 16 pixels: what fits is drawn, the run succeeds.
void RenderCliTest::aPictureTooSmallForItsAnnotationsIsStillDrawn() {
  const Run run = render(smallCase() << "--size"
                                     << "16x16"
                                     << "--legend"
                                     << "--axes"
                                     << "--title"
                                     << "X"
                                     << "--map" << out("map.png") << "--section"
                                     << out("section.png") << "--start"
                                     << "0,5"
                                     << "--azimuth"
                                     << "90");
  QCOMPARE(run.status, 0);
  QCOMPARE(QImage(out("map.png")).size(), QSize(16, 16));
  QCOMPARE(QImage(out("section.png")).size(), QSize(16, 16));
}

void RenderCliTest::badOptionsAndFilesExitWithTwoAndNameTheProblem() {
  const struct {
    QStringList args;
    QString named;
  } cases[] = {
      {{"--frobnicate"}, "--frobnicate"},
      {smallCase() << "--map" << out("m.png") << "--size"
                   << "big",
       "--size"},
      {smallCase() << "--map" << out("m.gif"), ".bmp, .png, .svg or .pdf"},
      {smallCase() << "--section" << out("s.png"), "--start"},
      {smallCase() << "--view"
                   << "1,2,3",
       "--view"},
      {{"--model", out("missing.txt"), "--surface", out("surface.txt"), "--map", out("m.png")},
       "missing.txt"},
      {smallCase() << "--boundary" << out("s.txt") << "--map" << out("m.png"), "2 boundary files"},
      {{"--model", out("model.txt"), "--surface", out("surface.txt"), "--map", out("m.png")},
       "model.txt: the model has 1 boundary but no boundary file was given: give its grid file "
       "with --boundary FILE"},
      {[&] {
         QStringList args = smallCase();
         args[args.indexOf("--surface") + 1] =
             write("corrupt.txt", "3,2,0,0,10,10,5,5,1.6e36,5,5,5");
         return args << "--map" << out("m.png");
       }(),
       "corrupt.txt: nothing of the block could be drawn"},
      {smallCase() << "--section" << out("s.png") << "--start"
                   << "10,5"
                   << "--end"
                   << "10,5",
       "starts and ends at the same point (x 10, y 5)"},
      {smallCase() << "--section" << out("s.png") << "--start"
                   << "500,500"
                   << "--azimuth"
                   << "0",
       "does not cross"},
      {smallCase() << "--map" << out("m.png") << "--title" << QString(201, 'T'),
       "--title takes at most 200 characters"},
      {smallCase() << "--units-grid" << out("u.frob"), "u.frob: no GDAL raster format"},
      {smallCase() << "--units-legend" << out("legend.txt"), "legend.txt: the legend CSV"},
      {smallCase() << "--section-contacts" << out("c.frob") << "--start"
                   << "0,5"
                   << "--azimuth"
                   << "90",
       "c.frob: no GDAL vector format"},
  };
  for (const auto& c : cases) {
    const Run run = render(c.args);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.contains(c.named), qPrintable(run.errors));
    QCOMPARE(run.errors.trimmed().count('\n'), 0);
  }
  QStringList badColours = smallCase();
  badColours << "--map" << out("m.png");
  write("colors.txt", "unit 1 red\n");
  const Run run = render(badColours);
  QCOMPARE(run.status, 2);
  QVERIFY(run.errors.contains("colors.txt, line 1"));
  QVERIFY(!QFile::exists(out("m.png")));
}

// The map is made and could be written, but the run fails: the old map stays.
void RenderCliTest::anOutputThatCannotBeWrittenReplacesNoOtherOutput() {
  const QString map = write("map.png", "old map");
  const QString legend = write("legend.csv", "old legend");
  QVERIFY(QFile::setPermissions(legend, QFile::ReadOwner | QFile::ReadGroup));
  const struct {
    QStringList outputs;
    QString problem;
  } cases[] = {
      {{"--units-grid", out("missing/units.asc")},
       out("missing/units.asc") + ": cannot create the file: No such file or directory"},
      {{"--units-legend", legend}, legend + ": cannot replace a read-only file: Permission denied"},
      {{"--units-grid", out("missing/units.tif")},
       out("missing/units.tif") + ": cannot create the file: No such file or directory"},
      {{"--section-contacts", out("missing/c.shp"), "--start", "0,5", "--azimuth", "90"},
       out("missing/c.cpg") + ": cannot create the file: No such file or directory"},
  };
  for (const auto& c : cases) {
    const QStringList args = smallCase() << "--map" << map << c.outputs;
    const QStringList before =
        QDir(folder_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const Run run = render(args);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.errors, "kalvenor-render: " + c.problem + "\n");
    QCOMPARE(contents(map), QByteArray("old map"));
    QCOMPARE(QDir(folder_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
  }
  QCOMPARE(contents(legend), QByteArray("old legend"));
}

// Pictures and text exports alike: the reason in one line (no note from an image library),
// the old file byte for byte, no temporary file.
void RenderCliTest::aFullDiskFailsWithOneLineAndKeepsTheOldFile() {
  const struct {
    QStringList option;
    QString name;
  } cases[] = {
      {{"--map"}, "map.svg"},
      {{"--map"}, "map.png"},
      {{"--map"}, "map.bmp"},
      {{"--units-grid"}, "units.asc"},
      {{"--units-legend"}, "legend.csv"},
      {{"--start", "0,5", "--azimuth", "90", "--section-units"}, "section.csv"},
      {{"--units-grid"}, "units.tif"},
      {{"--start", "0,5", "--azimuth", "90", "--section-contacts"}, "contacts.gpkg"},
  };
  for (const auto& c : cases) {
    const QStringList args = smallCase() << c.option << out(c.name);
    // A GeoPackage that is there is updated, so the old one must be one.
    if (c.name.endsWith(".gpkg")) QCOMPARE(render(args).status, 0);
    const QString target = c.name.endsWith(".gpkg") ? out(c.name) : write(c.name, "old output");
    const QByteArray old = contents(target);
    const QStringList before = QDir(folder_->path()).entryList(QDir::Files);
    const Run run = render(args, 32);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.errors, "kalvenor-render: " + target + ": cannot write: File too large\n");
    QCOMPARE(contents(target), old);
    QCOMPARE(QDir(folder_->path()).entryList(QDir::Files), before);
  }
}

void RenderCliTest::helpDocumentsEveryOption() {
  QProcess process;
  process.start(KALVENOR_RENDER_PATH, {"--help"});
  QVERIFY(process.waitForFinished(30000));
  QCOMPARE(process.exitCode(), 0);
  const QString help = QString::fromUtf8(process.readAllStandardOutput());
  for (const char* option : {"--model",         "--boundary",
                             "--surface",       "--colors",
                             "--zbase",         "--view",
                             "--perspective",   "--contours",
                             "--no-side",       "--no-boundary-lines",
                             "--frame",         "--black",
                             "--size",          "--map",
                             "--section",       "--start",
                             "--end",           "--azimuth",
                             "--section-line",  "--section-trace",
                             "--units-grid",    "--units-legend",
                             "--section-units", "--section-contacts",
                             "--srs",           "--contacts",
                             "--antialias",     "--fit",
                             "--legend",        "--axes",
                             "--title",         "--version",
                             "--layer"}) {
    QVERIFY2(help.contains(option), option);
  }
}

void RenderCliTest::versionNamesTheProgramAndTheProjectVersion() {
  QProcess process;
  process.start(KALVENOR_RENDER_PATH, {"--version"});
  QVERIFY(process.waitForFinished(30000));
  QCOMPARE(process.exitCode(), 0);
  QCOMPARE(process.readAllStandardOutput(), QByteArray("kalvenor-render " KALVENOR_VERSION "\n"));
}

void RenderCliTest::viewsThatCannotMakeAPictureAreRefused() {
  const struct {
    QStringList options;
    QString named;
  } cases[] = {
      {{"--view", "225,30,0,2"}, "magnification"},
      {{"--view", "225,30,1,-2"}, "vertical exaggeration"},
      {{"--view", "225,30,1e9,2"}, "magnification"},
      {{"--perspective", "-500,0"}, "perspective distance"},
      {{"--perspective", "500,600"}, "perspective plane"},
  };
  for (const auto& c : cases) {
    const Run run = render(smallCase() << c.options << "--map" << out("m.png"));
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.contains(c.named), qPrintable(run.errors));
    QVERIFY(!QFile::exists(out("m.png")));
  }
  QStringList baseAtTheTop = smallCase();
  baseAtTheTop.last() = "5";  // the surface lies at 5 less a millionth
  const Run base = render(baseAtTheTop << "--map" << out("m.png"));
  QCOMPARE(base.status, 2);
  QVERIFY2(base.errors.contains("base height"), qPrintable(base.errors));
  const Run section = render(smallCase() << "--view"
                                         << "90,0,-1,1"
                                         << "--section" << out("s.png") << "--start"
                                         << "0,5"
                                         << "--azimuth"
                                         << "90");
  QCOMPARE(section.status, 2);
  QVERIFY2(section.errors.contains("magnification"), qPrintable(section.errors));
}

void RenderCliTest::problemsThatDoNotStopTheRunAreWarnedOnEachOneLine() {
  QStringList args = smallCase();
  args << "--map" << out("m.png") << "--contours"
       << "0,100,0.001";
  write("s.txt", "2,2,0,0,10,10,0,0,10,10\n");               // ends at x 10: the surface reaches 20
  write("surface.txt", "3,2,0,0,10,10,5,5,5,5,5,5\n5,5\n");  // two values too many
  const Run run = render(args);
  QCOMPARE(run.status, 0);
  const QStringList lines = run.errors.trimmed().split('\n');
  QCOMPARE(lines.size(), 3);
  QVERIFY2(lines[0].contains("surface.txt") && lines[0].contains("2 values"), qPrintable(lines[0]));
  QVERIFY2(lines[1].contains("s.txt") && lines[1].contains("does not cover"), qPrintable(lines[1]));
  QVERIFY2(lines[2].contains("without contours"), qPrintable(lines[2]));
  QVERIFY(QImage(out("m.png")).width() > 0);
}

// The program is copied into a folder of its own so that the default.txt beside it can be
// missing or broken.
void RenderCliTest::anUnusableDefaultFileIsNamedAndTheBuiltInViewUsed() {
  const QString bin = out("bin");
  QVERIFY(QDir().mkpath(bin));
  const QString program = bin + "/kalvenor-render";
  QVERIFY(QFile::copy(KALVENOR_RENDER_PATH, program));
  const QString defaults = bin + "/default.txt";
  const auto runCopy = [&] {
    QProcess process;
    process.start(program, smallCase() << "--map" << out("m.png"));
    if (!process.waitForFinished(60000)) qFatal("kalvenor-render did not finish");
    return Run{process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
  };
  const struct {
    std::function<void()> make;
    QString problem;
  } cases[] = {
      {[] {}, "no such file, nor is there"},
      {[&] { write("bin/default.txt", ""); }, "default.txt"},
      {[&] { write("bin/default.txt", "a\n225\nb\nthirty\n"); }, "thirty"},
      {[&] { write("bin/default.txt", "a\n225\nb\n30\n"); }, "ends after"},
      {[&] {
         QFile::remove(defaults);
         QVERIFY(QFile::link("/dev/zero", defaults));
       },
       "is a device"},
      {[&] {
         QFile::remove(defaults);
         QVERIFY(::mkfifo(defaults.toLocal8Bit().constData(), 0600) == 0);
       },
       "is a named pipe"},
      {[&] {
         QFile::remove(defaults);
         QDir().mkdir(defaults);
       },
       "folder"},
  };
  for (const auto& c : cases) {
    c.make();
    const Run run = runCopy();
    QCOMPARE(run.status, 0);
    const QStringList lines = run.errors.trimmed().split('\n');
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].contains("default.txt") && lines[0].contains(c.problem) &&
                 lines[0].contains("built-in view 225, 30, 1.2, 2"),
             qPrintable(lines[0]));
  }
}

// GDAL and the libraries it needs take longer to load than a small picture takes to draw: a run
// on text grids does without it, and the first raster loads it.
void RenderCliTest::gdalIsLoadedOnlyForARaster() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("LD_DEBUG", "files");
  const Run text = render(smallCase() << "--map" << out("text.png"), 0, environment);
  QCOMPARE(text.status, 0);
  QVERIFY(text.errors.contains("libQt6Gui"));
  QVERIFY(!text.errors.contains("libgdal"));
  const QString e = KALVENOR_EXAMPLES_DIR "/clipped-dem/";
  const Run raster = render({"--model", e + "model.txt", "--boundary", e + "granite_top.txt",
                             "--boundary", e + "tuff_base.txt", "--surface", e + "dem.tif", "--srs",
                             "EPSG:6677", "--colors", e + "colors.txt", "--map", out("raster.png")},
                            0, environment);
  QCOMPARE(raster.status, 0);
  QVERIFY(raster.errors.contains("libgdal"));
  QVERIFY(QFile::exists(out("raster.png")));
}

QTEST_GUILESS_MAIN(RenderCliTest)
#include "render_cli_test.moc"
