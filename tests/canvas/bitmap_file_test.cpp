#include "canvas/bitmap_file.h"

#include <QtTest>

using namespace kalvenor;

class BitmapFileTest : public QObject {
  Q_OBJECT

 private slots:
  void pngsKeepEveryPixelWithOrWithoutAPalette_data();
  void pngsKeepEveryPixelWithOrWithoutAPalette();
};

namespace {

// A picture of `colours` colours in stripes, the last colour once more at the far corner.
QImage stripes(int colours) {
  QImage picture(300, 200, QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const int c = (x + 7 * y) % colours;
      picture.setPixel(x, y, qRgb(c % 256, c / 256 * 40, 255 - c % 200));
    }
  }
  return picture;
}

}  // namespace

void BitmapFileTest::pngsKeepEveryPixelWithOrWithoutAPalette_data() {
  QTest::addColumn<int>("colours");
  QTest::addColumn<bool>("palette");
  QTest::newRow("one colour") << 1 << true;
  QTest::newRow("a map's few") << 9 << true;
  QTest::newRow("a full palette") << 256 << true;
  QTest::newRow("one too many") << 257 << false;
  QTest::newRow("antialiased lines' many") << 300 << false;
}

void BitmapFileTest::pngsKeepEveryPixelWithOrWithoutAPalette() {
  QFETCH(int, colours);
  QFETCH(bool, palette);
  const QImage picture = stripes(colours);
  const QImage back = QImage::fromData(encodePicture(picture, "png", "picture.png"), "png");
  QCOMPARE(back.format() == QImage::Format_Indexed8, palette);
  QCOMPARE(back.convertToFormat(QImage::Format_RGB32), picture);
  // A Windows bitmap keeps its full colour whatever the picture holds.
  const QImage bitmap = QImage::fromData(encodePicture(picture, "bmp", "picture.bmp"), "bmp");
  QVERIFY(bitmap.format() != QImage::Format_Indexed8);
  QCOMPARE(bitmap.convertToFormat(QImage::Format_RGB32), picture);
}

QTEST_MAIN(BitmapFileTest)
#include "bitmap_file_test.moc"
