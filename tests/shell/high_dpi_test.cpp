#include <QApplication>
#include <QClipboard>
#include <QtTest>
#include <memory>

#include "imagewin/form_image.h"
#include "picture_check.h"
#include "window_fixture.h"

using namespace kalvenor;

namespace {

// The 2 x 2 blocks of device pixels that do not hold one colour: none in a picture drawn at the
// logical size and scaled up.
int mixedBlocks(const QImage& image) {
  int mixed = 0;
  for (int y = 0; y + 1 < image.height(); y += 2) {
    for (int x = 0; x + 1 < image.width(); x += 2) {
      const QRgb p = image.pixel(x, y);
      mixed += image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
               image.pixel(x + 1, y + 1) != p;
    }
  }
  return mixed;
}

}  // namespace

// The drawing window on a screen scaled to 200 %: the picture is drawn in device pixels and shown
// one to one, while copy and save keep the picture's logical size.
class HighDpiTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void thePictureIsDrawnInDevicePixels();
  void aPreviewIsDrawnInDevicePixelsToo();
  void copiesAndSavedFilesKeepTheLogicalSize();

 private:
  QWidget* picture() { return window_->formImage().findChild<QWidget*>("picImage"); }
  const ImageCanvas& canvas() { return window_->formImage().canvas(); }

  std::unique_ptr<WindowFixture> fixture_;
  FormMain* window_ = nullptr;
};

void HighDpiTest::init() {
  fixture_ = std::make_unique<WindowFixture>();
  window_ = &fixture_->window;
  window_->formImage().show();
  window_->formImage().resize(300, 300);
  QTRY_COMPARE(canvas().width(), 300.0);
  fixture_->buildSmallBlock();
  QTest::mouseClick(window_->ui().cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(window_->ui().cmdGeoMap, Qt::LeftButton);
  QVERIFY(fixture_->dialogs.messages.isEmpty());
}

void HighDpiTest::cleanup() { fixture_.reset(); }

void HighDpiTest::thePictureIsDrawnInDevicePixels() {
  QCOMPARE(picture()->devicePixelRatioF(), 2.0);
  QCOMPARE(canvas().pixelRatio(), 2.0);
  QCOMPARE(canvas().screen().size(), QSize(600, 600));
  QVERIFY(mixedBlocks(canvas().screen()) > 0);
  const QImage shown = picture()->grab().toImage();
  QCOMPARE(shown.size(), QSize(600, 600));
  KALVENOR_COMPARE_PICTURES(shown, canvas().screen(), kExactPixels);
}

void HighDpiTest::aPreviewIsDrawnInDevicePixelsToo() {
  QTest::mousePress(picture(), Qt::LeftButton, {}, {100, 100});
  QTest::mouseMove(picture(), {130, 110});
  QTRY_VERIFY_WITH_TIMEOUT(window_->formImage().showingPreview(), 20000);
  const QImage preview = picture()->grab().toImage();
  QCOMPARE(preview.size(), QSize(600, 600));
  QVERIFY(mixedBlocks(preview) > 0);
  QTest::mouseRelease(picture(), Qt::LeftButton, {}, {130, 110});
}

void HighDpiTest::copiesAndSavedFilesKeepTheLogicalSize() {
  QTest::mouseClick(window_->ui().cmdImageCopy, Qt::LeftButton);
  const QImage copied = QGuiApplication::clipboard()->image();
  QCOMPARE(copied.size(), QSize(300, 300));
  QVERIFY(copied.pixel(150, 150) != copied.pixel(0, 0));  // the map, not the background
  for (const char* name : {"map.bmp", "map.png"}) {
    const QString path = fixture_->folder.filePath(name);
    fixture_->dialogs.files.push_back(path);
    QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
    const QImage saved(path);
    QCOMPARE(saved.size(), QSize(300, 300));
    KALVENOR_COMPARE_PICTURES(saved, canvas().image(), kExactPixels);
  }
  QVERIFY(fixture_->dialogs.messages.isEmpty());
}

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  HighDpiTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "high_dpi_test.moc"
