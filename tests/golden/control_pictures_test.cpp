#include <QTemporaryDir>
#include <QtTest>

#include "example_pictures.h"
#include "picture_check.h"
#include "text_font.h"

using namespace kalvenor;

// kalvenor-render's pictures of the bundled example against control pictures kept in
// tests/golden/control: a change to the renderers that the window and the batch share shows
// here, where comparing the two with each other cannot see it. Pictures drawn cell by cell match
// pixel for pixel; traced lines may round a few projected corners the other way; text is drawn
// in a face that is checked first and compared with a small colour tolerance.
//
// When a change to the pictures is intended, the failure names the new picture: look at it and
// copy it over the control picture.
class ControlPicturesTest : public QObject {
  Q_OBJECT

 private slots:
  void matchesItsControlPicture_data();
  void matchesItsControlPicture();
  void everyControlPictureIsCompared();
  void aWrongPictureDoesNotPass_data();
  void aWrongPictureDoesNotPass();
  void smoothFillsMeetTheirLines();
  void theSamePicturesOnOneThreadAsOnMany_data();
  void theSamePicturesOnOneThreadAsOnMany();
};

namespace {

const QString kSize = QStringLiteral("400x300");
const QString kFence = QStringLiteral(
    "--vertices 30000,41200;35000,42000 --vertices 31500,40000;33000,44000 "
    "--vertices 30000,43300;32500,42800;35000,43600");

// How a control picture is drawn and how closely a new one must match it.
struct ControlPicture {
  QString name;  // tests/golden/control/<name>.png
  QString output;
  QString options;
  PictureTolerance tolerance;
  bool text = false;
};

QList<ControlPicture> controlPictures() {
  const QString line = QStringLiteral("--start %1 --end %2").arg(kSectionStart, kSectionEnd);
  // Cell by cell with four frame sides: the pictures as they always were, pixel for pixel.
  const QString classic = QStringLiteral("--contacts cells --frame 4 ");
  const QString holes = QStringLiteral("--collars %1 --surveys %2 --intervals %3 ")
                            .arg(exampleFile("collars.csv"), exampleFile("surveys.csv"),
                                 exampleFile("intervals.csv"));
  return {
      {"map", "--map", classic + "--view 225,30,1.2,2 --section-line " + line, kExactPixels},
      {"perspective", "--map",
       "--contacts cells --view 200,35,1.3,3 --perspective 9000,0 --contours auto --frame 2",
       kExactPixels},
      {"plan", "--map", classic + "--view 180,90,1.8,1 --contours auto:16 --no-side --black",
       kExactPixels},
      {"section", "--section", classic + "--view 0,0,1.4,4 " + line, kExactPixels},
      // Fitted to the picture with its axes, ends, exaggeration, legend and a Japanese title.
      {"section-annotated", "--section",
       classic + "--view 0,0,,4 --legend --axes --title 褶曲盆地の断面 " + line, kSmoothedEdges,
       true},
      // The batch renderer's own defaults: smooth contacts, two frame sides.
      {"plan-smooth-black", "--map", "--view 180,90,1.8,1 --no-side --black", kTracedLines},
      {"near-perspective", "--map", "--view 225,25,1,2 --perspective 2500,0", kTracedLines},
      {"block-smooth", "--map", "--view 200,35,1.3,3 --contours auto", kTracedLines},
      {"section-smooth-black", "--section", "--view 0,0,1.4,4 --black " + line, kTracedLines},
      // The section along the example's line file, its bends labelled with the vertices' names.
      {"section-bent", "--section",
       "--view 0,0,,4 --axes --section-line-file " + exampleFile("survey_line.csv"), kSmoothedEdges,
       true},
      // A fence of three panels, one bent, with the block cut away in front of them.
      {"fence-cut", "--map", "--view 215,30,1.3,3 --fence-cut " + kFence, kTracedLines},
      // The shaded relief: the block lit from the north-west, and cell by cell a plan view lit
      // from the east at full strength.
      {"block-shaded", "--map", "--view 200,35,1.3,3 --shade", kTracedLines},
      {"plan-shaded", "--map",
       classic + "--view 180,90,1.8,1 --no-side --shade 90,30 --shade-strength 1", kExactPixels},
      // The example's boreholes: strip logs with their ids on a section through the misfit of
      // BH08, and the collars coloured by the check's residuals with their legend.
      {"section-boreholes", "--section",
       holes + "--view 0,0,,4 --start 30000,41099 --azimuth 90 --borehole-buffer 300",
       kSmoothedEdges, true},
      {"plan-residuals", "--map",
       holes + "--view 180,90,,1 --no-side --borehole-labels --borehole-residuals", kSmoothedEdges,
       true},
  };
}

ControlPicture controlPicture(const QString& name) {
  for (const ControlPicture& picture : controlPictures()) {
    if (picture.name == name) return picture;
  }
  return {};
}

QString controlPath(const QString& name) {
  return QStringLiteral(KALVENOR_CONTROL_PICTURES_DIR "/") + name + ".png";
}

// kalvenor-render's picture of the example with `options` in `folder`; null when the run failed,
// with what it said in `errors`.
QImage drawExample(const QString& output, const QString& options, const QTemporaryDir& folder,
                   QString& errors) {
  const QString path = folder.filePath(QStringLiteral("drawn.png"));
  return renderPicture(exampleInputs() << options.split(' ') << "--size" << kSize << output << path,
                       path, errors);
}

}  // namespace

void ControlPicturesTest::matchesItsControlPicture_data() {
  QTest::addColumn<QString>("name");
  for (const ControlPicture& picture : controlPictures()) {
    QTest::newRow(qPrintable(picture.name)) << picture.name;
  }
}

void ControlPicturesTest::matchesItsControlPicture() {
  QFETCH(QString, name);
  const ControlPicture control = controlPicture(name);
  if (control.text) KALVENOR_REQUIRE_TEXT_FONT();
  const QImage expected(controlPath(name));
  QVERIFY2(!expected.isNull(), qPrintable("There is no control picture " + controlPath(name)));

  QTemporaryDir folder;
  QString errors;
  const QImage picture = drawExample(control.output, control.options, folder, errors);
  QVERIFY2(!picture.isNull(), qPrintable(errors));
  KALVENOR_COMPARE_PICTURES(picture, expected, control.tolerance);
}

// A control picture that no row above draws guards nothing and goes stale unseen.
void ControlPicturesTest::everyControlPictureIsCompared() {
  QStringList unused =
      QDir(QStringLiteral(KALVENOR_CONTROL_PICTURES_DIR)).entryList({"*.png"}, QDir::Files);
  for (const ControlPicture& picture : controlPictures()) unused.removeAll(picture.name + ".png");
  QVERIFY2(unused.isEmpty(),
           qPrintable("No test compares the control pictures " + unused.join(", ") + " in " +
                      KALVENOR_CONTROL_PICTURES_DIR));
}

void ControlPicturesTest::aWrongPictureDoesNotPass_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("options");
  const QString line = QStringLiteral("--start %1 --end %2").arg(kSectionStart, kSectionEnd);
  QTest::newRow("cells, turned a degree")
      << "map"
      << "--contacts cells --frame 4 --view 226,30,1.2,2 --section-line " + line;
  QTest::newRow("traced, without contours") << "block-smooth"
                                            << "--view 200,35,1.3,3";
  QTest::newRow("a bend moved") << "section-bent"
                                << "--view 0,0,,4 --axes --vertices "
                                   "30200,41000;32600,42900;34800,43500";
  QTest::newRow("a fence, not cut") << "fence-cut"
                                    << "--view 215,30,1.3,3 " + kFence;
  QTest::newRow("shaded, the light turned") << "block-shaded"
                                            << "--view 200,35,1.3,3 --shade 300,45";
  QTest::newRow("text, a shorter title")
      << "section-annotated"
      << "--contacts cells --frame 4 --view 0,0,,4 --legend --axes --title 褶曲盆地断面 " + line;
}

// Each tolerance lets through what the rasteriser may change but not a fault: a turned view, a
// missing line, a changed word. The three pictures are written and named.
void ControlPicturesTest::aWrongPictureDoesNotPass() {
  QFETCH(QString, name);
  QFETCH(QString, options);
  const ControlPicture control = controlPicture(name);
  QTemporaryDir folder;
  QString errors;
  const QImage wrong = drawExample(control.output, options, folder, errors);
  QVERIFY2(!wrong.isNull(), qPrintable(errors));

  const QString mismatch = pictureMismatch(wrong, QImage(controlPath(name)), control.tolerance,
                                           {folder.path(), QStringLiteral("wrong")});
  QVERIFY(!mismatch.isEmpty());
  for (const char* written : {"wrong-expected.png", "wrong-actual.png", "wrong-difference.png"}) {
    QVERIFY2(mismatch.contains(folder.filePath(written)), qPrintable(mismatch));
    QVERIFY(QFileInfo::exists(folder.filePath(written)));
  }
}

namespace {

// The pixels where one unit's fill meets another's to the right or below; the white background
// and the black edges of the block are no unit.
QList<QPoint> fillContacts(const QImage& fills) {
  const auto unit = [](QRgb c) { return c != qRgb(255, 255, 255) && c != qRgb(0, 0, 0); };
  QList<QPoint> contacts;
  for (int y = 0; y + 1 < fills.height(); ++y) {
    for (int x = 0; x + 1 < fills.width(); ++x) {
      const QRgb here = fills.pixel(x, y);
      for (const QRgb next : {fills.pixel(x + 1, y), fills.pixel(x, y + 1)}) {
        if (here != next && unit(here) && unit(next)) contacts << QPoint(x, y);
      }
    }
  }
  return contacts;
}

// Whether a pixel of a boundary line (any colour that is no fill there) lies within `reach`.
bool nearLine(const QImage& lined, const QImage& fills, QPoint p, int reach) {
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      const QPoint q = p + QPoint(dx, dy);
      if (lined.valid(q) && lined.pixel(q) != fills.pixel(q)) return true;
    }
  }
  return false;
}

}  // namespace

// In plan view with smooth contacts every place where one unit's fill meets another's lies
// under its traced line: the width-2 line covers one pixel to either side, so a colour change
// more than one pixel beyond the line is a fill on the wrong side. Drawn cell by cell, the
// colour steps stand up to a cell away from the lines, which this finds.
void ControlPicturesTest::smoothFillsMeetTheirLines() {
  QTemporaryDir folder;
  const auto plan = [&](const QString& name, const QStringList& extra) {
    const QString path = folder.filePath(name + ".png");
    QString errors;
    const QImage picture = renderPicture(exampleInputs() << "--view"
                                                         << "180,90,1.8,1"
                                                         << "--no-side"
                                                         << "--frame"
                                                         << "none"
                                                         << "--size"
                                                         << "800x800" << extra << "--map" << path,
                                         path, errors);
    if (picture.isNull()) qWarning("%s", qPrintable(errors));
    return picture;
  };
  const auto farFromLines = [&](const QString& contacts) {
    const QImage lined = plan(contacts + "-lined", {"--contacts", contacts});
    const QImage fills = plan(contacts + "-fills", {"--contacts", contacts, "--no-boundary-lines"});
    qint64 far = 0;
    for (const QPoint& p : fillContacts(fills)) {
      far += !nearLine(lined, fills, p, 2);
    }
    return std::pair{far, fillContacts(fills).size()};
  };
  const auto [smoothFar, smoothContacts] = farFromLines("smooth");
  const auto [cellsFar, cellsContacts] = farFromLines("cells");
  qInfo("fill contacts beyond a pixel of their line: smooth %lld of %lld, cells %lld of %lld",
        smoothFar, qint64(smoothContacts), cellsFar, qint64(cellsContacts));
  QVERIFY(smoothContacts > 500);
  QVERIFY(cellsFar > 100);
  // Not one: a cell whose line is squeezed to a point at a corner, for one, must not take the
  // colour of that lone corner.
  QCOMPARE(smoothFar, qint64(0));
}

void ControlPicturesTest::theSamePicturesOnOneThreadAsOnMany_data() {
  QTest::addColumn<QString>("output");
  QTest::addColumn<QString>("options");
  const QString line = QStringLiteral("--start %1 --end %2").arg(kSectionStart, kSectionEnd);
  QTest::newRow("cells, lines after each cell")
      << "--map"
      << "--contacts cells --frame 4 --view 225,30,1.2,2 --section-line " + line;
  QTest::newRow("perspective, contours") << "--map"
                                         << "--view 200,35,1.3,3 --perspective 2500,0 "
                                            "--contours auto";
  QTest::newRow("a fence, cut") << "--map"
                                << "--view 215,30,1.3,3 --fence-cut " + kFence;
  QTest::newRow("antialiased, annotated")
      << "--map"
      << "--view 225,30,,2 --antialias --legend --title 褶曲盆地 --section-trace " + line;
  QTest::newRow("section") << "--section"
                           << "--view 0,0,0.6,4 --axes --legend " + line;
  QTest::newRow("shaded, smooth contacts") << "--map"
                                           << "--view 200,35,1.3,3 --shade 135,30";
}

// The grids are built and the pictures painted in as many parts as there are threads; whatever
// their number, every node and so every pixel comes out the same.
void ControlPicturesTest::theSamePicturesOnOneThreadAsOnMany() {
  QFETCH(QString, output);
  QFETCH(QString, options);
  QTemporaryDir folder;
  QImage one;
  for (const int threads : {1, 2, 3, 7}) {
    const QString path = folder.filePath(QStringLiteral("%1.png").arg(threads));
    QString errors;
    const QImage picture = renderPicture(exampleInputs() << options.split(' ') << "--size"
                                                         << "600x500" << output << path,
                                         path, errors, threads);
    QVERIFY2(!picture.isNull(), qPrintable(errors));
    if (threads == 1) {
      one = picture;
      continue;
    }
    KALVENOR_COMPARE_PICTURES(picture, one, kExactPixels,
                              QStringLiteral("%1-threads").arg(threads));
  }
}

QTEST_MAIN(ControlPicturesTest)
#include "control_pictures_test.moc"
