#include <QWheelEvent>
#include <QtTest>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "imagewin/form_image.h"
#include "picture_check.h"
#include "window_fixture.h"

using namespace kalvenor;

namespace {

// A picture moved by a pan is the one before, shifted, but for the strip that comes into view.
constexpr PictureTolerance kShifted{.colour = 0, .pixelsPerMille = 20};

}  // namespace

// Turning, tilting and zooming the picture in the drawing window with the mouse, the wheel and
// the keys: the view boxes follow, and the drawing command afterwards draws the same picture.
class ViewGesturesTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void aDragTurnsAndTiltsTheMap();
  void theWheelAndShiftDragZoomAndExaggerate();
  void keysTurnTiltAndZoomInSteps();
  void dragStepsAreDrawnOncePerTurnOfTheEventLoop();
  void theDepressionStopsAtStraightDown();
  void onASectionADragPansAndTheWheelZooms();
  void aDragShowsAPreviewAndTheWholePictureOnRelease();
  void whatWasDrawnOverTheMapIsDrawnAgainAfterATurn();
  void aNewSizeOfTheDrawingAreaRedrawsThePictureToFit();
  void aChangeWhileThePictureIsDrawnOnAWorkerGetsIntoIt();
  void withoutAPictureNothingTurnsAndTheStatusLineSaysWhy();
  void aMapTurnsFromItsOwnViewAfterASectionIsBuilt();

 private:
  void drawDefaultMap();
  void drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton,
            Qt::KeyboardModifiers modifiers = {});
  void buildSection();
  void drawSection();
  void wheel(int notches, QPointF at = {150, 150});
  void waitForTheWheelToRest();
  void expectSamePictureFromTheCommand(QPushButton* command);
  QWidget* picture() { return window_->formImage().findChild<QWidget*>("picImage"); }
  // The picture once drawn whole: after a gesture it is drawn on a worker thread.
  const QImage& image() {
    waitForTheWholePicture();
    return window_->formImage().canvas().image();
  }
  void waitForTheWholePicture() {
    QTRY_VERIFY_WITH_TIMEOUT(!window_->drawingWholeOnWorker(), 20000);
  }
  Ui::formMain& ui() { return window_->ui(); }

  std::unique_ptr<WindowFixture> fixture_;
  FormMain* window_ = nullptr;
};

void ViewGesturesTest::init() {
  fixture_ = std::make_unique<WindowFixture>();
  window_ = &fixture_->window;
  window_->formImage().show();
  window_->formImage().resize(300, 300);
  QTRY_COMPARE(window_->formImage().canvas().width(), 300.0);
}

void ViewGesturesTest::cleanup() { fixture_.reset(); }

// Azimuth 225, depression 30, magnification 1.2, exaggeration 2.
void ViewGesturesTest::drawDefaultMap() {
  fixture_->buildSmallBlock();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QVERIFY(fixture_->dialogs.messages.isEmpty());
}

// Corner to corner across the block; the build switches to the section view.
void ViewGesturesTest::buildSection() {
  ui().optSection2->setChecked(true);
  ui().txtXstart->setText("0");
  ui().txtYstart->setText("0");
  ui().txtXend->setText("100");
  ui().txtYend->setText("100");
  QTest::mouseClick(ui().cmdSectionModel, Qt::LeftButton);
}

void ViewGesturesTest::drawSection() {
  fixture_->buildSmallBlock();
  buildSection();
  QTest::mouseClick(ui().cmdGeoSection, Qt::LeftButton);
  QVERIFY(fixture_->dialogs.messages.isEmpty());
}

void ViewGesturesTest::drag(QPoint from, QPoint to, Qt::MouseButton button,
                            Qt::KeyboardModifiers modifiers) {
  QTest::mousePress(picture(), button, modifiers, from);
  QTest::mouseMove(picture(), (from + to) / 2);
  QTest::mouseMove(picture(), to);
  QTest::mouseRelease(picture(), button, modifiers, to);
}

void ViewGesturesTest::wheel(int notches, QPointF at) {
  QWheelEvent event(at, picture()->mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(picture(), &event);
}

// The picture is drawn whole once the wheel has rested.
void ViewGesturesTest::waitForTheWheelToRest() {
  QSignalSpy rested(&window_->formImage(), &FormImage::viewSettled);
  QVERIFY(rested.wait());
}

void ViewGesturesTest::expectSamePictureFromTheCommand(QPushButton* command) {
  const QImage turned = image().copy();
  QTest::mouseClick(command, Qt::LeftButton);
  KALVENOR_COMPARE_PICTURES(image(), turned, kExactPixels, "turned");
  QVERIFY(fixture_->dialogs.messages.isEmpty());
}

void ViewGesturesTest::aDragTurnsAndTiltsTheMap() {
  drawDefaultMap();
  const QImage before = image().copy();
  drag({100, 100}, {140, 120});  // half a degree a pixel
  QCOMPARE(ui().txtAlpha->text(), QString("245"));
  QCOMPARE(ui().txtGamma->text(), QString("40"));
  QCOMPARE(window_->state().view.Alpha, 245.0);
  QVERIFY(image() != before);
  QCOMPARE(ui().lblAlpha->text(), QString("245"));  // the settings of the map drawn
  expectSamePictureFromTheCommand(ui().cmdGeoMap);

  drag({100, 100}, {0, 100});  // the azimuth wraps past north
  QCOMPARE(ui().txtAlpha->text(), QString("195"));
  drag({0, 100}, {300, 100});
  QCOMPARE(ui().txtAlpha->text(), QString("345"));
  drag({0, 100}, {100, 100});
  QCOMPARE(ui().txtAlpha->text(), QString("35"));
  expectSamePictureFromTheCommand(ui().cmdGeoMap);
}

void ViewGesturesTest::theWheelAndShiftDragZoomAndExaggerate() {
  drawDefaultMap();
  const QImage before = image().copy();
  wheel(1);
  QCOMPARE(ui().txtSca->text(), QString("1.32"));
  waitForTheWheelToRest();
  QVERIFY(image() != before);
  wheel(-2);
  QCOMPARE(window_->state().view.Sca, 1.2 / 1.1);
  QCOMPARE(ui().txtAlpha->text(), QString("225"));
  QCOMPARE(window_->state().view.PanX, 0.0);  // about the middle of the picture
  wheel(2, {60, 80});  // about a point up and to the left of the middle: the picture moves there
  QVERIFY(window_->state().view.PanX < 0);
  QVERIFY(window_->state().view.PanY > 0);
  waitForTheWheelToRest();
  expectSamePictureFromTheCommand(ui().cmdGeoMap);
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);  // a preset centres the view again
  QCOMPARE(window_->state().view.PanX, 0.0);
  QCOMPARE(window_->state().view.PanY, 0.0);

  drag({100, 200}, {100, 100}, Qt::LeftButton, Qt::ShiftModifier);  // 100 pixels up doubles
  QCOMPARE(ui().txtVe->text(), QString("4"));
  QCOMPARE(ui().txtGamma->text(), QString("30"));
  drag({100, 100}, {100, 150}, Qt::RightButton);
  QCOMPARE(window_->state().view.Ve, 4 / std::sqrt(2.0));
  QCOMPARE(ui().txtAlpha->text(), QString("225"));
  expectSamePictureFromTheCommand(ui().cmdGeoMap);
}

void ViewGesturesTest::keysTurnTiltAndZoomInSteps() {
  drawDefaultMap();
  QTest::keyClick(picture(), Qt::Key_Right);
  QTest::keyClick(picture(), Qt::Key_Down);
  QTest::keyClick(picture(), Qt::Key_Plus);
  QTest::keyClick(picture(), Qt::Key_Up, Qt::ShiftModifier);
  QCOMPARE(ui().txtAlpha->text(), QString("230"));
  QCOMPARE(ui().txtGamma->text(), QString("35"));
  QCOMPARE(ui().txtSca->text(), QString("1.32"));
  QCOMPARE(ui().txtVe->text(), QString("2.2"));
  expectSamePictureFromTheCommand(ui().cmdGeoMap);
  QTest::keyClick(picture(), Qt::Key_Left);
  QTest::keyClick(picture(), Qt::Key_Up);
  QTest::keyClick(picture(), Qt::Key_Minus);
  QCOMPARE(ui().txtAlpha->text(), QString("225"));
  QCOMPARE(ui().txtGamma->text(), QString("30"));
  QCOMPARE(window_->state().view.Sca, 1.32 / 1.1);
}

// Moves that arrive together are summed into one change of the view and one picture.
void ViewGesturesTest::dragStepsAreDrawnOncePerTurnOfTheEventLoop() {
  drawDefaultMap();
  QSignalSpy alphaChanges(ui().txtAlpha, &QLineEdit::textChanged);
  QTest::mousePress(picture(), Qt::LeftButton, {}, {100, 100});
  for (int x = 102; x <= 110; x += 2) QTest::mouseMove(picture(), {x, 100});
  QCOMPARE(alphaChanges.count(), 0);
  QTRY_COMPARE(alphaChanges.count(), 1);
  QCOMPARE(ui().txtAlpha->text(), QString("230"));
  QTest::mouseRelease(picture(), Qt::LeftButton, {}, {110, 100});
  QCOMPARE(alphaChanges.count(), 1);
  expectSamePictureFromTheCommand(ui().cmdGeoMap);
}

// Between horizontal and straight down, so the block never turns over.
void ViewGesturesTest::theDepressionStopsAtStraightDown() {
  drawDefaultMap();
  drag({100, 0}, {100, 299});
  QCOMPARE(ui().txtGamma->text(), QString("90"));
  drag({100, 299}, {100, 0});
  QCOMPARE(ui().txtGamma->text(), QString("0"));
  ui().txtGamma->setText("-10");  // typed beyond the range: a tilt does not jump back
  QTest::keyClick(picture(), Qt::Key_Down);
  QCOMPARE(ui().txtGamma->text(), QString("-5"));
  QTest::keyClick(picture(), Qt::Key_Up);
  QTest::keyClick(picture(), Qt::Key_Up);
  QCOMPARE(ui().txtGamma->text(), QString("-5"));
}

// The drag moves the section with the mouse and the keys in steps; the view boxes stay, and the
// section view preset puts the section back in the middle.
void ViewGesturesTest::onASectionADragPansAndTheWheelZooms() {
  drawSection();
  const QString alpha = ui().txtAlpha->text();
  const QImage before = image().copy();
  drag({100, 100}, {140, 130});
  QCOMPARE(ui().txtAlpha->text(), alpha);
  QCOMPARE(ui().txtGamma->text(), QString("0"));
  QCOMPARE(ui().txtSca->text(), QString("1.4"));
  QVERIFY(image() != before);
  KALVENOR_COMPARE_PICTURES(image().copy(40, 30, 260, 270), before.copy(0, 0, 260, 270), kShifted,
                            "dragged");
  expectSamePictureFromTheCommand(ui().cmdGeoSection);

  QTest::keyClick(picture(), Qt::Key_Left);
  QTest::keyClick(picture(), Qt::Key_Up);
  KALVENOR_COMPARE_PICTURES(image().copy(30, 20, 270, 280), before.copy(0, 0, 270, 280), kShifted,
                            "keys");
  QCOMPARE(ui().txtAlpha->text(), alpha);

  QTest::mouseClick(ui().cmdSectionView, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGeoSection, Qt::LeftButton);
  KALVENOR_COMPARE_PICTURES(image(), before, kExactPixels, "before");

  wheel(1);
  QCOMPARE(ui().txtSca->text(), QString("1.54"));
  waitForTheWheelToRest();
  QVERIFY(image() != before);
  expectSamePictureFromTheCommand(ui().cmdGeoSection);
}

// The preview follows the mouse while the picture itself waits for the release.
void ViewGesturesTest::aDragShowsAPreviewAndTheWholePictureOnRelease() {
  drawDefaultMap();
  const QImage before = image().copy();
  QTest::mousePress(picture(), Qt::LeftButton, {}, {100, 100});
  QTest::mouseMove(picture(), {140, 120});
  QTRY_VERIFY_WITH_TIMEOUT(window_->formImage().showingPreview(), 20000);
  QCOMPARE(ui().txtAlpha->text(), QString("245"));
  KALVENOR_COMPARE_PICTURES(image(), before, kExactPixels, "before");
  QTest::mouseRelease(picture(), Qt::LeftButton, {}, {140, 120});
  QVERIFY(window_->drawingWholeOnWorker());  // the window answers while the picture is drawn
  QVERIFY(image() != before);
  QVERIFY(!window_->formImage().showingPreview());
  expectSamePictureFromTheCommand(ui().cmdGeoMap);
}

void ViewGesturesTest::whatWasDrawnOverTheMapIsDrawnAgainAfterATurn() {
  drawDefaultMap();
  QTest::mouseClick(ui().cmdGrid, Qt::LeftButton);
  drag({100, 100}, {60, 130});
  const QImage turned = image().copy();
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QVERIFY(image() != turned);
  QTest::mouseClick(ui().cmdGrid, Qt::LeftButton);
  KALVENOR_COMPARE_PICTURES(image(), turned, kExactPixels, "turned");
}

// The columns of the picture that hold anything but the background.
static std::pair<int, int> drawnColumns(const QImage& image) {
  const QRgb background = image.pixel(0, 0);
  int first = image.width(), last = -1;
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < image.height(); ++y) {
      if (image.pixel(x, y) != background) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
  }
  return {first, last};
}

void ViewGesturesTest::aNewSizeOfTheDrawingAreaRedrawsThePictureToFit() {
  drawDefaultMap();
  QSignalSpy resized(&window_->formImage(), &FormImage::drawingAreaResized);
  window_->formImage().resize(500, 300);
  QVERIFY(resized.wait());
  QCOMPARE(image().size(), QSize(500, 300));
  const auto [first, last] = drawnColumns(image());
  QVERIFY(std::abs(first - (499 - last)) <= 2);  // in the middle of the wider area
  expectSamePictureFromTheCommand(ui().cmdGeoMap);
}

// The picture drawn on the worker came from the session as it was at the release; a change made
// meanwhile must not be lost under it.
void ViewGesturesTest::aChangeWhileThePictureIsDrawnOnAWorkerGetsIntoIt() {
  drawDefaultMap();
  drag({100, 100}, {140, 120});
  QVERIFY(window_->drawingWholeOnWorker());
  ui().chkboundary->click();  // boundary lines off, before the worker's picture arrives
  const QImage drawn = image().copy();
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  KALVENOR_COMPARE_PICTURES(image(), drawn, kExactPixels);
  ui().chkboundary->click();
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QVERIFY(image() != drawn);  // the lines do show in this picture
}

void ViewGesturesTest::withoutAPictureNothingTurnsAndTheStatusLineSaysWhy() {
  fixture_->buildSmallBlock();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  const QImage blank = image().copy();
  const auto expectUnchanged = [&](const QString& why) {
    drag({100, 100}, {200, 150});
    drag({100, 100}, {200, 150}, Qt::RightButton);
    wheel(3);
    QTest::keyClick(picture(), Qt::Key_Right);
    QTest::keyClick(picture(), Qt::Key_Plus);
    QCOMPARE(ui().txtAlpha->text(), QString("225"));
    QCOMPARE(ui().txtGamma->text(), QString("30"));
    QCOMPARE(ui().txtSca->text(), QString("1.2"));
    QCOMPARE(ui().txtVe->text(), QString("2"));
    KALVENOR_COMPARE_PICTURES(image(), blank, kExactPixels, "blank");
    QVERIFY(fixture_->dialogs.messages.isEmpty());
    QCOMPARE(ui().lblStatus->text(), why);
  };
  expectUnchanged(QStringLiteral(
      "There is no picture in the drawing window: draw one with 地質図 or 断面図 first"));
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);  // a map, then cleared away
  QTest::mouseClick(ui().cmdImageClear, Qt::LeftButton);
  expectUnchanged(QStringLiteral("The picture was cleared: draw it again with 地質図 first"));
  QSignalSpy resized(&window_->formImage(), &FormImage::drawingAreaResized);
  window_->formImage().resize(200, 200);
  QVERIFY(resized.wait());
  KALVENOR_COMPARE_PICTURES(image(), blank.copy(0, 0, 200, 200), kExactPixels, "smaller");
  QVERIFY(fixture_->dialogs.messages.isEmpty());
}

// The section's build turns the view boxes to the section while the map stays on screen with
// its grid: a drag turns the map from the view it was drawn in.
void ViewGesturesTest::aMapTurnsFromItsOwnViewAfterASectionIsBuilt() {
  drawDefaultMap();
  buildSection();
  QCOMPARE(ui().txtGamma->text(), QString("0"));
  drag({100, 100}, {140, 120});
  QCOMPARE(ui().txtAlpha->text(), QString("245"));
  QCOMPARE(ui().txtGamma->text(), QString("40"));
  QCOMPARE(ui().txtSca->text(), QString("1.2"));
  expectSamePictureFromTheCommand(ui().cmdGeoMap);
}

QTEST_MAIN(ViewGesturesTest)
#include "view_gestures_test.moc"
