#include "canvas/image_canvas.h"

#include <QtTest>

using namespace kalvenor;

class ImageCanvasTest : public QObject {
  Q_OBJECT

 private slots:
  void selfIntersectingQuadIsFilledByTheEvenOddRule();
  void invisiblePenDrawsNoOutlineAndTransparentFillNoInside();
  void drawingWithPersistenceOffNeverReachesTheImage();
  void shownIsWhatTheWindowShowsAtTheLogicalSize();
  void clearFillsBothPicturesWithTheBackground();
  void aLineInItsOwnColourLeavesThePenAsItWas();
  void resizeKeepsThePersistentPictureAtTheTopLeft();
  void blankUntilDrawnOnAndAgainAfterAClear();
  void quadsOnOneLineFillNothingButTheirOutlineShows();
};

namespace {

const QColor kRed(255, 0, 0);

bool isRed(const QImage& image, int x, int y) { return image.pixelColor(x, y) == kRed; }

}  // namespace

// A bow tie: the two side triangles are inside, the wedges above and below the crossing are not.
void ImageCanvasTest::selfIntersectingQuadIsFilledByTheEvenOddRule() {
  ImageCanvas canvas(QSize(60, 60));
  canvas.setPenStyle(PenStyle::Invisible);
  canvas.setFillStyle(FillStyle::Solid);
  canvas.setFillColor(packRgb(255, 0, 0));
  canvas.polygon(
      {CanvasPoint{10, 10}, CanvasPoint{50, 50}, CanvasPoint{50, 10}, CanvasPoint{10, 50}});
  const QImage& image = canvas.image();
  QVERIFY(isRed(image, 14, 30));   // left triangle
  QVERIFY(isRed(image, 46, 30));   // right triangle
  QVERIFY(!isRed(image, 30, 14));  // above the crossing
  QVERIFY(!isRed(image, 30, 46));  // below the crossing
  QVERIFY(!isRed(image, 5, 30));   // outside
}

void ImageCanvasTest::invisiblePenDrawsNoOutlineAndTransparentFillNoInside() {
  ImageCanvas canvas(QSize(40, 40));
  const Quad square{CanvasPoint{10, 10}, CanvasPoint{30, 10}, CanvasPoint{30, 30},
                    CanvasPoint{10, 30}};
  canvas.setPenColor(packRgb(255, 0, 0));
  canvas.setFillStyle(FillStyle::Transparent);
  canvas.polygon(square);
  QVERIFY(isRed(canvas.image(), 10, 20));   // outline drawn
  QVERIFY(!isRed(canvas.image(), 20, 20));  // inside left alone

  ImageCanvas hidden(QSize(40, 40));
  hidden.setPenColor(packRgb(255, 0, 0));
  hidden.setPenStyle(PenStyle::Invisible);
  hidden.setFillStyle(FillStyle::Solid);
  hidden.setFillColor(packRgb(0, 0, 255));
  hidden.polygon(square);
  QCOMPARE(hidden.image().pixelColor(20, 20), QColor(0, 0, 255));
  for (int x = 0; x < 40; ++x) {
    for (int y = 0; y < 40; ++y) QVERIFY(!isRed(hidden.image(), x, y));
  }
}

void ImageCanvasTest::drawingWithPersistenceOffNeverReachesTheImage() {
  ImageCanvas canvas(QSize(40, 40));
  canvas.setPenColor(packRgb(255, 0, 0));
  canvas.line(0, 5, 39, 5);
  canvas.setPersistent(false);
  canvas.line(0, 20, 39, 20);
  QVERIFY(isRed(canvas.screen(), 10, 20));  // on the screen
  QVERIFY(!isRed(canvas.image(), 10, 20));  // not in the picture that is copied and saved
  QVERIFY(isRed(canvas.image(), 10, 5));    // what was drawn before stays
  canvas.setPersistent(true);
  QVERIFY(!isRed(canvas.screen(), 10, 20));  // the window shows the persistent picture again
}

// Copy, duplicate and save take the picture the window shows, at the size the user knows.
void ImageCanvasTest::shownIsWhatTheWindowShowsAtTheLogicalSize() {
  for (const qreal ratio : {1.0, 2.0}) {
    ImageCanvas canvas(QSize(40, 40), ratio);
    canvas.setPenColor(packRgb(255, 0, 0));
    canvas.setPenWidth(2);
    canvas.line(0, 5, 39, 5);
    QCOMPARE(canvas.shown(), canvas.image());
    canvas.setPersistent(false);
    canvas.line(0, 20, 39, 20);
    QCOMPARE(canvas.shown().size(), QSize(40, 40));
    QVERIFY(isRed(canvas.shown(), 10, 20));
    QVERIFY(isRed(canvas.shown(), 10, 5));
    QVERIFY(!isRed(canvas.image(), 10, 20));
    canvas.resize(QSize(50, 50), ratio);  // drawing on the screen alone does not survive
    QVERIFY(!isRed(canvas.shown(), 10, 20));
  }
}

void ImageCanvasTest::clearFillsBothPicturesWithTheBackground() {
  ImageCanvas canvas(QSize(20, 20));
  canvas.setPenColor(packRgb(255, 0, 0));
  canvas.line(0, 5, 19, 5);
  canvas.setPersistent(false);
  canvas.line(0, 10, 19, 10);
  canvas.setBackgroundColor(kBlack);
  canvas.clear();
  QCOMPARE(canvas.image().pixelColor(5, 5), QColor(0, 0, 0));
  QCOMPARE(canvas.screen().pixelColor(5, 10), QColor(0, 0, 0));
}

void ImageCanvasTest::aLineInItsOwnColourLeavesThePenAsItWas() {
  ImageCanvas canvas(QSize(20, 20));
  canvas.setPenColor(packRgb(255, 0, 0));
  canvas.line(0, 5, 19, 5, packRgb(0, 255, 0));
  canvas.point(10, 10);
  QCOMPARE(canvas.image().pixelColor(10, 5), QColor(0, 255, 0));
  QVERIFY(isRed(canvas.image(), 10, 10));
}

// The drawing window ignores turns and zooms over a blank canvas.
void ImageCanvasTest::blankUntilDrawnOnAndAgainAfterAClear() {
  ImageCanvas canvas(QSize(20, 20));
  QVERIFY(canvas.blank());
  canvas.resize(QSize(30, 30));
  canvas.setPersistent(false);
  QVERIFY(canvas.blank());
  canvas.point(5, 5);
  QVERIFY(!canvas.blank());
  const ImageCanvas::Snapshot drawn = canvas.snapshot();
  canvas.clear();
  QVERIFY(canvas.blank());
  canvas.restore(drawn);
  QVERIFY(!canvas.blank());
}

void ImageCanvasTest::resizeKeepsThePersistentPictureAtTheTopLeft() {
  ImageCanvas canvas(QSize(20, 20));
  canvas.setPenColor(packRgb(255, 0, 0));
  canvas.point(3, 3);
  canvas.setPersistent(false);
  canvas.point(6, 6);
  canvas.resize(QSize(30, 10));
  QCOMPARE(canvas.width(), 30.0);
  QCOMPARE(canvas.height(), 10.0);
  QVERIFY(isRed(canvas.screen(), 3, 3));
  QVERIFY(!isRed(canvas.screen(), 6, 6));  // screen-only drawing does not survive
  QCOMPARE(canvas.image().pixelColor(25, 5), QColor(255, 255, 255));
}

void ImageCanvasTest::quadsOnOneLineFillNothingButTheirOutlineShows() {
  ImageCanvas canvas(QSize(20, 20));
  canvas.setFillStyle(FillStyle::Solid);
  canvas.setFillColor(packRgb(255, 0, 0));
  canvas.setPenColor(packRgb(255, 0, 0));
  canvas.setPenStyle(PenStyle::Invisible);
  canvas.polygon({CanvasPoint{2, 2}, CanvasPoint{2, 2}, CanvasPoint{2, 2}, CanvasPoint{2, 2}});
  canvas.polygon({CanvasPoint{1, 5}, CanvasPoint{9, 5}, CanvasPoint{9, 5}, CanvasPoint{1, 5}});
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 20; ++y) QVERIFY(!isRed(canvas.image(), x, y));
  }
  canvas.setPenStyle(PenStyle::Solid);  // the grid-line mode outlines even a flat cell
  canvas.polygon({CanvasPoint{1, 5}, CanvasPoint{9, 5}, CanvasPoint{9, 5}, CanvasPoint{1, 5}});
  QVERIFY(isRed(canvas.image(), 5, 5));
}

QTEST_MAIN(ImageCanvasTest)
#include "image_canvas_test.moc"
