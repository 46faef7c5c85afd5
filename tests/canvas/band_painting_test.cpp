#include "canvas/band_painting.h"

#include <QtTest>
#include <random>

#include "canvas/image_canvas.h"

using namespace kalvenor;

// Painting in bands must give the pixels one painter gives, whatever crosses the bands' edges.
class BandPaintingTest : public QObject {
  Q_OBJECT

 private slots:
  void bandsPaintWhatOnePainterPaints_data();
  void bandsPaintWhatOnePainterPaints();
  void roundsOfAnySizeKeepThePenAndFillAcross();
  void aDrawingThatThrowsComesOutAndTheCanvasGoesOn();
};

namespace {

// Fills, outlined cells, lines of both widths, dotted lines, points and labels, many of them
// across the picture's edges and long enough to cross several bands.
void scribble(Canvas& canvas, unsigned seed) {
  std::mt19937 random(seed);
  const auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const auto colour = [&] { return packRgb(between(0, 255), between(0, 255), between(0, 255)); };
  for (int n = 0; n < 3000; ++n) {
    const int x = between(-60, 360), y = between(-60, 260);
    const int size = between(0, 9) == 0 ? 200 : 12;
    const CanvasPoint a{x, y}, b{x + between(-size, size), y + between(-size, size)};
    const CanvasPoint c{x + between(-size, size), y + between(-size, size)};
    switch (between(0, 5)) {
      case 0:
      case 1:
        canvas.setFillStyle(FillStyle::Solid);
        canvas.setPenStyle(between(0, 3) == 0 ? PenStyle::Solid : PenStyle::Invisible);
        canvas.setPenColor(colour());
        canvas.setFillColor(colour());
        canvas.polygon({a, b, c, CanvasPoint{a.x, c.y}});
        break;
      case 2:
        setSolidPen(canvas, colour(), between(1, 2));
        canvas.line(float(a.x) + 0.5f, float(a.y), float(b.x), float(b.y) + 0.25f);
        break;
      case 3:
        canvas.setPenStyle(PenStyle::Dot);
        canvas.setPenWidth(1);
        canvas.line(float(a.x), float(a.y), float(c.x), float(c.y), colour());
        break;
      case 4:
        setSolidPen(canvas, colour(), between(1, 2));
        if (between(0, 1) == 0) {
          canvas.point(float(a.x) + 0.5f, float(a.y) + 0.5f);
        } else {
          canvas.point(float(a.x), float(a.y));
        }
        break;
      case 5:
        if (between(0, 30) == 0) {
          canvas.setPenColor(colour());
          canvas.text(float(a.x), float(a.y), "凡例 Legend", between(8, 30), TextAlign::Center);
        }
        break;
    }
  }
}

// Long runs of fills, lines and points in one pen and fill, with a label now and then, so most
// operations rely on a style set many operations, rounds or labels before.
void longRunsInOneStyle(Canvas& canvas) {
  std::mt19937 random(5);
  const auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int n = 0; n < 1500; ++n) {
    if (n % 200 == 0) {
      canvas.setFillStyle(FillStyle::Solid);
      canvas.setPenStyle(n % 400 == 0 ? PenStyle::Solid : PenStyle::Invisible);
      canvas.setPenWidth(n % 600 == 0 ? 2 : 1);
      canvas.setPenColor(packRgb(n % 256, 90, 30));
      canvas.setFillColor(packRgb(20, n % 256, 200));
    }
    const int x = between(-20, 320), y = between(-20, 220), size = between(2, 60);
    if (n % 97 == 0) canvas.text(float(x), float(y), "Label", 14, TextAlign::Left);
    if (n % 3 == 0) {
      canvas.polygon({CanvasPoint{x, y}, CanvasPoint{x + size, y}, CanvasPoint{x + size, y + size},
                      CanvasPoint{x, y + 2 * size}});
    } else if (n % 3 == 1) {
      canvas.line(float(x), float(y), float(x + size), float(y + size * 2));
    } else {
      canvas.point(float(x), float(y));
    }
  }
}

}  // namespace

void BandPaintingTest::bandsPaintWhatOnePainterPaints_data() {
  QTest::addColumn<bool>("antialiased");
  QTest::addColumn<unsigned>("seed");
  for (const unsigned seed : {1u, 2u, 3u}) {
    QTest::addRow("sharp %u", seed) << false << seed;
    QTest::addRow("antialiased %u", seed) << true << seed;
  }
}

void BandPaintingTest::bandsPaintWhatOnePainterPaints() {
  QFETCH(bool, antialiased);
  QFETCH(unsigned, seed);
  ImageCanvas one(QSize(300, 200));
  one.setAntialiasedLines(antialiased);
  scribble(one, seed);
  // One or two threads (painted as drawn) and more (one draws, the others paint bands of rows).
  for (const int threads : {1, 2, 3, 7, 200}) {
    ImageCanvas banded(QSize(300, 200));
    banded.setAntialiasedLines(antialiased);
    banded.drawInBands([&](Canvas& canvas) { scribble(canvas, seed); }, threads);
    QVERIFY2(banded.image() == one.image(),
             qPrintable(QStringLiteral("on %1 threads").arg(threads)));
    QCOMPARE(banded.style().fillColor, one.style().fillColor);
  }
}

// A round handed over after every few operations starts with the pen and fill the drawing has
// then, however long ago they were set: the pictures are those of one painter.
void BandPaintingTest::roundsOfAnySizeKeepThePenAndFillAcross() {
  ImageCanvas one(QSize(300, 200));
  scribble(one, 4);
  longRunsInOneStyle(one);
  for (const std::size_t opsPerRound : {1u, 2u, 7u, 100u}) {
    for (const int threads : {1, 2, 4}) {
      QImage picture(300, 200, QImage::Format_RGB32);
      picture.fill(Qt::white);
      BandPainting painting(picture, {kBlack, 1, PenStyle::Solid, kBlack, FillStyle::Transparent},
                            kWhite, false, threads, opsPerRound);
      scribble(painting, 4);
      longRunsInOneStyle(painting);
      painting.finish();
      QVERIFY2(
          picture == one.image(),
          qPrintable(
              QStringLiteral("%1 operations a round, %2 threads").arg(opsPerRound).arg(threads)));
    }
  }
}

// A throw before anything was handed over leaves the picture; one after rounds were handed to the
// painting thread waits for it, so nothing paints on after drawInBands has returned.
void BandPaintingTest::aDrawingThatThrowsComesOutAndTheCanvasGoesOn() {
  ImageCanvas canvas(QSize(40, 40));
  const QImage before = canvas.image();
  const auto square = [](Canvas& c, PackedColor colour) {
    c.setFillStyle(FillStyle::Solid);
    c.setPenStyle(PenStyle::Invisible);
    c.setFillColor(colour);
    c.polygon({CanvasPoint{0, 0}, CanvasPoint{40, 0}, CanvasPoint{40, 40}, CanvasPoint{0, 40}});
  };
  QVERIFY_THROWS_EXCEPTION(std::bad_alloc, canvas.drawInBands(
                                               [&](Canvas& c) {
                                                 square(c, kBlack);
                                                 throw std::bad_alloc();
                                               },
                                               3));
  QCOMPARE(canvas.image(), before);
  QVERIFY(canvas.blank());

  QVERIFY_THROWS_EXCEPTION(std::bad_alloc, canvas.drawInBands(
                                               [&](Canvas& c) {
                                                 for (int n = 0; n < 200000; ++n) {
                                                   square(c, packRgb(n % 256, 0, 0));
                                                 }
                                                 throw std::bad_alloc();
                                               },
                                               3));
  const QImage partly = canvas.image().copy();
  QTest::qWait(50);
  QCOMPARE(canvas.image(), partly);

  canvas.drawInBands([&](Canvas& c) { square(c, packRgb(0, 0, 255)); }, 3);
  QCOMPARE(canvas.image().pixelColor(20, 20), QColor(0, 0, 255));
  QVERIFY(!canvas.blank());
}

QTEST_MAIN(BandPaintingTest)
#include "band_painting_test.moc"
