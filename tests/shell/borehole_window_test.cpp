#include <QtTest>
#include <cmath>

#include "example_inputs.h"
#include "imagewin/form_image.h"
#include "picture_check.h"
#include "shell/borehole_check_table.h"
#include "shell/preload.h"
#include "shell/window_fixture.h"

using namespace kalvenor;

// The "ボーリング" group on ①: the example's tables picked and read, how many holes they hold,
// the model check's table worst first and sorted by a header click; a table that cannot be read
// and a buffer of 0 change nothing; a saved session opens again with its holes drawn.
class BoreholeWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void theExampleHolesAreReadAndChecked();
  void aTableThatCannotBeReadKeepsTheHoles();
  void aBufferOfZeroIsRefused();
  void aSavedSessionReopensItsHoles();
};

namespace {

const QString kExample = KALVENOR_EXAMPLES_DIR "/folded-basin/";

void readExampleHoles(WindowFixture& fixture) {
  SessionOptions options;
  options.inputs = exampleInputFiles();
  options.start = Point2{30200, 41000};
  options.end = Point2{34800, 43500};
  preload(fixture.window, options);
  Ui::formMain& ui = fixture.window.ui();
  const std::pair<QPushButton*, QString> picks[] = {{ui.cmdCollarsFile, "collars.csv"},
                                                    {ui.cmdSurveysFile, "surveys.csv"},
                                                    {ui.cmdIntervalsFile, "intervals.csv"}};
  for (const auto& [button, table] : picks) {
    fixture.dialogs.files = {kExample + table};
    QTest::mouseClick(button, Qt::LeftButton);
  }
  QTest::mouseClick(ui.cmdBoreholesRead, Qt::LeftButton);
}

QString cellText(const QTableWidget& table, int row, CheckColumn column) {
  const QTableWidgetItem* item = table.item(row, static_cast<int>(column));
  return item ? item->text() : QString();
}

// The column's numbers from the top down, a blank as NaN.
std::vector<double> columnNumbers(const QTableWidget& table, CheckColumn column) {
  std::vector<double> numbers;
  for (int row = 0; row < table.rowCount(); ++row) {
    const QString text = cellText(table, row, column);
    numbers.push_back(text.isEmpty() ? std::nan("") : text.toDouble());
  }
  return numbers;
}

}  // namespace

void BoreholeWindowTest::theExampleHolesAreReadAndChecked() {
  WindowFixture fixture;
  readExampleHoles(fixture);
  Ui::formMain& ui = fixture.window.ui();
  QCOMPARE(ui.lblBoreholeCount->text(), QStringLiteral("25 孔"));
  QCOMPARE(ui.lblCollarsFile->text(), QStringLiteral("collars.csv"));
  // BH07's basalt sill is a unit the model does not have: read, drawn in grey, and warned of.
  QCOMPARE(fixture.dialogs.messages.size(), 1);
  QVERIFY2(fixture.dialogs.messages[0].contains("玄武岩"), qPrintable(fixture.dialogs.messages[0]));

  QTest::mouseClick(ui.cmdBoreholeCheck, Qt::LeftButton);
  const QTableWidget& table = *ui.tblBoreholeCheck;
  QVERIFY(table.rowCount() > 25);
  QCOMPARE(cellText(table, 0, CheckColumn::Hole), QStringLiteral("BH08"));
  const double worst = cellText(table, 0, CheckColumn::Residual).toDouble();
  QVERIFY2(std::abs(worst + 15) < 1.5, qPrintable(QString::number(worst)));
  QVERIFY(ui.lblBoreholeAgreement->text().startsWith("一致率"));

  // A click on the residual's header sorts by value, contacts the model lacks last.
  clickColumnHeader(*ui.tblBoreholeCheck, static_cast<int>(CheckColumn::Residual));
  const std::vector<double> residuals = columnNumbers(table, CheckColumn::Residual);
  const auto blank =
      std::find_if(residuals.begin(), residuals.end(), [](double r) { return std::isnan(r); });
  QVERIFY(std::is_sorted(residuals.begin(), blank));
  QVERIFY(std::all_of(blank, residuals.end(), [](double r) { return std::isnan(r); }));
  QCOMPARE(residuals.front(), worst);
  clickColumnHeader(*ui.tblBoreholeCheck, static_cast<int>(CheckColumn::Hole));
  QCOMPARE(cellText(table, 0, CheckColumn::Hole), QStringLiteral("BH01"));

  // Holes read anew no longer match the rows, which go.
  QTest::mouseClick(ui.cmdBoreholesClear, Qt::LeftButton);
  QCOMPARE(table.rowCount(), 0);
  QCOMPARE(ui.lblBoreholeCount->text(), QString());
}

void BoreholeWindowTest::aTableThatCannotBeReadKeepsTheHoles() {
  WindowFixture fixture;
  readExampleHoles(fixture);
  fixture.dialogs.messages.clear();
  fixture.dialogs.files = {fixture.write("collars.csv", "hole_id,x,y,z\nA,1,2,3\nB,east,2,3\n")};
  Ui::formMain& ui = fixture.window.ui();
  QTest::mouseClick(ui.cmdCollarsFile, Qt::LeftButton);
  QTest::mouseClick(ui.cmdBoreholesRead, Qt::LeftButton);
  QCOMPARE(fixture.dialogs.messages.size(), 1);
  const QString message = fixture.dialogs.messages[0];
  QVERIFY2(message.contains(fixture.folder.filePath("collars.csv")) && message.contains("east"),
           qPrintable(message));
  QCOMPARE(ui.lblBoreholeCount->text(), QStringLiteral("25 孔"));
  QCOMPARE(fixture.window.state().boreholes->holes.size(), std::size_t{25});
  QCOMPARE(fixture.window.state().boreholeFiles.collars, (kExample + "collars.csv").toStdString());
}

void BoreholeWindowTest::aBufferOfZeroIsRefused() {
  WindowFixture fixture;
  readExampleHoles(fixture);
  fixture.dialogs.messages.clear();
  QLineEdit& box = *fixture.window.ui().txtBoreholeBuffer;
  box.setText("250");
  emit box.editingFinished();
  QCOMPARE(fixture.window.state().boreholeDrawing.buffer, std::optional<double>(250));
  box.setText("0");
  emit box.editingFinished();
  QCOMPARE(fixture.dialogs.messages.size(), 1);
  QVERIFY2(
      fixture.dialogs.messages[0].contains(fixture.window.ui().labelBoreholeBufferCaption->text()),
      qPrintable(fixture.dialogs.messages[0]));
  QCOMPARE(box.text(), QStringLiteral("250"));
  QCOMPARE(fixture.window.state().boreholeDrawing.buffer, std::optional<double>(250));
}

void BoreholeWindowTest::aSavedSessionReopensItsHoles() {
  WindowFixture first;
  readExampleHoles(first);
  first.dialogs.messages.clear();
  Ui::formMain& ui = first.window.ui();
  ui.chkBoreholeLabels->setChecked(true);
  QTest::mouseClick(ui.cmdSectionView, Qt::LeftButton);
  QTest::mouseClick(ui.cmdGeoSection, Qt::LeftButton);
  QVERIFY2(first.dialogs.messages.isEmpty(), qPrintable(first.dialogs.messages.join('\n')));

  const auto second = reopenedSession(first);
  KALVENOR_COMPARE_PICTURES(second->window.formImage().canvas().image(),
                            first.window.formImage().canvas().image(), kExactPixels, "reopened");
  Ui::formMain& reopened = second->window.ui();
  QCOMPARE(reopened.lblBoreholeCount->text(), QStringLiteral("25 孔"));
  QCOMPARE(reopened.lblIntervalsFile->text(), QStringLiteral("intervals.csv"));
  QVERIFY(reopened.chkBoreholeLabels->isChecked());
}

QTEST_MAIN(BoreholeWindowTest)
#include "borehole_window_test.moc"
