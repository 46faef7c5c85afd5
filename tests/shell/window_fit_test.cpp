#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "imagewin/form_image.h"
#include "window_fixture.h"

using namespace kalvenor;

// Windows that fit the screen, on a screen of 1920 x 1080 pixels shown at 200 %: 960 x 540 for
// the windows.
class WindowFitTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void theScreenIsTheOneAsked();
  void bothWindowsLieOnTheScreenAtTheFirstStart();
  void everyCommandCanBeReachedAt200Percent();
  void aPageTallerThanTheWindowScrolls();

 private:
  QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }
  // True when the control lies inside the visible part of the main window.
  bool reachable(const QWidget* control);

  std::unique_ptr<WindowFixture> fixture_;
  FormMain* window_ = nullptr;
};

void WindowFitTest::init() {
  fixture_ = std::make_unique<WindowFixture>();
  window_ = &fixture_->window;
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void WindowFitTest::cleanup() { fixture_.reset(); }

bool WindowFitTest::reachable(const QWidget* control) {
  const QRect shown(control->mapTo(window_, QPoint(0, 0)), control->size());
  return control->isVisible() && window_->rect().contains(shown);
}

void WindowFitTest::theScreenIsTheOneAsked() {
  QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
  QCOMPARE(screenArea().size(), QSize(960, 540));
}

void WindowFitTest::bothWindowsLieOnTheScreenAtTheFirstStart() {
  FormImage& image = window_->formImage();
  QTRY_VERIFY(screenArea().contains(window_->frameGeometry()));
  QTRY_VERIFY(screenArea().contains(image.frameGeometry()));
  QCOMPARE(window_->frameGeometry().topLeft(), screenArea().topLeft());
  QCOMPARE(image.frameGeometry().top(), screenArea().top());
  // The right half, moved in by its frame so that the frame stays on the screen.
  QCOMPARE(image.frameGeometry().right(), screenArea().right());
  QCOMPARE(image.width(), screenArea().width() / 2);
}

void WindowFitTest::everyCommandCanBeReachedAt200Percent() {
  Ui::formMain& ui = window_->ui();
  QTRY_VERIFY(window_->height() <= screenArea().height());
  for (QWidget* control : std::initializer_list<QWidget*>{ui.cmdEnd, ui.cmdGeoMap, ui.cmdGeoSection,
                                                          ui.cmdGeoSectionLine, ui.cmdContour,
                                                          ui.cmdGrid, ui.tabParameter}) {
    QVERIFY2(reachable(control), qPrintable(control->objectName()));
  }
}

// The window is shorter than the page of the first tab: the page scrolls, so its lowest
// control can be brought into view.
void WindowFitTest::aPageTallerThanTheWindowScrolls() {
  Ui::formMain& ui = window_->ui();
  auto* scroll = qobject_cast<QScrollArea*>(ui.tabParameter->widget(0));
  QVERIFY(scroll);
  QCOMPARE(scroll->widget(), ui.tabModel);
  QCOMPARE(ui.tabParameter->tabText(0), QString("①論理モデル"));
  QTRY_VERIFY(scroll->verticalScrollBar()->maximum() > 0 ||
              scroll->horizontalScrollBar()->maximum() > 0);
  scroll->ensureWidgetVisible(ui.lstBodyName);
  QVERIFY(scroll->viewport()->rect().intersects(
      QRect(ui.lstBodyName->mapTo(scroll->viewport(), QPoint(0, 0)), ui.lstBodyName->size())));
}

int main(int argc, char** argv) {
  QTemporaryDir folder;
  QFile screens(folder.filePath("screens.json"));
  if (!screens.open(QIODevice::WriteOnly)) return 1;
  screens.write(R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1920, "height": 1080,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  screens.close();
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens.fileName()).toLocal8Bit());
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  WindowFitTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "window_fit_test.moc"
