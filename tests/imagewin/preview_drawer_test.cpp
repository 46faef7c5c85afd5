#include <QSemaphore>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "imagewin/form_image.h"

using namespace kalvenor;

// Previews drawn on worker threads in the drawing window: only the newest one is ever shown, a
// newer request cancels the older, and the canvas shows again once the preview ends.
class PreviewDrawerTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void anOlderPreviewFinishingLastNeverShowsOverTheNewer();
  void anOlderPreviewAlreadyOnItsWayIsDropped();
  void endingThePreviewDropsOneStillBeingDrawn();
  void aChangeOfTheCanvasEndsThePreview();
  void aPreviewThatFailsShowsNothing();

 private:
  QColor shown() {
    QWidget* view = form_->findChild<QWidget*>("picImage");
    return view->grab().toImage().pixelColor(20, 20);
  }

  std::unique_ptr<FormImage> form_;
};

namespace {

QImage filled(Qt::GlobalColor color) {
  QImage image(QSize(100, 100), QImage::Format_RGB32);
  image.fill(color);
  return image;
}

// A job that waits at the gate, then draws `color` whether cancelled or not; it tells whether it
// was cancelled and when it is done.
PreviewDrawer::Job gated(QSemaphore& gate, Qt::GlobalColor color, std::atomic<bool>& cancelledSeen,
                         std::atomic<bool>& done) {
  return [&gate, color, &cancelledSeen, &done](const std::atomic<bool>& cancelled) {
    gate.acquire();
    cancelledSeen = cancelled.load();
    done = true;
    return filled(color);
  };
}

PreviewDrawer::Job atOnce(Qt::GlobalColor color) {
  return [color](const std::atomic<bool>&) { return filled(color); };
}

}  // namespace

void PreviewDrawerTest::init() {
  form_ = std::make_unique<FormImage>();
  form_->show();
  form_->resize(100, 100);
  QTRY_COMPARE(form_->canvas().width(), 100.0);
}

void PreviewDrawerTest::cleanup() { form_.reset(); }

void PreviewDrawerTest::anOlderPreviewFinishingLastNeverShowsOverTheNewer() {
  QSemaphore gate;
  std::atomic<bool> cancelled = false, done = false;
  form_->drawPreview(gated(gate, Qt::red, cancelled, done));
  form_->drawPreview(atOnce(Qt::blue));
  QTRY_VERIFY(form_->showingPreview());
  QCOMPARE(shown(), QColor(Qt::blue));
  gate.release();
  QTRY_VERIFY(done);
  QTest::qWait(100);
  QVERIFY(cancelled);  // the newer request cancelled it
  QCOMPARE(shown(), QColor(Qt::blue));
}

// The older picture is finished and handed on before the newer request, but not yet shown.
void PreviewDrawerTest::anOlderPreviewAlreadyOnItsWayIsDropped() {
  QSemaphore gate;
  std::atomic<bool> cancelled = false, done = false;
  form_->drawPreview(gated(gate, Qt::red, cancelled, done));
  gate.release();
  while (!done) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // no events handled meanwhile
  QVERIFY(!cancelled);
  QSemaphore second;
  std::atomic<bool> secondCancelled = false, secondDone = false;
  form_->drawPreview(gated(second, Qt::blue, secondCancelled, secondDone));
  QTest::qWait(100);
  QVERIFY(!form_->showingPreview());
  second.release();
  QTRY_VERIFY(form_->showingPreview());
  QCOMPARE(shown(), QColor(Qt::blue));
}

void PreviewDrawerTest::endingThePreviewDropsOneStillBeingDrawn() {
  QSemaphore gate;
  std::atomic<bool> cancelled = false, done = false;
  form_->drawPreview(gated(gate, Qt::red, cancelled, done));
  form_->endPreview();
  gate.release();
  QTRY_VERIFY(done);
  QTest::qWait(100);
  QVERIFY(cancelled);
  QVERIFY(!form_->showingPreview());
  QCOMPARE(shown(), QColor(Qt::white));
}

void PreviewDrawerTest::aChangeOfTheCanvasEndsThePreview() {
  form_->drawPreview(atOnce(Qt::blue));
  QTRY_VERIFY(form_->showingPreview());
  ImageCanvas& canvas = form_->canvas();
  canvas.setPenWidth(2);
  canvas.setPenColor(kBlack);
  canvas.line(0, 20, 99, 20);
  QVERIFY(!form_->showingPreview());
  QCOMPARE(shown(), QColor(Qt::black));
}

void PreviewDrawerTest::aPreviewThatFailsShowsNothing() {
  form_->drawPreview([](const std::atomic<bool>&) -> QImage { throw std::bad_alloc(); });
  QTest::qWait(100);
  QVERIFY(!form_->showingPreview());
  form_->drawPreview(atOnce(Qt::green));
  QTRY_VERIFY(form_->showingPreview());
  QCOMPARE(shown(), QColor(Qt::green));
}

QTEST_MAIN(PreviewDrawerTest)
#include "preview_drawer_test.moc"
