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
};

namespace {

// At most one pixel in a thousand may differ.
constexpr qint64 kToleratedPixelsPerMille = 1;

const QString kSize = QStringLiteral("400x300");

}  // namespace

void ControlPicturesTest::matchesItsControlPicture_data() {
  QTest::addColumn<QString>("output");
  QTest::addColumn<QString>("options");
  const QString line = QStringLiteral("--start %1 --end %2").arg(kSectionStart, kSectionEnd);
  QTest::newRow("map") << "--map"
                       << "--view 225,30,1.2,2 --section-line " + line;
  QTest::newRow("perspective") << "--map"
                               << "--view 200,35,1.3,3 --perspective 9000,0 --contours auto "
                                  "--frame 2";
  QTest::newRow("plan") << "--map"
                        << "--view 180,90,1.8,1 --contours auto:16 --no-side --black";
  QTest::newRow("section") << "--section"
                           << "--view 0,0,1.4,4 " + line;
  // Fitted to the picture with its axes, ends, exaggeration, legend and a Japanese title.
  QTest::newRow("section-annotated")
      << "--section"
      << "--view 0,0,,4 --legend --axes --title 褶曲盆地の断面 " + line;
}

void ControlPicturesTest::matchesItsControlPicture() {
  QFETCH(QString, output);
  QFETCH(QString, options);
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
      qint64(control.width()) * control.height() * kToleratedPixelsPerMille / 1000;
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

QTEST_GUILESS_MAIN(ControlPicturesTest)
#include "control_pictures_test.moc"
