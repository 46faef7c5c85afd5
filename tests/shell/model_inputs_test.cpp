#include <QFileInfo>
#include <QHeaderView>
#include <QtTest>
#include <memory>

#include "imagewin/form_image.h"
#include "model/boundary_grids.h"
#include "model/number_text.h"
#include "test_paths.h"
#include "window_fixture.h"

using namespace kalvenor;

class ModelInputsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void loadingAModelFileShowsItEverywhere();
  void aBadModelFileLeavesThePreviousModel();
  void theTwoUnitTemplate();
  void sizingByHandThenCellButtons();
  void sizingRejectsCountsThePatternCannotHold();
  void modelResetReleasesTheModelAndItsCommands();
  void boundaryFilesArePickedLowestFirst();
  void aBadBoundaryFileEndsTheSequenceWithAMessage();
  void withoutBoundariesNothingIsAsked();
  void loadingTheDisplaySurface();
  void aCancelledOrBadDisplayFileKeepsTheSurface();
  void theMismatchWarning();
  void theColourSequenceDrawsTheLegendBottomUp();
  void aCancelledColourEndsTheSequence();
  void aHeaderClickSetsTheBoundaryColour();
  void reloadingWithTheSameCountKeepsFilesAndColours();
  void reloadingWithAnotherCountOpensStepsTwoAndThreeAgain();
  void aBoundaryFileThatNoLongerReadsIsDroppedOnReload();
  void aModelResetOpensTheLaterStepsAgain();
  void sizingByHandWidensTheColumnsForTheNewCount();
  void theSequenceDialogsSayWhatTheyAskFor();
  void valuesAfterTheLastElevationAreWarnedOfAndTheGridKept();

 private:
  QString write(const QString& name, const QByteArray& content) {
    return fixture_->write(name, content);
  }
  void loadModel(const QByteArray& content);
  void loadDisplay(const QByteArray& content);
  void clickHeader(int column);
  void completeEveryStep();
  bool legendIs(const QColor& bottom, const QColor& top);
  Ui::formMain& ui() { return window_->ui(); }
  const ViewerState& state() { return window_->state(); }
  QStringList listed(QListWidget* list);

  std::unique_ptr<WindowFixture> fixture_;
  ScriptedDialogs* dialogs_ = nullptr;
  FormMain* window_ = nullptr;
};

const QByteArray kModel = "2\nb1, b2\nA, -1, -1\nB, 1, -1\nU, 0, 1\n";
const QByteArray kDisplay = "3, 2, 1200, -3400, 50, 50, 100.3, 101, 102, 103, 104, 180";
const PackedColor kRed = packRgb(255, 0, 0);
const PackedColor kGreen = packRgb(0, 255, 0);
const PackedColor kBlue = packRgb(0, 0, 255);
const PackedColor kMagenta = packRgb(200, 0, 200);

void ModelInputsTest::init() {
  fixture_ = std::make_unique<WindowFixture>();
  dialogs_ = &fixture_->dialogs;
  window_ = &fixture_->window;
}

void ModelInputsTest::cleanup() { fixture_.reset(); }

void ModelInputsTest::loadModel(const QByteArray& content) {
  dialogs_->files.push_back(write("model.txt", content));
  QTest::mouseClick(ui().cmdOpenModel, Qt::LeftButton);
}

void ModelInputsTest::loadDisplay(const QByteArray& content) {
  dialogs_->files.push_back(write("display.txt", content));
  QTest::mouseClick(ui().cmdOpenDisplayFile, Qt::LeftButton);
}

void ModelInputsTest::clickHeader(int column) { clickColumnHeader(*ui().grdModel, column); }

// kModel over two flat boundaries (10 and 20) under kDisplay, every unit coloured, boundary 2
// drawn in magenta, the 3D-map grid built and the default view applied.
void ModelInputsTest::completeEveryStep() {
  loadModel(kModel);
  dialogs_->files = {write("b1.txt", "3,2,1200,-3400,50,50,10,10,10,10,10,10"),
                     write("b2.txt", "3,2,1200,-3400,50,50,20,20,20,20,20,20")};
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  dialogs_->colors = {kRed, kGreen, kBlue};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);
  dialogs_->colors = {kMagenta};
  clickHeader(1);
  loadDisplay(kDisplay);
  QTest::mouseClick(ui().cmdKalvenor, Qt::LeftButton);
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  QVERIFY(dialogs_->messages.isEmpty());
  QCOMPARE(state().boundaryColor[2], kMagenta);
  QVERIFY(ui().cmdGeoMap->isEnabled());
  QVERIFY(!ui().lbl5->isVisibleTo(window_));
}

bool ModelInputsTest::legendIs(const QColor& bottom, const QColor& top) {
  const QImage legend = window_->legend().toImage();
  return legend.pixelColor(legend.width() / 2, legend.height() - 1) == bottom &&
         legend.pixelColor(legend.width() / 2, 0) == top;
}

QStringList ModelInputsTest::listed(QListWidget* list) {
  QStringList items;
  for (int row = 0; row < list->count(); ++row) items << list->item(row)->text();
  return items;
}

void ModelInputsTest::loadingAModelFileShowsItEverywhere() {
  loadModel(kModel);
  QCOMPARE(dialogs_->filters.first(), QString("すべてのファイル (*.*)|*.*"));
  QTableWidget& grid = *ui().grdModel;
  QCOMPARE(grid.rowCount(), 3);
  QCOMPARE(grid.columnCount(), 2);
  QCOMPARE(grid.horizontalHeaderItem(1)->text(), QString("b2"));
  QCOMPARE(grid.verticalHeaderItem(2)->text(), QString("U"));
  QCOMPARE(grid.item(1, 0)->text(), QString("1"));
  QCOMPARE(grid.item(0, 1)->text(), QString("-1"));
  QCOMPARE(ui().txtNbd->text(), QString("2"));
  QCOMPARE(ui().txtNbd1->text(), QString("3"));
  QCOMPARE(listed(ui().lstBodyName), (QStringList{"U", "B", "A"}));
  QVERIFY(ui().lblModelFileName->text().endsWith("model.txt"));
  QVERIFY(!ui().lbl1->isVisibleTo(window_));
  QVERIFY(ui().lbl5->isVisibleTo(window_));
  QCOMPARE(state().progress.modelReady(), true);
  QCOMPARE(state().progress.modelComplete(), true);
  QCOMPARE(state().boundaryFile.size(), 3u);
  QCOMPARE(state().unitColor.size(), 4u);
  QCOMPARE(state().boundaryColor.size(), 3u);

  loadModel("1\ns\nlow, -1\nhigh, -1\n");  // incomplete: no unit lies above s
  QCOMPARE(listed(ui().lstBodyName), (QStringList{"high", "low"}));  // the new model's units only
  QVERIFY(ui().lbl1->isVisibleTo(window_));
  QCOMPARE(state().progress.modelComplete(), false);
  QCOMPARE(state().model.unitOfPattern[1], 0);
}

void ModelInputsTest::aBadModelFileLeavesThePreviousModel() {
  loadModel(kModel);
  loadModel("2\nb1, b2\nA, -1, -1\nB, 1, x\n");
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages.first().contains("model.txt"));
  QVERIFY(dialogs_->messages.first().contains("line 4"));
  QCOMPARE(state().model.Nbd, 2);
  QCOMPARE(state().model.unitName[3], std::string("U"));
  QCOMPARE(ui().grdModel->item(1, 1)->text(), QString("-1"));
  QCOMPARE(listed(ui().lstBodyName), (QStringList{"U", "B", "A"}));

  dialogs_->files.push_back(std::nullopt);
  QTest::mouseClick(ui().cmdOpenModel, Qt::LeftButton);
  QCOMPARE(dialogs_->messages.size(), 1);  // a cancel says nothing
  QCOMPARE(state().model.Nbd, 2);
}

void ModelInputsTest::theTwoUnitTemplate() {
  QTest::mouseClick(ui().cmd2Layer, Qt::LeftButton);
  QCOMPARE(ui().grdModel->rowCount(), 2);
  QCOMPARE(ui().grdModel->columnCount(), 1);
  QCOMPARE(ui().grdModel->horizontalHeaderItem(0)->text(), QString("s"));
  QCOMPARE(ui().grdModel->verticalHeaderItem(0)->text(), QString("a"));
  QCOMPARE(ui().grdModel->item(0, 0)->text(), QString("-1"));
  QCOMPARE(ui().txtNbd->text(), QString("1"));
  QCOMPARE(ui().txtNbd1->text(), QString("2"));
  QCOMPARE(ui().lblModelFileName->text(), QString());
  QCOMPARE(listed(ui().lstBodyName), (QStringList{"b", "a"}));
  QCOMPARE(state().model.unitOfPattern[0], 1);
  QCOMPARE(state().model.unitOfPattern[1], 2);
  QCOMPARE(state().progress.modelReady(), true);
}

void ModelInputsTest::sizingByHandThenCellButtons() {
  QTest::mouseClick(ui().cmd2Layer, Qt::LeftButton);
  ui().txtNbd->setText("2");
  QCOMPARE(ui().txtNbd1->text(), QString("3"));
  QTest::mouseClick(ui().cmdModelChange, Qt::LeftButton);
  QCOMPARE(ui().grdModel->rowCount(), 3);
  QCOMPARE(ui().grdModel->columnCount(), 2);
  QCOMPARE(ui().grdModel->item(0, 0)->text(), QString("-1"));  // remaining cells keep their text
  QCOMPARE(ui().grdModel->horizontalHeaderItem(0)->text(), QString("s"));
  QCOMPARE(state().model.Nbd, 2);
  QCOMPARE(state().model.unitName[1], std::string());
  QCOMPARE(state().boundaryFile.size(), 3u);

  ui().grdModel->setCurrentCell(2, 1);
  QTest::mouseClick(ui().cmdGridPlus1, Qt::LeftButton);
  QCOMPARE(ui().grdModel->item(2, 1)->text(), QString("1"));
  QCOMPARE(state().model.modelCell(3, 2), 1);
  QCOMPARE(state().model.modelCell(1, 1), -1);
  QCOMPARE(state().model.modelCell(2, 2), 0);  // a new, empty cell
  QCOMPARE(state().progress.modelReady(), true);
  QCOMPARE(state().model.unitOfPattern[1], 1);  // above boundary 2 only: unit 1 fits first
  QCOMPARE(state().model.unitOfPattern[2], 2);
  QCOMPARE(state().progress.modelComplete(), true);

  ui().grdModel->setCurrentCell(1, 0);
  QTest::mouseClick(ui().cmdGridMinus1, Qt::LeftButton);
  QCOMPARE(state().model.unitOfPattern[2], 0);  // above s, below 2: no unit any more
  QCOMPARE(state().progress.modelComplete(), false);
  QVERIFY(ui().lbl1->isVisibleTo(window_));

  QTest::mouseClick(ui().cmdGridPlus1, Qt::LeftButton);
  ui().grdModel->setCurrentCell(2, 1);
  QTest::mouseClick(ui().cmdGridZero, Qt::LeftButton);
  QCOMPARE(ui().grdModel->item(2, 1)->text(), QString("0"));
  QCOMPARE(state().model.modelCell(3, 2), 0);
  QCOMPARE(state().progress.modelComplete(), true);
  QVERIFY(!ui().lbl1->isVisibleTo(window_));
}

void ModelInputsTest::sizingRejectsCountsThePatternCannotHold() {
  loadModel(kModel);
  for (const char* typed : {"16", "-1"}) {
    ui().txtNbd->setText(typed);
    QTest::mouseClick(ui().cmdModelChange, Qt::LeftButton);
    QCOMPARE(state().model.Nbd, 2);
    QCOMPARE(ui().grdModel->columnCount(), 2);
  }
  QCOMPARE(dialogs_->messages.size(), 2);
  QVERIFY(dialogs_->messages.first().contains("from 0 to 15"));

  ui().txtNbd->setText("");
  QTest::mouseClick(ui().cmdModelChange, Qt::LeftButton);
  QCOMPARE(state().model.Nbd, 0);
  QCOMPARE(ui().grdModel->rowCount(), 1);
  QCOMPARE(ui().grdModel->columnCount(), 0);
}

void ModelInputsTest::modelResetReleasesTheModelAndItsCommands() {
  completeEveryStep();
  QVERIFY(ui().cmdGeoMap->isEnabled());
  QTest::mouseClick(ui().cmdModelReset, Qt::LeftButton);
  QVERIFY(!ui().cmdGeoMap->isEnabled());
  QCOMPARE(state().progress.modelReady(), false);
  QCOMPARE(ui().grdModel->rowCount(), 3);
  QCOMPARE(ui().grdModel->item(0, 0)->text(), QString());
  QCOMPARE(ui().grdModel->horizontalHeaderItem(0)->text(), QString());
  QCOMPARE(ui().lstBodyName->count(), 0);
  QCOMPARE(ui().txtNbd->text(), QString("2"));
  QVERIFY(ui().lbl1->isVisibleTo(window_));
  QCOMPARE(state().model.unitName[3], std::string());
  QCOMPARE(state().model.unitOfPattern[3], 3);  // the table stays until the next edit

  ui().grdModel->setCurrentCell(0, 0);
  QTest::mouseClick(ui().cmdGridPlus1, Qt::LeftButton);  // editing again is safe
  QCOMPARE(state().progress.modelReady(), true);
}

void ModelInputsTest::boundaryFilesArePickedLowestFirst() {
  loadModel("3\nb1,b2,b3\nA,-1,-1,-1\nB,1,-1,-1\nC,1,1,-1\nD,1,1,1\n");
  const QString grid = write("grid1.txt", "2, 2, 0, 0, 10, 10, 1, 2, 3, 4");
  const QString grid2 = write("grid2.txt", "2, 2, 0, 0, 10, 10, 5, 6, 7, 8");
  dialogs_->files = {grid, std::nullopt};
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  QCOMPARE(listed(ui().lstBoundaryFile), QStringList{QFileInfo(grid).fileName()});
  QCOMPARE(window_->pickIndex(), 2);
  QVERIFY(ui().cmdBoundaryFile->isEnabled());
  QVERIFY(ui().lbl2->isVisibleTo(window_));

  dialogs_->files = {grid, grid2, grid2};  // starts over: each file listed once
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  QCOMPARE(listed(ui().lstBoundaryFile),
           (QStringList{QFileInfo(grid).fileName(), QFileInfo(grid2).fileName(),
                        QFileInfo(grid2).fileName()}));
  QCOMPARE(state().boundaryFile[2], grid2.toStdString());
  QVERIFY(!ui().cmdBoundaryFile->isEnabled());
  QVERIFY(!ui().lbl2->isVisibleTo(window_));
  QCOMPARE(window_->pickIndex(), 0);

  QTest::mouseClick(ui().cmdBoundaryReset, Qt::LeftButton);
  QCOMPARE(ui().lstBoundaryFile->count(), 0);
  QVERIFY(ui().cmdBoundaryFile->isEnabled());
  QVERIFY(ui().lbl2->isVisibleTo(window_));
  QCOMPARE(state().boundaryFile[3], std::string());  // the next build does not use it either
}

void ModelInputsTest::aBadBoundaryFileEndsTheSequenceWithAMessage() {
  loadModel(kModel);
  const QString good = write("good.txt", "2, 2, 0, 0, 10, 10, 1, 2, 3, 4");
  const QString bad = write("bad.txt", "2, 2, 0, 0, 10, 10, 1, 2, 3");
  dialogs_->files = {good, bad, good};
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages.first().contains("bad.txt"));
  QVERIFY(dialogs_->messages.first().contains("3 of 4 elevations"));
  QCOMPARE(listed(ui().lstBoundaryFile), QStringList{QFileInfo(good).fileName()});
  QCOMPARE(dialogs_->files.size(), 1u);  // the sequence ended at the bad file
  QCOMPARE(state().boundaryFile[2], std::string());
}

void ModelInputsTest::withoutBoundariesNothingIsAsked() {
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  QVERIFY(dialogs_->filters.isEmpty());
  QVERIFY(!ui().cmdBoundaryFile->isEnabled());
  QVERIFY(!ui().lbl2->isVisibleTo(window_));
}

void ModelInputsTest::loadingTheDisplaySurface() {
  loadDisplay(kDisplay);
  QCOMPARE(ui().lblNx->text(), QString("3"));
  QCOMPARE(ui().lblNy->text(), QString("2"));
  QCOMPARE(ui().lblDx->text(), QString("50"));
  QCOMPARE(ui().lblXmin->text(), QString("1200"));
  QCOMPARE(ui().lblXmax->text(), QString("1300"));
  QCOMPARE(ui().lblYmin->text(), QString("-3400"));
  QCOMPARE(ui().lblYmax->text(), QString("-3350"));
  QCOMPARE(ui().lblMin->text(), QString("( 1200, -3400 )"));
  QCOMPARE(ui().lblMax->text(), QString("( 1300, -3350 )"));
  const double Zmin = state().display->Zmin;
  QVERIFY(Zmin < 100.3 && Zmin > 100.3 - 1e-6);
  QCOMPARE(ui().lblZmin->text(), QString("100.3"));  // as the file has it, without the jitter
  QCOMPARE(ui().lblZminGeo->text(), ui().lblZmin->text());
  QCOMPARE(ui().lblZmaxContour->text(), ui().lblZmax->text());
  QCOMPARE(state().Zbase, 99.0);
  QCOMPARE(ui().txtZbase->text(), QString("99"));
  QCOMPARE(ui().txtZbase2->text(), QString("99"));
  QCOMPARE(ui().lblZbase->text(), QString("99"));
  QVERIFY(!ui().lbl4->isVisibleTo(window_));
  QVERIFY(ui().lbl5->isVisibleTo(window_));
  QVERIFY(ui().lblDisplayFile->text().endsWith("display.txt"));
  QVERIFY(dialogs_->messages.isEmpty());
}

void ModelInputsTest::aCancelledOrBadDisplayFileKeepsTheSurface() {
  loadDisplay(kDisplay);
  const DisplaySurface before = *state().display;
  dialogs_->files.push_back(std::nullopt);
  QTest::mouseClick(ui().cmdOpenDisplayFile, Qt::LeftButton);
  loadDisplay("3, 2, 0, 0, 0, 50, 1, 2, 3, 4, 5, 6");
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages.first().contains("Dx must not be 0"));
  QCOMPARE(state().display->dispZ, before.dispZ);
  QCOMPARE(state().display->Xmin, 1200.0);
  QCOMPARE(ui().lblXmin->text(), QString("1200"));
}

void ModelInputsTest::theMismatchWarning() {
  loadDisplay(kDisplay);
  QVERIFY(dialogs_->messages.isEmpty());  // no grid built yet: nothing to compare
  completeEveryStep();                    // a grid built on kDisplay: its boundary tables exist
  loadDisplay(kDisplay);
  QVERIFY(dialogs_->messages.isEmpty());
  loadDisplay("4, 2, 1200, -3400, 50, 50, 1, 2, 3, 4, 5, 6, 7, 8");
  QCOMPARE(dialogs_->messages, QStringList{"境界面の格子と表示面の格子の大きさが合っていません"});
  QCOMPARE(ui().lblNx->text(), QString("4"));  // the surface is loaded all the same
}

void ModelInputsTest::theColourSequenceDrawsTheLegendBottomUp() {
  loadModel(kModel);
  const int frame = ui().picLegend->frameWidth();
  ui().picLegend->setFixedSize(40 + 2 * frame, 300 + 2 * frame);
  const PackedColor red = packRgb(255, 0, 0), green = packRgb(0, 255, 0), blue = packRgb(0, 0, 255);
  dialogs_->colors = {red, green, blue};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);
  QCOMPARE(state().unitColor, (std::vector<PackedColor>{kBlack, red, green, blue}));
  const QImage legend = window_->legend().toImage();
  QCOMPARE(legend.height(), 300);
  QCOMPARE(legend.pixelColor(20, 299), QColor(255, 0, 0));
  QCOMPARE(legend.pixelColor(20, 201), QColor(255, 0, 0));
  QCOMPARE(legend.pixelColor(20, 150), QColor(0, 255, 0));
  QCOMPARE(legend.pixelColor(20, 0), QColor(0, 0, 255));
  QVERIFY(!ui().cmdColor->isEnabled());
  QVERIFY(!ui().lbl3->isVisibleTo(window_));
  QCOMPARE(window_->pickIndex(), 0);

  QTest::mouseClick(ui().cmdColorReset, Qt::LeftButton);
  QCOMPARE(state().unitColor, (std::vector<PackedColor>{kBlack, kBlack, kBlack, kBlack}));
  QCOMPARE(window_->legend().toImage().pixelColor(20, 299), QColor(255, 255, 255));
  QVERIFY(ui().cmdColor->isEnabled());
  QVERIFY(ui().lbl3->isVisibleTo(window_));
}

void ModelInputsTest::aCancelledColourEndsTheSequence() {
  loadModel(kModel);
  dialogs_->colors = {packRgb(1, 2, 3), std::nullopt, packRgb(9, 9, 9)};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);
  QCOMPARE(state().unitColor[1], packRgb(1, 2, 3));
  QCOMPARE(state().unitColor[2], kBlack);
  QCOMPARE(dialogs_->colors.size(), 1u);
  QVERIFY(ui().cmdColor->isEnabled());
  QVERIFY(ui().lbl3->isVisibleTo(window_));

  loadModel("1\ns\nlow, -1\nhigh, 1\n");  // another unit count makes every unit black again
  QCOMPARE(state().unitColor[1], kBlack);
}

void ModelInputsTest::aHeaderClickSetsTheBoundaryColour() {
  loadModel(kModel);
  QTableWidget& grid = *ui().grdModel;
  dialogs_->colors = {packRgb(200, 10, 20), packRgb(1, 1, 1)};
  const QHeaderView* header = grid.horizontalHeader();
  const QPoint second(header->sectionViewportPosition(1) + 5, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, second);
  QCOMPARE(state().boundaryColor[2], packRgb(200, 10, 20));
  QCOMPARE(grid.horizontalHeaderItem(1)->foreground().color(), QColor(200, 10, 20));

  const QRect cell = grid.visualItemRect(grid.item(0, 0));
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
  QCOMPARE(dialogs_->colors.size(), 1u);  // a single cell opens no dialog
  QCOMPARE(state().boundaryColor[1], kBlack);

  dialogs_->colors = {std::nullopt};
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, second);
  QCOMPARE(state().boundaryColor[2], packRgb(200, 10, 20));  // a cancel changes nothing
}

void ModelInputsTest::reloadingWithTheSameCountKeepsFilesAndColours() {
  completeEveryStep();
  const QStringList files = listed(ui().lstBoundaryFile);
  loadModel("2\nlower, upper\nX, -1, 0\nY, 1, -1\nZ, 0, 1\n");
  QVERIFY(dialogs_->messages.isEmpty());
  QCOMPARE(listed(ui().lstBoundaryFile), files);
  QVERIFY(!ui().cmdBoundaryFile->isEnabled());
  QVERIFY(!ui().lbl2->isVisibleTo(window_));
  QCOMPARE(state().unitColor, (std::vector<PackedColor>{kBlack, kRed, kGreen, kBlue}));
  QVERIFY(!ui().cmdColor->isEnabled());
  QVERIFY(!ui().lbl3->isVisibleTo(window_));
  QVERIFY(legendIs(Qt::red, Qt::blue));
  QCOMPARE(listed(ui().lstBodyName), (QStringList{"Z", "Y", "X"}));
  QCOMPARE(state().boundaryColor[2], kMagenta);
  QCOMPARE(ui().grdModel->horizontalHeaderItem(1)->text(), QString("upper"));
  QCOMPARE(ui().grdModel->horizontalHeaderItem(1)->foreground().color(), QColor(200, 0, 200));
  QCOMPARE(ui().grdModel->horizontalHeaderItem(0)->foreground().color(), QColor(Qt::black));

  // The grid was classified with the old model: nothing draws from it until it is rebuilt.
  QVERIFY(!ui().cmdGeoMap->isEnabled());
  QVERIFY(!ui().cmdGeoSection->isEnabled());
  QVERIFY(!ui().cmdGeoSectionLine->isEnabled());
  QVERIFY(ui().cmdGrid->isEnabled());
  QVERIFY(ui().lbl5->isVisibleTo(window_));
  QTest::mouseClick(ui().cmdKalvenor, Qt::LeftButton);
  QVERIFY(ui().cmdGeoMap->isEnabled());
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  const QImage& picture = window_->formImage().canvas().image();
  QCOMPARE(picture.pixelColor(picture.width() / 2, picture.height() / 2), QColor(Qt::blue));
  QVERIFY(dialogs_->messages.isEmpty());
}

void ModelInputsTest::reloadingWithAnotherCountOpensStepsTwoAndThreeAgain() {
  completeEveryStep();
  loadModel("1\ns\nlow, -1\nhigh, 1\n");
  QCOMPARE(ui().lstBoundaryFile->count(), 0);
  QVERIFY(ui().cmdBoundaryFile->isEnabled());
  QVERIFY(ui().lbl2->isVisibleTo(window_));
  QCOMPARE(state().unitColor, (std::vector<PackedColor>{kBlack, kBlack, kBlack}));
  QVERIFY(ui().cmdColor->isEnabled());
  QVERIFY(ui().lbl3->isVisibleTo(window_));
  QVERIFY(legendIs(Qt::white, Qt::white));
  QCOMPARE(ui().grdModel->horizontalHeaderItem(0)->foreground().color(), QColor(Qt::black));
  QVERIFY(!ui().cmdGeoMap->isEnabled());
  QVERIFY(ui().lbl5->isVisibleTo(window_));

  // Both steps can be done again for the new model, and the template, with the same count,
  // keeps them.
  const QString s = write("s.txt", "3,2,1200,-3400,50,50,15,15,15,15,15,15");
  dialogs_->files = {s};
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  dialogs_->colors = {kRed, kBlue};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);
  dialogs_->colors = {kMagenta};
  clickHeader(0);
  QTest::mouseClick(ui().cmd2Layer, Qt::LeftButton);
  QCOMPARE(listed(ui().lstBoundaryFile), QStringList{QFileInfo(s).fileName()});
  QVERIFY(!ui().cmdBoundaryFile->isEnabled());
  QVERIFY(legendIs(Qt::red, Qt::blue));
  QCOMPARE(ui().grdModel->horizontalHeaderItem(0)->foreground().color(), QColor(200, 0, 200));

  // Sized by hand to another count, once the user agrees to drop the files and colours: the old
  // header text stays, but no longer in a line colour.
  ui().txtNbd->setText("2");
  dialogs_->answers = {true};
  QTest::mouseClick(ui().cmdModelChange, Qt::LeftButton);
  QCOMPARE(dialogs_->questions.size(), 1);
  QCOMPARE(ui().grdModel->horizontalHeaderItem(0)->text(), QString("s"));
  QCOMPARE(ui().grdModel->horizontalHeaderItem(0)->foreground().color(), QColor(Qt::black));
  QCOMPARE(ui().lstBoundaryFile->count(), 0);
  QVERIFY(ui().cmdColor->isEnabled());
  QVERIFY(legendIs(Qt::white, Qt::white));
  QVERIFY(ui().lbl1->isVisibleTo(window_));  // a blank model is ready after its first cell
  QCOMPARE(state().progress.modelReady(), false);
  QCOMPARE(ui().lblModelFileName->text(), QString());
}

void ModelInputsTest::aBoundaryFileThatNoLongerReadsIsDroppedOnReload() {
  completeEveryStep();
  const QString b1 = listed(ui().lstBoundaryFile).first();
  write("b2.txt", "3,2,1200,-3400,50,50,20,20");
  loadModel(kModel);
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages.first().contains("b2.txt"));
  QVERIFY(dialogs_->messages.first().contains("dropped"));
  QCOMPARE(listed(ui().lstBoundaryFile), QStringList{b1});
  QCOMPARE(state().boundaryFile[2], std::string());
  QVERIFY(ui().cmdBoundaryFile->isEnabled());
  QVERIFY(ui().lbl2->isVisibleTo(window_));
  QVERIFY(!ui().cmdColor->isEnabled());  // the colours are not the files' business
}

void ModelInputsTest::aModelResetOpensTheLaterStepsAgain() {
  completeEveryStep();
  QTest::mouseClick(ui().cmdModelReset, Qt::LeftButton);
  QCOMPARE(ui().lstBoundaryFile->count(), 0);
  QVERIFY(ui().cmdBoundaryFile->isEnabled());
  QVERIFY(ui().lbl2->isVisibleTo(window_));
  QVERIFY(ui().cmdColor->isEnabled());
  QVERIFY(ui().lbl3->isVisibleTo(window_));
  QVERIFY(legendIs(Qt::white, Qt::white));
  QVERIFY(!ui().cmdGeoMap->isEnabled());
  QVERIFY(ui().lbl5->isVisibleTo(window_));
}

void ModelInputsTest::sizingByHandWidensTheColumnsForTheNewCount() {
  loadModel(kModel);
  ui().grdModel->setFixedWidth(300);  // 4500 twips, 400 of them for the frame
  QTRY_COMPARE(ui().grdModel->width(), 300);
  ui().txtNbd->setText("14");
  QTest::mouseClick(ui().cmdModelChange, Qt::LeftButton);
  QCOMPARE(ui().grdModel->columnCount(), 14);
  QVERIFY(ui().grdModel->columnWidth(13) < 33);  // 15 columns share 4100 twips
  ui().txtNbd->setText("2");
  QTest::mouseClick(ui().cmdModelChange, Qt::LeftButton);
  // Three columns have room for 500 twips each, 33 pixels.
  QCOMPARE(ui().grdModel->columnWidth(0), 33);
  QCOMPARE(ui().grdModel->columnWidth(1), 33);
}

void ModelInputsTest::theSequenceDialogsSayWhatTheyAskFor() {
  loadModel(kModel);
  const QString grid = write("grid.txt", "2, 2, 0, 0, 10, 10, 1, 2, 3, 4");
  dialogs_->titles.clear();
  dialogs_->files = {grid, grid};
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  QCOMPARE(dialogs_->titles, (QStringList{"境界面 1 / 2: b1", "境界面 2 / 2: b2"}));
  dialogs_->titles.clear();
  dialogs_->colors = {kRed, kGreen, kBlue};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);
  QCOMPARE(dialogs_->titles, (QStringList{"地質 1 / 3: A", "地質 2 / 3: B", "地質 3 / 3: U"}));

  // A model sized by hand has no names to show; the user agrees to drop the files and colours.
  ui().txtNbd->setText("1");
  dialogs_->answers = {true};
  QTest::mouseClick(ui().cmdModelChange, Qt::LeftButton);
  dialogs_->titles.clear();
  dialogs_->files = {grid};
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  dialogs_->colors = {kRed};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);  // cancelled at the second unit
  QCOMPARE(dialogs_->titles, (QStringList{"境界面 1 / 1", "地質 1 / 2", "地質 2 / 2"}));
}

// Decimal commas split "394,94" into two numbers: the grid loads, and the user hears of the
// surplus.
void ModelInputsTest::valuesAfterTheLastElevationAreWarnedOfAndTheGridKept() {
  loadModel(kModel);
  const QString commas = write("commas.txt", "2 2 0 0 10 10 394,94 395,45 396,10 397,80\n");
  const QString exact = write("exact.txt", "2, 2, 0, 0, 10, 10, 1, 2, 3, 4");
  dialogs_->files = {commas, exact};
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages[0].contains("commas.txt"));
  QVERIFY(dialogs_->messages[0].contains("4 values"));
  QCOMPARE(listed(ui().lstBoundaryFile).size(), 2);

  loadDisplay("3, 2, 1200, -3400, 50, 50, 1, 2, 3, 4, 5, 6, 7");
  QCOMPARE(dialogs_->messages.size(), 2);
  QVERIFY(dialogs_->messages[1].contains("display.txt") &&
          dialogs_->messages[1].contains("1 value"));
  QCOMPARE(ui().lblNx->text(), QString("3"));
}

QTEST_MAIN(ModelInputsTest)
#include "model_inputs_test.moc"
