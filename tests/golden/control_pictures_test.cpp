#include <QTemporaryDir>
#include <QtTest>

#include "example_pictures.h"

using namespace kalvenor;

// kalvenor-render's pictures of the bundled example against control pictures kept in
// tests/golden/control: a change to the renderers that the window and the batch share shows
// here, where comparing the two with each other cannot see it. A few pixels may differ, as a
// compiler may round a projected corner the other way; a shifted or missing line, wall or cell
// does not pass.
//
// When a change to the pictures is intended, the failure names the new picture: look at it and
// copy it over the control picture.
class ControlPicturesTest : public QObject {
  Q_OBJECT

 private slots:
  void matchesItsControlPicture_data();
  void matchesItsControlPicture();
  void smoothFillsMeetTheirLines();
  void theSamePicturesOnOneThreadAsOnMany_data();
  void theSamePicturesOnOneThreadAsOnMany();
};

namespace {

// At most one pixel in a thousand may differ; pictures drawn cell by cell must stay exactly as
// they were.
constexpr qint64 kToleratedPixelsPerMille = 1;

const QString kSize = QStringLiteral("400x300");

}  // namespace

void ControlPicturesTest::matchesItsControlPicture_data() {
  QTest::addColumn<QString>("output");
  QTest::addColumn<QString>("options");
  QTest::addColumn<bool>("exact");
  const QString line = QStringLiteral("--start %1 --end %2").arg(kSectionStart, kSectionEnd);
  // Cell by cell with four frame sides: the pictures as they always were, pixel for pixel.
  const QString classic = QStringLiteral("--contacts cells --frame 4 ");
  QTest::newRow("map") << "--map" << classic + "--view 225,30,1.2,2 --section-line " + line << true;
  QTest::newRow("perspective") << "--map"
                               << "--contacts cells --view 200,35,1.3,3 --perspective 9000,0 "
                                  "--contours auto --frame 2"
                               << true;
  QTest::newRow("plan") << "--map"
                        << classic + "--view 180,90,1.8,1 --contours auto:16 --no-side --black"
                        << true;
  QTest::newRow("section") << "--section" << classic + "--view 0,0,1.4,4 " + line << true;
  // Fitted to the picture with its axes, ends, exaggeration, legend and a Japanese title.
  QTest::newRow("section-annotated")
      << "--section" << classic + "--view 0,0,,4 --legend --axes --title 褶曲盆地の断面 " + line
      << true;
  // The batch renderer's own defaults: smooth contacts, two frame sides.
  QTest::newRow("plan-smooth-black") << "--map"
                                     << "--view 180,90,1.8,1 --no-side --black" << false;
  QTest::newRow("near-perspective") << "--map"
                                    << "--view 225,25,1,2 --perspective 2500,0" << false;
  QTest::newRow("block-smooth") << "--map"
                                << "--view 200,35,1.3,3 --contours auto" << false;
  QTest::newRow("section-smooth-black") << "--section"
                                        << "--view 0,0,1.4,4 --black " + line << false;
}

void ControlPicturesTest::matchesItsControlPicture() {
  QFETCH(QString, output);
  QFETCH(QString, options);
  QFETCH(bool, exact);
  const QString name = QString::fromUtf8(QTest::currentDataTag());
  const QImage control = QImage(QStringLiteral(KALVENOR_CONTROL_PICTURES_DIR "/") + name + ".png")
                             .convertToFormat(QImage::Format_RGB32);
  QVERIFY(!control.isNull());

  QTemporaryDir folder;
  const QString path = folder.filePath(name + ".png");
  QString errors;
  const QImage picture = renderPicture(
      exampleInputs() << options.split(' ') << "--size" << kSize << output << path, path, errors);
  QVERIFY2(!picture.isNull(), qPrintable(errors));
  QCOMPARE(picture.size(), control.size());

  const PixelDifference difference = pixelDifference(picture, control);
  const qint64 tolerated =
      exact ? 0 : qint64(control.width()) * control.height() * kToleratedPixelsPerMille / 1000;
  if (difference.count > tolerated) folder.setAutoRemove(false);
  QVERIFY2(difference.count <= tolerated,
           qPrintable(QStringLiteral("%1 pixels differ (at most %2 may), the first at (%3, %4); "
                                     "the new picture is %5")
                          .arg(difference.count)
                          .arg(tolerated)
                          .arg(difference.first.x())
                          .arg(difference.first.y())
                          .arg(path)));
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
  QTest::newRow("antialiased, annotated")
      << "--map"
      << "--view 225,30,,2 --antialias --legend --title 褶曲盆地 --section-trace " + line;
  QTest::newRow("section") << "--section"
                           << "--view 0,0,0.6,4 --axes --legend " + line;
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
    const PixelDifference difference = pixelDifference(picture, one);
    QVERIFY2(difference.count == 0,
             qPrintable(QStringLiteral("on %1 threads %2 pixels differ, the first at (%3, %4)")
                            .arg(threads)
                            .arg(difference.count)
                            .arg(difference.first.x())
                            .arg(difference.first.y())));
  }
}

QTEST_GUILESS_MAIN(ControlPicturesTest)
#include "control_pictures_test.moc"
