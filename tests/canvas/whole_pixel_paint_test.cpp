#include "canvas/whole_pixel_paint.h"

#include <QtTest>
#include <limits>
#include <random>
#include <vector>

#include "canvas/packed_qcolor.h"

using namespace kalvenor;

// The direct fill must give the pixels the painter gives for every polygon it takes: the cells of
// every picture are filled through it, and the pictures must not change.
class WholePixelPaintTest : public QObject {
  Q_OBJECT

 private slots:
  void givesThePaintersPixels_data();
  void givesThePaintersPixels();
  void givesThePaintersPixelsOnARowBand();
  void leavesToThePainterWhatItCannotMatch();
  void dotsLikeThePainter();
};

namespace {

constexpr int kSize = 96;
const PackedColor kFill = packRgb(200, 40, 90);

struct Random {
  std::mt19937 engine;
  int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine); }
};

using Corners = std::vector<CanvasPoint>;

// Cells of a few pixels as the pictures have them, or polygons of up to 16 corners anywhere,
// crossing themselves, above and below the image, with long shallow and steep edges.
Corners randomPolygon(Random& random, bool small) {
  Corners corners(small ? random.between(3, 6) : random.between(3, 16));
  if (small) {
    const int x = random.between(4, kSize - 5), y = random.between(-2, kSize + 1);
    for (CanvasPoint& c : corners) c = {x + random.between(-4, 4), y + random.between(-3, 3)};
  } else {
    for (CanvasPoint& c : corners) {
      c = {random.between(0, kSize - 1), random.between(-kSize / 2, kSize + kSize / 2)};
    }
  }
  return corners;
}

QImage blank(int height) {
  QImage image(kSize, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// The polygon as the painter fills it, and through the direct fill, on images of `rows` rows
// showing the picture from row `top` down.
std::pair<QImage, QImage> bothWays(const Corners& corners, int top, int rows) {
  QImage painted = blank(rows), direct = blank(rows);
  {
    QPainter p(&painted);
    p.translate(0, -top);
    p.setPen(Qt::NoPen);
    p.setBrush(toQColor(kFill));
    std::vector<QPoint> points;
    for (const CanvasPoint& c : corners) points.emplace_back(c.x, c.y);
    p.drawPolygon(points.data(), static_cast<int>(points.size()), Qt::OddEvenFill);
  }
  QPainter p(&direct);
  p.translate(0, -top);
  const auto target = pixelTargetOf(p);
  if (!target || !fillWholePixels(*target, corners, kFill))
    qFatal("the direct fill refused a polygon it can take");
  return {painted, direct};
}

QString describe(const Corners& corners) {
  QStringList text;
  for (const CanvasPoint& c : corners) text << QStringLiteral("(%1,%2)").arg(c.x).arg(c.y);
  return text.join(' ');
}

}  // namespace

void WholePixelPaintTest::givesThePaintersPixels_data() {
  QTest::addColumn<bool>("small");
  QTest::addColumn<int>("count");
  QTest::newRow("cells of a few pixels") << true << 40000;
  QTest::newRow("polygons of up to 16 corners") << false << 4000;
}

void WholePixelPaintTest::givesThePaintersPixels() {
  QFETCH(bool, small);
  QFETCH(int, count);
  Random random{std::mt19937(small ? 11u : 12u)};
  for (int i = 0; i < count; ++i) {
    const Corners corners = randomPolygon(random, small);
    const auto [painted, direct] = bothWays(corners, 0, kSize);
    if (painted != direct) QFAIL(qPrintable(describe(corners)));
  }
}

// A band of the picture's rows, painted through a shifted painter, takes the rows the whole
// picture has there.
void WholePixelPaintTest::givesThePaintersPixelsOnARowBand() {
  Random random{std::mt19937(13u)};
  for (int i = 0; i < 4000; ++i) {
    const Corners corners = randomPolygon(random, i % 2 == 0);
    const int top = random.between(0, kSize - 20), rows = random.between(1, 20);
    const auto [painted, direct] = bothWays(corners, top, rows);
    if (painted != direct) QFAIL(qPrintable(describe(corners)));
    const QImage whole = bothWays(corners, 0, kSize).first.copy(0, top, kSize, rows);
    QCOMPARE(direct, whole);
  }
}

void WholePixelPaintTest::leavesToThePainterWhatItCannotMatch() {
  QImage image = blank(kSize);
  const Corners inside{{10, 10}, {20, 10}, {20, 20}};
  {
    QPainter p(&image);
    const PixelTarget target = *pixelTargetOf(p);
    QVERIFY(!fillWholePixels(target, Corners{{-1, 10}, {20, 10}, {20, 20}}, kFill));
    QVERIFY(!fillWholePixels(target, Corners{{10, 10}, {kSize, 10}, {20, 20}}, kFill));
    QVERIFY(!fillWholePixels(target, Corners(17, CanvasPoint{10, 10}), kFill));
    QVERIFY(!fillWholePixels(target, Corners{{10, -20000}, {20, 10}, {20, 20}}, kFill));
    QVERIFY(!fillWholePixels(
        target, Corners{{10, std::numeric_limits<int>::max()}, {20, 10}, {20, 20}}, kFill));
    p.scale(2, 2);
    QVERIFY(!pixelTargetOf(p));
    p.resetTransform();
    p.translate(0.5, 0);
    QVERIFY(!pixelTargetOf(p));
    p.resetTransform();
    p.setClipRect(0, 0, 15, 15);
    QVERIFY(!pixelTargetOf(p));
  }
  QCOMPARE(image, blank(kSize));
  QImage grey(kSize, kSize, QImage::Format_Grayscale8);
  QPainter p(&grey);
  QVERIFY(!pixelTargetOf(p));
}

// Points at whole pixels, one and two pixels wide, anywhere from outside the image to inside,
// on the whole image and on bands of its rows: where the dot is taken, its pixels are the
// painter's; where it is refused, nothing is drawn.
void WholePixelPaintTest::dotsLikeThePainter() {
  Random random{std::mt19937(14u)};
  int taken = 0;
  for (int i = 0; i < 20000; ++i) {
    const int width = random.between(1, 2), top = random.between(0, kSize - 8);
    const int rows = i % 3 == 0 ? kSize - top : random.between(1, 8);
    const float x = static_cast<float>(random.between(-2, kSize + 1));
    const float y = static_cast<float>(random.between(top - 2, top + rows + 1));
    QImage painted = blank(rows), direct = blank(rows);
    {
      QPainter p(&painted);
      p.translate(0, -top);
      p.setPen(QPen(toQColor(kFill), width));
      p.drawPoint(QPointF(x, y));
    }
    QPainter p(&direct);
    p.translate(0, -top);
    if (dotWholePixel(*pixelTargetOf(p), x, y, width, kFill)) {
      ++taken;
      p.end();
      QCOMPARE(direct, painted);
    } else {
      p.end();
      QCOMPARE(direct, blank(rows));
    }
  }
  QVERIFY(taken > 10000);
  QImage image = blank(kSize);
  QPainter p(&image);
  const PixelTarget target = *pixelTargetOf(p);
  QVERIFY(!dotWholePixel(target, 10.5f, 10, 1, kFill));
  QVERIFY(!dotWholePixel(target, 10, 10, 3, kFill));
  QVERIFY(!dotWholePixel(target, std::numeric_limits<float>::quiet_NaN(), 10, 1, kFill));
  QVERIFY(!dotWholePixel(target, 1e30f, 10, 1, kFill));
}

QTEST_GUILESS_MAIN(WholePixelPaintTest)
#include "whole_pixel_paint_test.moc"
