#include <QDir>
#include <QtTest>
#include <memory>

#include "window_fixture.h"

using namespace kalvenor;

// Colours and files from the window: a colour file read by "色ファイルから入力", colour dialogs
// that open on the unit's colour, names beside their swatches, boundary names and file names
// shown whole.
class ColourInputsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void aColourFileColoursUnitsAndBoundaries();
  void aColourFileWithAnErrorChangesNoColour_data();
  void aColourFileWithAnErrorChangesNoColour();
  void eachColourDialogOpensOnTheUnitsColour();
  void eachUnitNameHasItsSwatchBesideIt();
  void boundaryHeadersShowTheWholeName();
  void theBoundaryListShowsFileNamesAndTheFolderInTheTip();

 private:
  Ui::formMain& ui() { return window_->ui(); }
  const ViewerState& state() { return window_->state(); }
  void loadModel(const QByteArray& content);
  void readColourFile(const QByteArray& content);
  QColor swatchOf(int row);

  std::unique_ptr<WindowFixture> fixture_;
  ScriptedDialogs* dialogs_ = nullptr;
  FormMain* window_ = nullptr;
};

const QByteArray kModel = "2\nb1, b2\nA, -1, -1\nB, 1, -1\nU, 0, 1\n";
const PackedColor kRed = packRgb(255, 0, 0);
const PackedColor kGreen = packRgb(0, 255, 0);
const PackedColor kBlue = packRgb(0, 0, 255);

void ColourInputsTest::init() {
  fixture_ = std::make_unique<WindowFixture>();
  dialogs_ = &fixture_->dialogs;
  window_ = &fixture_->window;
}

void ColourInputsTest::cleanup() { fixture_.reset(); }

void ColourInputsTest::loadModel(const QByteArray& content) {
  dialogs_->files.push_back(fixture_->write("model.txt", content));
  QTest::mouseClick(ui().cmdOpenModel, Qt::LeftButton);
}

void ColourInputsTest::readColourFile(const QByteArray& content) {
  dialogs_->files.push_back(fixture_->write("colours.txt", content));
  QTest::mouseClick(ui().cmdColorFile, Qt::LeftButton);
}

QColor ColourInputsTest::swatchOf(int row) {
  const QIcon icon = ui().lstBodyName->item(row)->icon();
  const QImage image = icon.pixmap(16, 16).toImage();
  return image.pixelColor(image.width() / 2, image.height() / 2);
}

void ColourInputsTest::aColourFileColoursUnitsAndBoundaries() {
  loadModel(kModel);
  readColourFile(
      "# colours of the basin\nunit 1 #ff0000 砂岩\nunit 2 #00ff00\r\nunit 3 #0000FF 泥岩 上部\n"
      "boundary 2 #0000ff 不整合面\n");
  QVERIFY(dialogs_->messages.isEmpty());
  QCOMPARE(state().unitColor, (std::vector<PackedColor>{kBlack, kRed, kGreen, kBlue}));
  QCOMPARE(state().boundaryColor, (std::vector<PackedColor>{kBlack, kBlack, kBlue}));
  const QImage legend = window_->legend().toImage();
  QCOMPARE(legend.pixelColor(legend.width() / 2, legend.height() - 1), QColor(255, 0, 0));
  QCOMPARE(legend.pixelColor(legend.width() / 2, 0), QColor(0, 0, 255));
  QCOMPARE(ui().grdModel->horizontalHeaderItem(1)->foreground().color(), QColor(0, 0, 255));
  QVERIFY(!ui().lbl3->isVisibleTo(window_));
}

void ColourInputsTest::aColourFileWithAnErrorChangesNoColour_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<QString>("cause");
  QTest::newRow("not a colour") << QByteArray("unit 1 #ff0000\nunit 2 #00gg00\nunit 3 #0000ff\n")
                                << "line 2";
  QTest::newRow("a unit left out")
      << QByteArray("unit 1 #ff0000\nunit 3 #0000ff\n") << "no colour for unit 2";
  QTest::newRow("neither unit nor boundary")
      << QByteArray("unit 1 #ff0000\nlayer 2 #00ff00\n") << "line 2";
  QTest::newRow("no number") << QByteArray("unit one #ff0000\n") << "line 1";
}

void ColourInputsTest::aColourFileWithAnErrorChangesNoColour() {
  QFETCH(QByteArray, content);
  QFETCH(QString, cause);
  loadModel(kModel);
  dialogs_->colors = {kGreen};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);  // unit 1 only
  const std::vector<PackedColor> units = state().unitColor;
  const std::vector<PackedColor> boundaries = state().boundaryColor;
  readColourFile(content + "boundary 1 #123456\n");
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY2(dialogs_->messages.first().contains("colours.txt"),
           qPrintable(dialogs_->messages.first()));
  QVERIFY2(dialogs_->messages.first().contains(cause), qPrintable(dialogs_->messages.first()));
  QVERIFY(dialogs_->messages.first().startsWith("\"色ファイルから入力\""));
  QCOMPARE(state().unitColor, units);
  QCOMPARE(state().boundaryColor, boundaries);
  QVERIFY(ui().lbl3->isVisibleTo(window_));
}

// A sequence ended early leaves the units after it black; the next one opens on each unit's
// colour, so a user keeps a colour with OK.
void ColourInputsTest::eachColourDialogOpensOnTheUnitsColour() {
  loadModel(kModel);
  dialogs_->colors = {kRed, kGreen};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);
  dialogs_->initialColors.clear();
  dialogs_->colors = {kRed, kBlue, kBlue};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);
  QCOMPARE(dialogs_->initialColors, (std::vector<PackedColor>{kRed, kGreen, kBlack}));

  dialogs_->initialColors.clear();
  dialogs_->colors = {std::nullopt};
  clickColumnHeader(*ui().grdModel, 0);
  QCOMPARE(dialogs_->initialColors, (std::vector<PackedColor>{kBlack}));
}

// The list names the highest unit first, as the legend stacks them; each row shows its unit's
// colour, and a row without one yet shows none.
void ColourInputsTest::eachUnitNameHasItsSwatchBesideIt() {
  loadModel(kModel);
  dialogs_->colors = {kRed, kGreen};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);
  QCOMPARE(ui().lstBodyName->item(0)->text(), QString("U"));
  QCOMPARE(swatchOf(0).alpha(), 0);
  QCOMPARE(swatchOf(1), QColor(0, 255, 0));
  QCOMPARE(swatchOf(2), QColor(255, 0, 0));
  dialogs_->colors = {kBlue};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);
  QCOMPARE(swatchOf(2), QColor(0, 0, 255));  // the sequence starts again at unit 1
  QCOMPARE(swatchOf(1), QColor(0, 255, 0));
  QCOMPARE(swatchOf(0).alpha(), 0);
}

void ColourInputsTest::boundaryHeadersShowTheWholeName() {
  const QString longName = "白亜系上部層群の基底をなす不整合面";
  loadModel(("2\n" + longName + ", b2\nA, -1, -1\nB, 1, -1\nU, 0, 1\n").toUtf8());
  QTableWidget& grid = *ui().grdModel;
  QHeaderView& header = *grid.horizontalHeader();
  QCOMPARE(grid.horizontalHeaderItem(0)->text(), longName);
  QVERIFY(header.sectionSize(0) >= header.fontMetrics().horizontalAdvance(longName));
  QVERIFY(header.sectionSize(0) > header.sectionSize(1));
}

void ColourInputsTest::theBoundaryListShowsFileNamesAndTheFolderInTheTip() {
  loadModel(kModel);
  QDir(fixture_->folder.path()).mkdir("grids");
  const QString first = fixture_->write("grids/b1.txt", "3,2,1200,-3400,50,50,10,10,10,10,10,10");
  const QString second = fixture_->write("b2.txt", "3,2,1200,-3400,50,50,20,20,20,20,20,20");
  dialogs_->files = {first, second};
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  QListWidget& list = *ui().lstBoundaryFile;
  QCOMPARE(list.count(), 2);
  QCOMPARE(list.item(0)->text(), QString("b1.txt"));
  QCOMPARE(list.item(1)->text(), QString("b2.txt"));
  QCOMPARE(list.item(0)->toolTip(), QDir::toNativeSeparators(first));
  QCOMPARE(list.item(1)->toolTip(), QDir::toNativeSeparators(second));
}

QTEST_MAIN(ColourInputsTest)
#include "colour_inputs_test.moc"
