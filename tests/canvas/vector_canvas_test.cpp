#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

#include "canvas/vector_pictures.h"

using namespace kalvenor;

// The SVG canvas merges fills into one path per colour and holds lines back, yet the picture is
// the one drawing in order gives.
class VectorCanvasTest : public QObject {
  Q_OBJECT

 private slots:
  void cellsOfOneColourBecomeOnePathAcrossOtherColoursAndLines();
  void aFillOverAnotherColourOrALineStaysOnTop();
  void aBowTieJoinsItsRegionWithoutAHole();
};

namespace {

const PackedColor kRed = packRgb(255, 0, 0);
const PackedColor kBlue = packRgb(0, 0, 255);

void fill(Canvas& canvas, PackedColor color, int x0, int y0, int x1, int y1) {
  canvas.setPenStyle(PenStyle::Invisible);
  canvas.setFillStyle(FillStyle::Solid);
  canvas.setFillColor(color);
  canvas.polygon({CanvasPoint{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

void blackLine(Canvas& canvas, float x1, float y1, float x2, float y2) {
  setSolidPen(canvas, kBlack, 2);
  canvas.line(x1, y1, x2, y2);
}

QByteArray svgOf(const std::function<void(Canvas&)>& draw) {
  return vectorPicture(VectorFormat::Svg, QSize(60, 40), kWhite, false, draw);
}

int elements(const QByteArray& svg, const char* name) {
  return static_cast<int>(svg.count(QByteArray("<") + name + " "));
}

QImage rendered(const QByteArray& svg) {
  QImage image(60, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  QSvgRenderer renderer(svg);
  QPainter painter(&image);
  renderer.render(&painter);
  return image;
}

}  // namespace

// Red, blue, a line, red again: neighbours that do not overlap, so two paths and the line.
void VectorCanvasTest::cellsOfOneColourBecomeOnePathAcrossOtherColoursAndLines() {
  const QByteArray svg = svgOf([](Canvas& c) {
    fill(c, kRed, 0, 0, 10, 10);
    fill(c, kBlue, 10, 0, 20, 10);
    blackLine(c, 0, 30, 50, 30);
    fill(c, kRed, 20, 0, 30, 10);
    fill(c, kRed, 0, 10, 30, 20);
  });
  QCOMPARE(elements(svg, "path"), 2);
  QCOMPARE(elements(svg, "polyline"), 1);
  const QImage image = rendered(svg);
  QCOMPARE(image.pixelColor(25, 5), QColor(Qt::red));
  QCOMPARE(image.pixelColor(15, 5), QColor(Qt::blue));
  QCOMPARE(image.pixelColor(25, 30), QColor(Qt::black));
}

void VectorCanvasTest::aFillOverAnotherColourOrALineStaysOnTop() {
  const QImage image = rendered(svgOf([](Canvas& c) {
    fill(c, kRed, 0, 0, 20, 20);
    blackLine(c, 0, 30, 60, 30);
    fill(c, kBlue, 10, 10, 30, 20);  // over the red
    fill(c, kRed, 40, 25, 50, 35);   // over the line
    blackLine(c, 45, 25, 45, 35);    // over the red again
  }));
  QCOMPARE(image.pixelColor(15, 15), QColor(Qt::blue));
  QCOMPARE(image.pixelColor(5, 5), QColor(Qt::red));
  QCOMPARE(image.pixelColor(42, 30), QColor(Qt::red));
  QCOMPARE(image.pixelColor(20, 30), QColor(Qt::black));
  QCOMPARE(image.pixelColor(45, 28), QColor(Qt::black));
}

// Its lobes turn opposite ways: joined as they come, one would cancel the square it lies on.
void VectorCanvasTest::aBowTieJoinsItsRegionWithoutAHole() {
  const QByteArray svg = svgOf([](Canvas& c) {
    fill(c, kRed, 0, 0, 40, 40);
    c.polygon({CanvasPoint{0, 0}, {40, 40}, {40, 0}, {0, 40}});
  });
  QCOMPARE(elements(svg, "path"), 1);
  const QImage image = rendered(svg);
  QCOMPARE(image.pixelColor(5, 20), QColor(Qt::red));
  QCOMPARE(image.pixelColor(35, 20), QColor(Qt::red));
  QCOMPARE(image.pixelColor(20, 5), QColor(Qt::red));
}

QTEST_MAIN(VectorCanvasTest)
#include "vector_canvas_test.moc"
