#include "picture_check.h"

#include <QTemporaryDir>
#include <QtTest>

#include "text_font.h"

using namespace kalvenor;

// The comparison the picture tests share: what its tolerances let through, what it writes and
// says when pictures differ, and the check of the face text is drawn in.
class PictureCheckTest : public QObject {
  Q_OBJECT

 private slots:
  void theToleranceDecides_data();
  void theToleranceDecides();
  void aMismatchWritesAndNamesThreePictures();
  void aMatchRemovesAnEarlierReport();
  void picturesOfAnotherShapeDoNotMatch_data();
  void picturesOfAnotherShapeDoNotMatch();
  void theReportIsNamedForTheRunningTest_data();
  void theReportIsNamedForTheRunningTest();
  void aMissingFontIsNamed_data();
  void aMissingFontIsNamed();
};

Q_DECLARE_METATYPE(kalvenor::PictureTolerance)

namespace {

const QRgb kGrey = qRgb(128, 128, 128);

// 100 x 100 pixels, ten thousand, so that one per mille is ten pixels.
QImage greyPicture() {
  QImage picture(100, 100, QImage::Format_RGB32);
  picture.fill(kGrey);
  return picture;
}

// The first `pixels` pixels of row 50 made redder by `by`.
QImage withRedderPixels(int pixels, int by) {
  QImage picture = greyPicture();
  for (int x = 0; x < pixels; ++x) picture.setPixel(x, 50, qRgb(128 + by, 128, 128));
  return picture;
}

qint64 redPixels(const QImage& picture) {
  qint64 count = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) count += picture.pixel(x, y) == qRgb(255, 0, 0);
  }
  return count;
}

}  // namespace

void PictureCheckTest::theToleranceDecides_data() {
  QTest::addColumn<int>("pixels");
  QTest::addColumn<int>("by");
  QTest::addColumn<PictureTolerance>("tolerance");
  QTest::addColumn<bool>("matches");
  QTest::newRow("the same, exact") << 0 << 0 << kExactPixels << true;
  QTest::newRow("one pixel a shade off, exact") << 1 << 1 << kExactPixels << false;
  QTest::newRow("ten pixels of another colour, traced lines") << 10 << 100 << kTracedLines << true;
  QTest::newRow("eleven pixels of another colour, traced lines")
      << 11 << 100 << kTracedLines << false;
  QTest::newRow("a line a shade off, traced lines") << 100 << 1 << kTracedLines << false;
  QTest::newRow("a line off by 24, smoothed edges") << 100 << 24 << kSmoothedEdges << true;
  QTest::newRow("a line off by 25, smoothed edges") << 100 << 25 << kSmoothedEdges << false;
  QTest::newRow("ten pixels of another colour, smoothed edges")
      << 10 << 100 << kSmoothedEdges << true;
}

void PictureCheckTest::theToleranceDecides() {
  QFETCH(int, pixels);
  QFETCH(int, by);
  QFETCH(PictureTolerance, tolerance);
  QFETCH(bool, matches);
  QTemporaryDir folder;
  const QString mismatch =
      pictureMismatch(withRedderPixels(pixels, by), greyPicture(), tolerance, {folder.path(), "t"});
  QVERIFY2(mismatch.isEmpty() == matches, qPrintable(mismatch));
}

// The expected and the actual picture as they were given, and a difference picture red where
// they differ beyond the tolerance and nowhere else; the failure counts them and names the files.
void PictureCheckTest::aMismatchWritesAndNamesThreePictures() {
  QTemporaryDir folder;
  const QString reportFolder = folder.filePath("report");
  QImage actual = greyPicture();
  actual.setPixel(7, 3, qRgb(0, 0, 0));
  actual.setPixel(90, 60, qRgb(128, 129, 128));  // within the tolerance
  actual.setPixel(2, 80, qRgb(255, 255, 255));
  const QString mismatch =
      pictureMismatch(actual, greyPicture(), {.colour = 1}, {reportFolder, "grey"});

  QVERIFY2(mismatch.startsWith("2 of 10000 pixels differ by more than 1 in a colour (at most 0 "
                               "may), by up to 128, the first at (7, 3)."),
           qPrintable(mismatch));
  const QString stem = reportFolder + "/grey-";
  for (const char* kind : {"expected", "actual", "difference"}) {
    QVERIFY2(mismatch.contains(stem + kind + ".png"), qPrintable(mismatch));
  }
  QCOMPARE(QImage(stem + "expected.png").convertToFormat(QImage::Format_RGB32), greyPicture());
  QCOMPARE(QImage(stem + "actual.png").convertToFormat(QImage::Format_RGB32), actual);
  const QImage difference(stem + "difference.png");
  QCOMPARE(redPixels(difference), qint64(2));
  QCOMPARE(difference.pixel(7, 3), qRgb(255, 0, 0));
  QCOMPARE(difference.pixel(2, 80), qRgb(255, 0, 0));
}

// Pictures a failure left behind would otherwise be taken for the reason of a later run.
void PictureCheckTest::aMatchRemovesAnEarlierReport() {
  QTemporaryDir folder;
  const PictureReport report{folder.path(), "again"};
  QVERIFY(!pictureMismatch(withRedderPixels(1, 50), greyPicture(), kExactPixels, report).isEmpty());
  QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 3);
  QVERIFY(pictureMismatch(greyPicture(), greyPicture(), kExactPixels, report).isEmpty());
  QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

void PictureCheckTest::picturesOfAnotherShapeDoNotMatch_data() {
  QTest::addColumn<QImage>("actual");
  QTest::addColumn<QString>("problem");
  QTest::newRow("a row short") << greyPicture().copy(0, 0, 100, 99)
                               << "The picture is 100 x 99 pixels, the expected one 100 x 100";
  QImage sharp = greyPicture();
  sharp.setDevicePixelRatio(2);
  QTest::newRow("twice as sharp") << sharp
                                  << "The picture has 2 pixels to a point, the expected one 1";
}

// The failure says how they differ and names both pictures, which are written; with nothing to
// compare pixel by pixel there is no difference picture.
void PictureCheckTest::picturesOfAnotherShapeDoNotMatch() {
  QFETCH(QImage, actual);
  QFETCH(QString, problem);
  QTemporaryDir folder;
  const QString mismatch =
      pictureMismatch(actual, greyPicture(), kSmoothedEdges, {folder.path(), "shape"});
  QCOMPARE(mismatch, QStringLiteral("%1; they are %2 and %3")
                         .arg(problem, folder.filePath("shape-actual.png"),
                              folder.filePath("shape-expected.png")));
  QVERIFY(QFileInfo::exists(folder.filePath("shape-actual.png")));
  QVERIFY(QFileInfo::exists(folder.filePath("shape-expected.png")));
}

void PictureCheckTest::theReportIsNamedForTheRunningTest_data() {
  QTest::addColumn<QString>("what");
  QTest::addColumn<QString>("name");
  QTest::newRow("cells, lines after each cell")
      << "3 threads"
      << "theReportIsNamedForTheRunningTest_cells-lines-after-each-cell-3-threads";
  QTest::newRow("plan") << ""
                        << "theReportIsNamedForTheRunningTest_plan";
}

void PictureCheckTest::theReportIsNamedForTheRunningTest() {
  QFETCH(QString, what);
  QFETCH(QString, name);
  const PictureReport report = pictureReport(what);
  QCOMPARE(report.name, name);
  QVERIFY2(report.folder.endsWith("/failed-pictures/picture_check_test"),
           qPrintable(report.folder));
}

void PictureCheckTest::aMissingFontIsNamed_data() {
  QTest::addColumn<QString>("family");
  QTest::addColumn<bool>("found");
  QTest::newRow("the face of the pictures") << kTextFont << true;
  QTest::newRow("a face nowhere installed") << "Kalvenor No Such Face" << false;
}

void PictureCheckTest::aMissingFontIsNamed() {
  QFETCH(QString, family);
  QFETCH(bool, found);
  const QString missing = textFontMissing(family);
  QVERIFY2(missing.isEmpty() == found, qPrintable(missing));
  if (!found) {
    QVERIFY2(
        missing.startsWith("The text of this picture is drawn in " + family + ", but Qt found"),
        qPrintable(missing));
  }
}

QTEST_MAIN(PictureCheckTest)
#include "picture_check_test.moc"
