#include <QEnterEvent>
#include <QtTest>
#include <memory>

#include "imagewin/form_image.h"
#include "window_fixture.h"

using namespace kalvenor;

// The drawing commands say which step keeps them disabled, the status line says what a command
// could not do, and the drawing check boxes redraw the picture on screen.
class CommandHintsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void disabledCommandsNameTheOpenStep();
  void theStatusLineShowsTheHintUnderTheMouse();
  void gridLinesWithoutADisplaySurfaceSayWhatIsMissing();
  void drawingCheckBoxesRedrawThePictureOnScreen_data();
  void drawingCheckBoxesRedrawThePictureOnScreen();
  void theFitButtonFitsThePictureOnScreen();

 private:
  Ui::formMain& ui() { return window_->ui(); }
  // The picture on screen once drawn whole: a redraw runs on a worker thread.
  QImage picture() {
    waitForTheWholePicture();
    return window_->formImage().canvas().image().copy();
  }
  void waitForTheWholePicture() {
    QTRY_VERIFY_WITH_TIMEOUT(!window_->drawingWholeOnWorker(), 20000);
  }
  QCheckBox* checkBox(const QString& name) { return window_->findChild<QCheckBox*>(name); }

  std::unique_ptr<WindowFixture> fixture_;
  FormMain* window_ = nullptr;
};

void CommandHintsTest::init() {
  fixture_ = std::make_unique<WindowFixture>();
  window_ = &fixture_->window;
  window_->formImage().show();
  window_->formImage().resize(300, 300);
  QTRY_COMPARE(window_->formImage().canvas().width(), 300.0);
}

void CommandHintsTest::cleanup() { fixture_.reset(); }

// Each row is a state of the work; the hints of 地質図, 断面図, コンター and 格子線 in it.
void CommandHintsTest::disabledCommandsNameTheOpenStep() {
  const QString model = "Do step ( １ ) 論理モデルの入力 first";
  const QString view = "Do step ( ６ ) 描画ウィンドウへの投影設定 first";
  const QString section = "Do step ( ５－２ ) 地質断面図 first";
  const QString check = "Check コンター線を描く in コンターの設定 first";
  const QString levels =
      "Give the levels in コンターの設定 first: 開始値 and 終了値 must differ and 間　隔 must not "
      "be 0 (自動 proposes them)";
  const auto expectHints = [&](const QStringList& hints) {
    const QPushButton* commands[] = {ui().cmdGeoMap, ui().cmdGeoSection, ui().cmdContour,
                                     ui().cmdGrid};
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(commands[i]->toolTip(), hints[i]);
      QCOMPARE(commands[i]->isEnabled(), hints[i].isEmpty());
    }
    QCOMPARE(ui().cmdGeoSectionLine->toolTip(), hints[1]);
  };
  expectHints({model, model, view, view});
  QTest::mouseClick(ui().cmd2Layer, Qt::LeftButton);
  const QString files = "Do step ( ２ ) 境界面の指定 first";
  expectHints({files, files, view, view});
  fixture_->buildSmallBlock();
  expectHints({view, section, view, view});
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  expectHints({{}, section, check, {}});
  ui().chkContour->setChecked(true);
  ui().txtCin->setText("0");
  expectHints({{}, section, levels, {}});
  QTest::mouseClick(ui().cmdContourAuto, Qt::LeftButton);
  expectHints({{}, section, {}, {}});
}

// The tooltip of the disabled command under the mouse stands in the status line until the mouse
// leaves it; then the last note shows again.
void CommandHintsTest::theStatusLineShowsTheHintUnderTheMouse() {
  QTest::mouseClick(ui().cmdGrid, Qt::LeftButton);
  QEnterEvent enter({5, 5}, {5, 5}, ui().cmdGeoMap->mapToGlobal(QPointF(5, 5)));
  QApplication::sendEvent(ui().cmdGeoMap, &enter);
  QCOMPARE(ui().lblStatus->text(), ui().cmdGeoMap->toolTip());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(ui().cmdGeoMap, &leave);
  QCOMPARE(ui().lblStatus->text(), QString());
}

void CommandHintsTest::gridLinesWithoutADisplaySurfaceSayWhatIsMissing() {
  ui().txtSca->setText("1");
  QVERIFY(ui().cmdGrid->isEnabled());
  QTest::mouseClick(ui().cmdGrid, Qt::LeftButton);
  QCOMPARE(ui().lblStatus->text(),
           QStringLiteral("格子線 draws nothing without a display surface: do step ( ４ ) "
                          "地質表示面の指定 first"));
  QVERIFY(fixture_->dialogs.messages.isEmpty());
}

void CommandHintsTest::drawingCheckBoxesRedrawThePictureOnScreen_data() {
  QTest::addColumn<QString>("box");
  QTest::newRow("boundary lines") << "chkboundary";
  QTest::newRow("fill along the contacts") << "chkContacts";
  QTest::newRow("legend and axes") << "chkAnnotations";
  QTest::newRow("black background") << "chkBack";
}

// Once changed, the box's picture is on screen: the one its command draws with the box so.
void CommandHintsTest::drawingCheckBoxesRedrawThePictureOnScreen() {
  QFETCH(QString, box);
  fixture_->buildSmallBlock();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  const QImage before = picture();
  checkBox(box)->toggle();
  const QImage redrawn = picture();
  QVERIFY(redrawn != before);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QCOMPARE(picture(), redrawn);
  QVERIFY(fixture_->dialogs.messages.isEmpty());
}

// "画面に合わせる" chooses the magnification that fills the window; the box shows it.
void CommandHintsTest::theFitButtonFitsThePictureOnScreen() {
  QTest::mouseClick(ui().cmdFit, Qt::LeftButton);
  QVERIFY(ui().lblStatus->text().startsWith("There is no picture"));
  fixture_->buildSmallBlock();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  ui().txtSca->setText("0.3");
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  const QImage small = picture();
  QTest::mouseClick(ui().cmdFit, Qt::LeftButton);
  const QImage fitted = picture();
  QVERIFY(ui().txtSca->text().toDouble() > 0.3);
  QVERIFY(fitted != small);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QCOMPARE(picture(), fitted);
}

QTEST_MAIN(CommandHintsTest)
#include "command_hints_test.moc"
