#include <QtTest>
#include <memory>

#include "imagewin/form_image.h"
#include "window_fixture.h"

using namespace kalvenor;

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void theWindowAfterStartUp();
  void theDefaultViewIsRead();
  void theZbaseBoxesMirrorEachOther();
  void aLoneMinusWaitsForItsDigits();
  void theUnitCountFollowsTheBoundaryCount();
  void commandStatesFollowTheProgressFlags();
  void theVersionMessage();
  void aMissingDefaultFileIsReportedAndTheViewerStillStarts();
  void aShortDefaultFileIsReportedAndNoValueOfItIsUsed();
  void aDeviceAsDefaultFileIsReportedAndTheViewerStillStarts();
  void theDrawingWindowSizeIsShown();
  void endClosesEveryWindow();

 private:
  std::unique_ptr<WindowFixture> fixture_;
  ScriptedDialogs* dialogs_ = nullptr;
  FormMain* window_ = nullptr;
  void start(const QString& folder);
};

void StartupTest::start(const QString& folder) {
  fixture_.reset();
  fixture_ = std::make_unique<WindowFixture>(folder);
  dialogs_ = &fixture_->dialogs;
  window_ = &fixture_->window;
}

void StartupTest::init() { start(KALVENOR_EXAMPLES_DIR); }

void StartupTest::cleanup() { fixture_.reset(); }

void StartupTest::theWindowAfterStartUp() {
  Ui::formMain& ui = window_->ui();
  QCOMPARE(window_->windowTitle(), QString("Kalvenor2003"));
  QCOMPARE(ui.txtZbase->text(), QString("0"));
  QCOMPARE(ui.txtZbase2->text(), QString(""));
  QCOMPARE(ui.lblZbase->text(), QString("0"));
  QCOMPARE(window_->state().Zbase, 0.0);
  QCOMPARE(ui.txtNbd->text(), QString(""));
  QCOMPARE(ui.txtNbd1->text(), QString(""));
  QCOMPARE(ui.txtSepInt->text(), QString("20"));
  QVERIFY(!ui.txtDist->isEnabled());
  QVERIFY(!ui.txtPpz->isEnabled());
  for (QPushButton* command :
       {ui.cmdGeoMap, ui.cmdGeoSection, ui.cmdGeoSectionLine, ui.cmdContour, ui.cmdGrid}) {
    QVERIFY2(!command->isEnabled(), qPrintable(command->objectName()));
  }
  for (QLabel* indicator : {ui.lbl1, ui.lbl2, ui.lbl3, ui.lbl4, ui.lbl5, ui.lbl6}) {
    QVERIFY2(indicator->isVisibleTo(window_), qPrintable(indicator->objectName()));
  }
  QVERIFY(ui.optSection2->isChecked());
  QVERIFY(ui.optWaku4->isChecked());
  QVERIFY(!ui.chkContour->isChecked());
  QVERIFY(ui.chkSide->isChecked());
  QVERIFY(!ui.chkPers->isChecked());
  QVERIFY(ui.chkboundary->isChecked());
  QVERIFY(ui.chkAutoRedraw->isChecked());
  QVERIFY(!ui.chkBack->isChecked());
  QVERIFY(ui.chkWaku->isChecked());
  QVERIFY(window_->formImage().canvas().persistent());
  QCOMPARE(window_->state().view.Dist, 1e10);
  QCOMPARE(ui.lblNx->text(), QString(""));
  QCOMPARE(ui.lblModelFileName->text(), QString(""));
  QCOMPARE(ui.tabParameter->count(), 4);
  QCOMPARE(ui.tabParameter->tabText(0), QString("①論理モデル"));
  QCOMPARE(ui.tabParameter->tabText(3), QString("④出力"));
  QVERIFY(dialogs_->messages.isEmpty());
}

void StartupTest::theDefaultViewIsRead() {
  const DefaultValues& defaults = window_->state().defaults;
  QCOMPARE(defaults.defaultAlpha, 225.0);
  QCOMPARE(defaults.defaultGamma, 30.0);
  QCOMPARE(defaults.defaultSca, 1.2);
  QCOMPARE(defaults.defaultVe, 2.0);
}

void StartupTest::theZbaseBoxesMirrorEachOther() {
  Ui::formMain& ui = window_->ui();
  ui.txtZbase->setText("-120.50");
  QCOMPARE(window_->state().Zbase, -120.5);
  QCOMPARE(ui.txtZbase2->text(), QString("-120.5"));
  QCOMPARE(ui.lblZbase->text(), QString("-120.5"));
  QCOMPARE(ui.txtZbase->text(), QString("-120.5"));  // reformatted on the way back

  ui.txtZbase2->setText("35");
  QCOMPARE(window_->state().Zbase, 35.0);
  QCOMPARE(ui.txtZbase->text(), QString("35"));
  QCOMPARE(ui.lblZbase->text(), QString("35"));

  ui.txtZbase2->setText("35x");  // not a number: the base in use stays, and so does the mirror
  QCOMPARE(window_->state().Zbase, 35.0);
  QCOMPARE(ui.txtZbase->text(), QString("35"));
  QCOMPARE(ui.txtZbase2->text(), QString("35x"));
}

// A minus typed first is the start of a number, whatever the other box holds.
void StartupTest::aLoneMinusWaitsForItsDigits() {
  Ui::formMain& ui = window_->ui();
  ui.txtZbase2->setText("0");
  ui.txtZbase->setText("-");
  QCOMPARE(ui.txtZbase->text(), QString("-"));

  ui.txtZbase->setText("5");
  QCOMPARE(ui.txtZbase2->text(), QString("5"));
  ui.txtZbase->setText("-");
  QCOMPARE(ui.txtZbase->text(), QString("-"));
  QCOMPARE(ui.txtZbase2->text(), QString("5"));
  QCOMPARE(window_->state().Zbase, 5.0);
  ui.txtZbase->setText("-7");
  QCOMPARE(ui.txtZbase2->text(), QString("-7"));
  QCOMPARE(window_->state().Zbase, -7.0);
}

void StartupTest::theUnitCountFollowsTheBoundaryCount() {
  Ui::formMain& ui = window_->ui();
  const QList<QPair<QString, QString>> cases = {
      {"3", "4"}, {"2.5", "3.5"}, {"abc", "1"}, {"", "1"}, {"-1", "0"}};
  for (const auto& [typed, units] : cases) {
    ui.txtNbd->setText(typed);
    QCOMPARE(ui.txtNbd1->text(), units);
  }
}

void StartupTest::commandStatesFollowTheProgressFlags() {
  Ui::formMain& ui = window_->ui();
  const auto followSession = [&] {
    const CommandStates states = window_->session().commandStates();
    return ui.cmdGeoMap->isEnabled() == states.geoMap &&
           ui.cmdGeoSection->isEnabled() == states.geoSection &&
           ui.cmdGeoSectionLine->isEnabled() == states.geoSectionLine &&
           ui.cmdContour->isEnabled() == states.contour && ui.cmdGrid->isEnabled() == states.grid;
  };
  ui.txtCst->setText("0");
  ui.txtCen->setText("10");
  ui.txtCin->setText("1");
  ui.chkContour->setChecked(true);
  QVERIFY(!ui.cmdContour->isEnabled());  // nothing draws before a view
  QVERIFY(followSession());

  ui.txtSca->setText("1");
  QVERIFY(ui.cmdGrid->isEnabled());
  QVERIFY(ui.cmdContour->isEnabled());
  QVERIFY(!ui.cmdGeoMap->isEnabled());  // no model, no grid yet
  QVERIFY(followSession());

  QTest::mouseClick(ui.cmd2Layer, Qt::LeftButton);
  QVERIFY(!ui.cmdGeoMap->isEnabled());
  QVERIFY(followSession());
  ui.chkContour->setChecked(false);
  QVERIFY(!ui.cmdContour->isEnabled());
  QVERIFY(followSession());
}

void StartupTest::theVersionMessage() {
  QTest::mouseClick(window_->ui().cmdVersion, Qt::LeftButton);
  QCOMPARE(dialogs_->messages.size(), 1);
  const QStringList words = dialogs_->messages.first().split(' ');
  QCOMPARE(dialogs_->messages.first().count('\n'), 0);
  QVERIFY(dialogs_->messages.first().startsWith("Kalvenor 2003 "));
  QCOMPARE(words.last(), QString("(2004/12/25)"));
  QVERIFY(dialogs_->messageIcons.front() == Dialogs::Icon::None);
}

void StartupTest::aMissingDefaultFileIsReportedAndTheViewerStillStarts() {
  QTemporaryDir empty;
  start(empty.path());
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages.first().contains(QDir(empty.path()).filePath("default.txt")));
  QVERIFY(dialogs_->messages.first().contains("cannot be opened"));
  QVERIFY(dialogs_->messages.first().contains("nor is there"));
  QCOMPARE(window_->state().defaults.defaultAlpha, DefaultValues{}.defaultAlpha);
  QCOMPARE(window_->ui().txtSepInt->text(), QString("20"));  // the reset went on
}

// A device would be read until memory runs out: it is named as what it is, not read.
void StartupTest::aDeviceAsDefaultFileIsReportedAndTheViewerStillStarts() {
  QTemporaryDir folder;
  QVERIFY(QFile::link("/dev/zero", folder.filePath("default.txt")));
  start(folder.path());
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages.first().contains(folder.filePath("default.txt")));
  QVERIFY(dialogs_->messages.first().contains("is a device, not a file"));
  QCOMPARE(window_->state().defaults.defaultAlpha, DefaultValues{}.defaultAlpha);
}

void StartupTest::aShortDefaultFileIsReportedAndNoValueOfItIsUsed() {
  QTemporaryDir folder;
  QFile file(folder.filePath("default.txt"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("Alpha\n90\nGamma\n");
  file.close();
  start(folder.path());
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages.first().contains("ends after 1 of 6 values"));
  QCOMPARE(window_->state().defaults.defaultAlpha, DefaultValues{}.defaultAlpha);
}

void StartupTest::theDrawingWindowSizeIsShown() {
  FormImage& image = window_->formImage();
  image.resize(300, 240);
  QTRY_COMPARE(window_->ui().lblWinX->text(), QString::number(image.frameGeometry().width()));
  QTRY_COMPARE(window_->ui().lblWinY->text(), QString::number(image.frameGeometry().height()));
  QTRY_COMPARE(image.canvas().width(), 300.0);
  QTRY_COMPARE(image.canvas().height(), 240.0);
}

void StartupTest::endClosesEveryWindow() {
  QVERIFY(window_->formImage().isVisible());
  QTest::mouseClick(window_->ui().cmdEnd, Qt::LeftButton);
  QVERIFY(!window_->isVisible());
  QVERIFY(!window_->formImage().isVisible());
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
