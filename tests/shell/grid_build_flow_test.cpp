#include <QtTest>
#include <memory>
#include <new>

#include "test_paths.h"
#include "window_fixture.h"

using namespace kalvenor;

// From the files to a 3D-map grid, then a section grid, then the map grid again, as a user
// would do it, checking what the window shows after each step.
class GridBuildFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void filesThenMapGridThenSectionGrid();
  void aFailedBuildChangesNothing();
  void aBuildThatRunsOutOfMemorySaysWhichStepAndChangesNothing();

 private:
  QString write(const QString& name, const QByteArray& content) {
    return fixture_->write(name, content);
  }
  void loadInputs();
  Ui::formMain& ui() { return window_->ui(); }
  const ViewerState& state() { return window_->state(); }

  std::unique_ptr<WindowFixture> fixture_;
  ScriptedDialogs* dialogs_ = nullptr;
  FormMain* window_ = nullptr;
};

void GridBuildFlowTest::init() {
  fixture_ = std::make_unique<WindowFixture>();
  dialogs_ = &fixture_->dialogs;
  window_ = &fixture_->window;
}

void GridBuildFlowTest::cleanup() { fixture_.reset(); }

// The two-unit template over a boundary at 15 and a 5 x 5 surface rising from 30 to 40.
void GridBuildFlowTest::loadInputs() {
  QTest::mouseClick(ui().cmd2Layer, Qt::LeftButton);
  dialogs_->files.push_back(write("boundary.txt", "2,2,0,0,100,100,15,15,15,15"));
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  QByteArray display = "5,5,0,0,25,25";
  for (int i = 0; i < 5; ++i) {
    for (int j = 0; j < 5; ++j) display += "," + QByteArray::number(30 + 2.5 * i);
  }
  dialogs_->files.push_back(write("display.txt", display));
  QTest::mouseClick(ui().cmdOpenDisplayFile, Qt::LeftButton);
  ui().txtZbase->setText("0");
  QVERIFY(dialogs_->messages.isEmpty());
  ui().txtSca->setText("1");  // a view, so that the drawing commands can follow the builds
}

void GridBuildFlowTest::filesThenMapGridThenSectionGrid() {
  loadInputs();
  ui().chkSide->setChecked(false);
  QVERIFY(ui().lbl5->isVisibleTo(window_));

  QTest::mouseClick(ui().cmdKalvenor, Qt::LeftButton);
  QVERIFY(dialogs_->messages.isEmpty());
  QCOMPARE(state().progress.mapGrid(), GridState::Current);
  QCOMPARE(state().progress.sectionGrid(), GridState::None);
  QCOMPARE(state().mapGrid->Nz, 5);
  QCOMPARE(state().mapGrid->mapUnit(3, 3), 2);  // the surface lies above the boundary
  QVERIFY(ui().chkSide->isChecked());
  QVERIFY(!ui().lbl5->isVisibleTo(window_));
  QVERIFY(ui().cmdGeoMap->isEnabled());
  QVERIFY(!ui().cmdGeoSection->isEnabled());

  ui().optSection2->setChecked(true);
  ui().txtXstart->setText("10");
  ui().txtYstart->setText("50");
  ui().txtXend->setText("90");
  ui().txtYend->setText("50");
  QTest::mouseClick(ui().cmdSectionModel, Qt::LeftButton);
  QVERIFY(dialogs_->messages.isEmpty());
  QCOMPARE(ui().lblNxyS->text(), QString("9"));  // 100 long, 12.5 apart
  QCOMPARE(ui().lblXminS->text(), QString("0"));
  QCOMPARE(ui().lblXmaxS->text(), QString("100"));
  QCOMPARE(ui().lblYminS->text(), QString("50"));
  QCOMPARE(ui().lblDxxS->text(), QString("12.5"));
  QCOMPARE(ui().lblDyyS->text(), QString("0"));
  QCOMPARE(ui().lblZminS->text(), QString("0"));
  QCOMPARE(ui().lblNzS->text(), QString("9"));  // raised from 4 to Nxy
  // Figures show with the fewest digits that read back as them but for arithmetic noise.
  const auto readsBack = [](const QLabel* label, double value) {
    return std::abs(label->text().toDouble() - value) <= 1e-14 * std::abs(value);
  };
  QVERIFY(readsBack(ui().lblDzzS, state().section->Dzz));
  QVERIFY(readsBack(ui().lblZmaxS, 8 * state().section->Dzz));
  QCOMPARE(ui().txtXstart->text(), QString("10"));  // the boxes keep what was typed
  QCOMPARE(state().progress.sectionGrid(), GridState::Current);
  QCOMPARE(state().progress.mapGrid(), GridState::Superseded);
  QVERIFY(ui().cmdGeoMap->isEnabled());  // the map's grid is kept beside the section's
  QVERIFY(ui().cmdGeoSection->isEnabled());
  QVERIFY(ui().cmdGeoSectionLine->isEnabled());
  // The frontal view of an east-west line: looking north, west on the left.
  QCOMPARE(ui().txtAlpha->text(), QString("180"));
  QCOMPARE(ui().txtGamma->text(), QString("0"));
  QCOMPARE(ui().txtSca->text(), QString("1.4"));
  QCOMPARE(ui().txtVe->text(), QString("1"));

  QTest::mouseClick(ui().cmdKalvenor, Qt::LeftButton);
  QCOMPARE(state().progress.mapGrid(), GridState::Current);
  QCOMPARE(state().progress.sectionGrid(), GridState::Superseded);
  QVERIFY(ui().cmdGeoMap->isEnabled());
  QVERIFY(ui().cmdGeoSection->isEnabled());
  QVERIFY(!state().sectionGrid->empty());
  QCOMPARE(ui().lblNxyS->text(), QString("9"));
}

void GridBuildFlowTest::aFailedBuildChangesNothing() {
  QTest::mouseClick(ui().cmdKalvenor, Qt::LeftButton);
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages.first().contains("no logical model"));
  dialogs_->messages.clear();

  loadInputs();
  QTest::mouseClick(ui().cmdKalvenor, Qt::LeftButton);
  const MapGrid before = *state().mapGrid;
  ui().optSection1->setChecked(true);
  ui().txtXstart->setText("500");
  ui().txtYstart->setText("0");
  ui().txtFai->setText("45");
  QTest::mouseClick(ui().cmdSectionModel, Qt::LeftButton);
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages.last().contains("does not cross"));
  QCOMPARE(state().progress.mapGrid(), GridState::Current);
  QCOMPARE(state().progress.sectionGrid(), GridState::None);
  QCOMPARE(state().mapGrid->mapUnit, before.mapUnit);
  QCOMPARE(ui().lblNxyS->text(), QString());

  QFile::remove(fixture_->folder.filePath("boundary.txt"));
  QTest::mouseClick(ui().cmdKalvenor, Qt::LeftButton);
  QCOMPARE(dialogs_->messages.size(), 2);
  QVERIFY(dialogs_->messages.last().contains("boundary.txt"));
  QCOMPARE(state().progress.mapGrid(), GridState::Current);
}

void GridBuildFlowTest::aBuildThatRunsOutOfMemorySaysWhichStepAndChangesNothing() {
  loadInputs();
  QTest::mouseClick(ui().cmdKalvenor, Qt::LeftButton);
  const MapGrid before = *state().mapGrid;
  window_->session().setStepHook([](const std::string& step) {
    if (step.starts_with("build")) throw std::bad_alloc();
  });
  ui().txtXstart->setText("10");
  ui().txtYstart->setText("50");
  ui().txtXend->setText("90");
  ui().txtYend->setText("50");
  QTest::mouseClick(ui().cmdSectionModel, Qt::LeftButton);
  QTest::mouseClick(ui().cmdKalvenor, Qt::LeftButton);
  QCOMPARE(dialogs_->messages,
           (QStringList{"\"( ５－２ ) 地質断面図 表示格子の作成\": not enough memory to build the "
                        "section grid",
                        "\"( ５－１ ) ３次元地質図 表示格子の作成\": not enough memory to build "
                        "the 3D-map grid of 5 x 5 nodes"}));
  QCOMPARE(state().mapGrid->mapUnit, before.mapUnit);
  QCOMPARE(state().progress.mapGrid(), GridState::Current);
  QCOMPARE(state().progress.sectionGrid(), GridState::None);
  QCOMPARE(ui().lblNxyS->text(), QString());
  QVERIFY(ui().cmdGeoMap->isEnabled());
  QVERIFY(!ui().cmdGeoSection->isEnabled());
}

QTEST_MAIN(GridBuildFlowTest)
#include "grid_build_flow_test.moc"
