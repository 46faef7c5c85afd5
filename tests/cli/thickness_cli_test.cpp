#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <cmath>

#include "evaluation/boundary_interpolation.h"
#include "model/grid_surface.h"
#include "test_paths.h"

// kalvenor-render's thickness and depth grids, maps of values and units' volumes, on a small case
// worked out by hand and on the bundled example against GMT.
class ThicknessCliTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { folder_ = new QTemporaryDir; }
  void cleanup() { delete folder_; }
  void theGridsAndVolumesOfASmallCase();
  void refusalsNameTheProblemAndWriteNothing();
  void aMapOfValuesIsDrawnOnTheRampNotInTheUnitColours();
  void theExamplesVolumesAgreeWithGmt();

 private:
  struct Run {
    int status;
    QString errors;
  };
  Run render(const QStringList& args);
  QString write(const QString& name, const QByteArray& content);
  QString out(const QString& name) const { return folder_->filePath(name); }
  QStringList smallCase();
  QString denserSurface(int factor);
  static QByteArray contents(const QString& path);

  QTemporaryDir* folder_ = nullptr;
};

ThicknessCliTest::Run ThicknessCliTest::render(const QStringList& args) {
  QProcess process;
  process.start(KALVENOR_RENDER_PATH, args);
  if (!process.waitForFinished(120000)) qFatal("kalvenor-render did not finish");
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardError())};
}

QString ThicknessCliTest::write(const QString& name, const QByteArray& content) {
  QFile file(out(name));
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write test file");
  file.write(content);
  return file.fileName();
}

QByteArray ThicknessCliTest::contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A 3 x 2 ground flat at 5 over a boundary rising from 0 in the west to 10 in the east
// (b = x / 2, nodes 10 m apart), base at -10: "low" below the boundary, "high" above it.
QStringList ThicknessCliTest::smallCase() {
  return {"--model",    write("model.txt", "1\ns\nlow,-1\nhigh,1\n"),
          "--boundary", write("s.txt", "3,2,0,0,10,10,0,0,5,5,10,10\n"),
          "--surface",  write("surface.txt", "3,2,0,0,10,10,5,5,5,5,5,5\n"),
          "--colors",   write("colors.txt", "unit 1 #ff0000\nunit 2 #0000ff\n"),
          "--zbase",    "-10"};
}

// Every number of a text, in order: the values of an ESRI ASCII grid after its header, or the
// fields of a CSV row.
QList<double> numbersOf(const QByteArray& text) {
  QList<double> numbers;
  for (const QByteArray& word : QByteArray(text).replace(',', ' ').simplified().split(' ')) {
    bool ok = false;
    const double value = word.toDouble(&ok);
    if (ok) numbers.push_back(value);
  }
  return numbers;
}

// Equal to a millionth: the display surface is lowered by up to that on reading.
bool near(const QList<double>& actual, const QList<double>& expected) {
  if (actual.size() != expected.size()) return false;
  for (int n = 0; n < actual.size(); ++n) {
    if (std::abs(actual[n] - expected[n]) > 1e-5 * std::max(1.0, std::abs(expected[n]))) {
      return false;
    }
  }
  return true;
}

// "high" is 5 - x / 2 thick west of x = 10: 10 m x 25 m2 = 250 m3 over 100 m2; "low" fills the
// rest of the 20 x 10 x 15 m block. The boundary lies below the ground only at x = 0.
void ThicknessCliTest::theGridsAndVolumesOfASmallCase() {
  const Run run = render(smallCase() << "--thickness-grid" << out("high.asc") << "--unit"
                                     << "high"
                                     << "--depth-grid" << out("s.asc") << "--boundary-name"
                                     << "s"
                                     << "--volumes" << out("volumes.csv"));
  QCOMPARE(run.errors, QString());
  QCOMPARE(run.status, 0);
  const QByteArray header =
      "ncols 3\nnrows 2\nxllcenter 0\nyllcenter 0\ncellsize 10\nNODATA_value -9999\n";
  const QByteArray high = contents(out("high.asc"));
  QVERIFY(high.startsWith(header));
  QVERIFY(near(numbersOf(high.mid(header.size())), {5, 0, 0, 5, 0, 0}));
  QCOMPARE(contents(out("s.asc")).mid(header.size()).split(' ')[1], "-9999");
  QVERIFY(near(numbersOf(contents(out("s.asc")).mid(header.size())),
               {5, -9999, -9999, 5, -9999, -9999}));
  const QList<QByteArray> rows = contents(out("volumes.csv")).split('\n');
  QCOMPARE(rows[0],
           "unit,name,volume_m3,outcrop_area_m2,present_area_m2,mean_thickness_m,"
           "largest_thickness_m");
  QVERIFY(rows[1].startsWith("1,low,"));
  QVERIFY(near(numbersOf(rows[1]), {1, 2750, 100, 200, 13.75, 15}));
  QVERIFY(rows[2].startsWith("2,high,"));
  QVERIFY(near(numbersOf(rows[2]), {2, 250, 100, 100, 2.5, 5}));
}

void ThicknessCliTest::refusalsNameTheProblemAndWriteNothing() {
  const QString lines =
      write("lines.geojson",
            R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},)"
            R"("geometry":{"type":"LineString","coordinates":[[0,0],[20,10]]}}]})");
  const struct {
    const char* name;
    QStringList args;
    QStringList said;
  } cases[] = {
      {"a unit the model lacks",
       {"--thickness-grid", out("t.tif"), "--unit", "granite"},
       {"\"granite\"", "\"low\"", "\"high\""}},
      {"a boundary the model lacks",
       {"--depth-grid", out("t.tif"), "--boundary-name", "fault"},
       {"\"fault\"", "\"s\""}},
      {"a thickness grid without its unit", {"--thickness-grid", out("t.tif")}, {"--unit"}},
      {"a unit without its grid",
       {"--map", out("m.png"), "--unit", "low"},
       {"--unit", "--thickness-grid"}},
      {"polygons without volumes", {"--map", out("m.png"), "--clip", lines}, {"--volumes"}},
      {"a clip layer without polygons",
       {"--volumes", out("v.csv"), "--clip", lines},
       {"lines.geojson", "no polygon"}},
      {"a format of bytes", {"--thickness-grid", out("t.png"), "--unit", "low"}, {"t.png", "PNG"}},
      {"a map of something else", {"--map", out("m.png"), "--map-of", "volume:low"}, {"--map-of"}},
  };
  for (const auto& c : cases) {
    const Run run = render(smallCase() << c.args);
    QVERIFY2(run.status == 2, c.name);
    QCOMPARE(run.errors.count('\n'), 1);
    for (const QString& part : c.said) {
      QVERIFY2(run.errors.contains(part), qPrintable(QString(c.name) + ": " + run.errors));
    }
    for (const char* written : {"t.tif", "t.png", "m.png", "v.csv"}) {
      QVERIFY2(!QFile::exists(out(written)), c.name);
    }
  }
}

// The cells west of x = 10 are 2.5 thick on average, those east of it 0, the bottom of the ramp.
void ThicknessCliTest::aMapOfValuesIsDrawnOnTheRampNotInTheUnitColours() {
  const Run run = render(smallCase() << "--map" << out("map.png") << "--map-of"
                                     << "thickness:high"
                                     << "--legend"
                                     << "--view"
                                     << "0,90,1,1"
                                     << "--fit"
                                     << "--size"
                                     << "400x300");
  QCOMPARE(run.errors, QString());
  QCOMPARE(run.status, 0);
  const QImage map(out("map.png"));
  QVERIFY(!map.isNull());
  int rampBottom = 0, units = 0;
  for (int y = 0; y < map.height(); ++y) {
    for (int x = 0; x < map.width(); ++x) {
      const QRgb pixel = map.pixel(x, y);
      if (pixel == qRgb(68, 1, 84)) ++rampBottom;
      if (pixel == qRgb(255, 0, 0) || pixel == qRgb(0, 0, 255)) ++units;
    }
  }
  QVERIFY2(rampBottom > 1000, qPrintable(QString::number(rampBottom)));
  QCOMPARE(units, 0);
}

// The example's display surface on nodes `factor` times as dense, each new node bilinear between
// the old ones as the viewer evaluates the surface: the same ground, so the same volumes.
QString ThicknessCliTest::denserSurface(int factor) {
  const kalvenor::GridSurface topography =
      kalvenor::readGridSurface(KALVENOR_EXAMPLES_DIR "/folded-basin/topography.txt");
  const int nx = (topography.Nx - 1) * factor + 1, ny = (topography.Ny - 1) * factor + 1;
  const double dx = topography.Dx / factor, dy = topography.Dy / factor;
  QByteArray text = QString("%1,%2,%3,%4,%5,%6\n")
                        .arg(nx)
                        .arg(ny)
                        .arg(topography.Xmin, 0, 'g', 17)
                        .arg(topography.Ymin, 0, 'g', 17)
                        .arg(dx, 0, 'g', 17)
                        .arg(dy, 0, 'g', 17)
                        .toUtf8();
  for (int i = 0; i < nx; ++i) {
    for (int j = 0; j < ny; ++j) {
      const double z =
          kalvenor::elevationAt(topography, topography.Xmin + i * dx, topography.Ymin + j * dy);
      text += QByteArray::number(z, 'g', 17) + "\n";
    }
  }
  return write("denser.txt", text);
}

// GMT integrates each thickness grid bilinearly between its nodes, which overestimates a unit
// where it thins out to nothing inside a cell (the thickness has a kink there): on the example's
// own 50 m nodes by up to 0.13 %. Twice as dense, the same surfaces give GMT's integration within
// 0.1 % of the volumes, which do not change with the nodes.
void ThicknessCliTest::theExamplesVolumesAgreeWithGmt() {
  const QString gmt = QStandardPaths::findExecutable("gmt");
  if (gmt.isEmpty()) QSKIP("GMT is not installed");
  const QString e = KALVENOR_EXAMPLES_DIR "/folded-basin/";
  QStringList example = {
      "--model",    e + "model.txt",         "--boundary", e + "limestone_top.txt",
      "--boundary", e + "sandstone_top.txt", "--boundary", e + "mudstone_top.txt",
      "--boundary", e + "unconformity.txt",  "--zbase",    "0",
      "--surface"};
  QCOMPARE(render(QStringList(example) << e + "topography.txt"
                                       << "--volumes" << out("own.csv"))
               .status,
           0);
  example << denserSurface(2);
  QCOMPARE(render(QStringList(example) << "--volumes" << out("volumes.csv")).status, 0);
  const QList<QByteArray> own = contents(out("own.csv")).trimmed().split('\n');
  const QList<QByteArray> rows = contents(out("volumes.csv")).trimmed().split('\n');
  QCOMPARE(rows.size(), 6);
  for (int unit = 1; unit <= 5; ++unit) {
    const double ours = rows[unit].split(',')[2].toDouble();
    QVERIFY(std::abs(own[unit].split(',')[2].toDouble() - ours) <= 1e-6 * ours);
    const QString grid = out(QString("unit%1.tif").arg(unit));
    QCOMPARE(render(QStringList(example)
                    << "--thickness-grid" << grid << "--unit" << QString::number(unit))
                 .status,
             0);
    QProcess volume;
    volume.start(gmt, {"grdvolume", grid, "-C0"});
    QVERIFY(volume.waitForFinished(60000) && volume.exitCode() == 0);
    const QList<QByteArray> figures = volume.readAllStandardOutput().simplified().split(' ');
    QVERIFY(figures.size() >= 3);
    const double gmtVolume = figures[2].toDouble();
    QVERIFY2(
        std::abs(ours - gmtVolume) <= 1e-3 * gmtVolume,
        qPrintable(QString("unit %1: %2 against GMT's %3").arg(unit).arg(ours).arg(gmtVolume)));
  }
}

QTEST_GUILESS_MAIN(ThicknessCliTest)
#include "thickness_cli_test.moc"
