#include "shell/preload.h"

#include <QProcess>
#include <QtTest>

#include "example_inputs.h"
#include "imagewin/form_image.h"
#include "scripted_dialogs.h"
#include "shell/form_main.h"
#include "test_paths.h"

using namespace kalvenor;

// The viewer started on the bundled example: every step run through the window's handlers.
class PreloadTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void theExampleOpensWithItsMapDrawn();
  void aBadFileStopsThePreloadWithItsMessage();
  void aColourFileMissingAUnitIsReported();
  void theProgramRejectsUnknownOptions();
  void theProgramSaysItsVersion();

 private:
  SessionOptions example() const;

  ScriptedDialogs* real_ = nullptr;
  FormMain* window_ = nullptr;
};

SessionOptions PreloadTest::example() const {
  SessionOptions options;
  options.inputs = exampleInputFiles();
  return options;
}

void PreloadTest::init() {
  real_ = new ScriptedDialogs;
  window_ = new FormMain(*real_, KALVENOR_EXAMPLES_DIR);
  window_->Form_Load();
  window_->show();
}

void PreloadTest::cleanup() {
  delete window_;
  delete real_;
}

void PreloadTest::theExampleOpensWithItsMapDrawn() {
  preload(*window_, example());
  QVERIFY2(real_->messages.isEmpty(), qPrintable(real_->messages.join('\n')));
  Ui::formMain& ui = window_->ui();
  for (QLabel* indicator : {ui.lbl1, ui.lbl2, ui.lbl3, ui.lbl4, ui.lbl5, ui.lbl6}) {
    QVERIFY2(!indicator->isVisibleTo(window_), qPrintable(indicator->objectName()));
  }
  const ViewerState& state = window_->state();
  QCOMPARE(state.progress.mapGrid(), GridState::Current);
  QCOMPARE(state.unitColor[5], packRgb(0xe3, 0xa3, 0xb5));
  QCOMPARE(state.boundaryColor[4], packRgb(0xa0, 0x10, 0x10));
  QCOMPARE(ui.grdModel->horizontalHeaderItem(3)->foreground().color(), QColor(0xa0, 0x10, 0x10));
  QCOMPARE(ui.lstBoundaryFile->count(), 4);
  QCOMPARE(ui.txtAlpha->text(), QString("225"));
  QCOMPARE(ui.lblAlpha->text(), QString("225"));  // the map was drawn with the default view
  const QImage& picture = window_->formImage().canvas().image();
  int cover = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x)
      cover += picture.pixel(x, y) == qRgb(0xe3, 0xa3, 0xb5);
  }
  QVERIFY(cover > 100);
}

void PreloadTest::aBadFileStopsThePreloadWithItsMessage() {
  SessionOptions files = example();
  files.inputs.surface = KALVENOR_EXAMPLES_DIR "/folded-basin/model.txt";  // not a grid
  preload(*window_, files);
  QCOMPARE(real_->messages.size(), 1);
  QVERIFY(real_->messages.first().contains("model.txt"));
  QCOMPARE(window_->state().progress.modelReady(), true);  // the steps before it stand
  QVERIFY(!window_->ui().lbl3->isVisibleTo(window_));
  QCOMPARE(window_->state().progress.mapGrid(), GridState::None);

  files = example();
  files.inputs.boundaries.pop_back();
  delete window_;
  window_ = new FormMain(*real_, KALVENOR_EXAMPLES_DIR);
  window_->Form_Load();
  preload(*window_, files);
  QCOMPARE(real_->messages.size(), 2);
  QVERIFY(real_->messages.last().contains("4 boundaries but 3 boundary files"));
}

void PreloadTest::aColourFileMissingAUnitIsReported() {
  QTemporaryDir folder;
  QFile colours(folder.filePath("colors.txt"));
  QVERIFY(colours.open(QIODevice::WriteOnly));
  colours.write("unit 1 #000001\nunit 2 #000002\n");
  colours.close();
  SessionOptions files = example();
  files.inputs.colors = colours.fileName().toStdString();
  preload(*window_, files);
  QCOMPARE(real_->messages.size(), 1);
  QVERIFY(real_->messages.first().contains("no colour for unit 3"));
  QVERIFY(window_->ui().cmdColor->isEnabled());
}

void PreloadTest::theProgramRejectsUnknownOptions() {
  QProcess process;
  process.start(KALVENOR_PATH, {"--frobnicate"});
  QVERIFY(process.waitForFinished(30000));
  QCOMPARE(process.exitCode(), 2);
  QVERIFY(process.readAllStandardError().contains("--frobnicate"));
  process.start(KALVENOR_PATH, {"--help"});
  QVERIFY(process.waitForFinished(30000));
  QCOMPARE(process.exitCode(), 0);
  QVERIFY(process.readAllStandardOutput().contains("--boundary"));
}

void PreloadTest::theProgramSaysItsVersion() {
  QProcess process;
  process.start(KALVENOR_PATH, {"--version"});
  QVERIFY(process.waitForFinished(30000));
  QCOMPARE(process.exitCode(), 0);
  QCOMPARE(process.readAllStandardOutput(), QByteArray("kalvenor " KALVENOR_VERSION "\n"));
}

QTEST_MAIN(PreloadTest)
#include "preload_test.moc"
