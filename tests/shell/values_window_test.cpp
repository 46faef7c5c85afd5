#include <QProcess>
#include <QtTest>

#include "example_inputs.h"
#include "shell/preload.h"
#include "shell/window_fixture.h"

using namespace kalvenor;

// "層厚・深度・体積" on ④: the units' volumes in a table and as kalvenor-render --volumes writes
// them, the chosen unit's thickness or boundary's depth as its grid, and the map coloured by it.
class ValuesWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void beforeTheGridTheMissingStepIsNamed();
  void theVolumesTableAndItsCsvAreTheBatchVolumes();
  void theChosenThicknessIsTheBatchGrid();
  void theMapIsColouredByTheChosenValue();
};

namespace {

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// kalvenor-render on the example as the window has it loaded, with `outputs`; its file's bytes.
QByteArray batch(const WindowFixture& fixture, const QStringList& outputs, const QString& file) {
  const InputFiles e = exampleInputFiles();
  QStringList args = {"--model",   QString::fromStdString(e.model),
                      "--surface", QString::fromStdString(e.surface),
                      "--colors",  QString::fromStdString(e.colors),
                      "--zbase",   QString::number(fixture.window.state().Zbase)};
  for (const std::string& boundary : e.boundaries) {
    args << "--boundary" << QString::fromStdString(boundary);
  }
  QProcess render;
  render.start(KALVENOR_RENDER_PATH, args << outputs);
  if (!render.waitForFinished(120000) || render.exitCode() != 0) {
    qWarning("%s", render.readAllStandardError().constData());
    return {};
  }
  return contents(file);
}

void loadExample(WindowFixture& fixture) {
  SessionOptions options;
  options.inputs = exampleInputFiles();
  preload(fixture.window, options);
}

}  // namespace

void ValuesWindowTest::beforeTheGridTheMissingStepIsNamed() {
  WindowFixture fixture;
  SessionOptions options;
  options.inputs = exampleInputFiles();
  options.inputs.surface.clear();
  preload(fixture.window, options);
  QTest::mouseClick(fixture.window.ui().cmdVolumes, Qt::LeftButton);
  QCOMPARE(fixture.dialogs.messages.size(), 1);
  QVERIFY2(fixture.dialogs.messages[0].contains("(5-1)"), qPrintable(fixture.dialogs.messages[0]));
  QCOMPARE(fixture.window.ui().grdVolumes->rowCount(), 0);
  QVERIFY(!fixture.window.ui().cmdVolumesSave->isEnabled());
}

void ValuesWindowTest::theVolumesTableAndItsCsvAreTheBatchVolumes() {
  WindowFixture fixture;
  loadExample(fixture);
  Ui::formMain& ui = fixture.window.ui();
  QTest::mouseClick(ui.cmdVolumes, Qt::LeftButton);
  QVERIFY2(fixture.dialogs.messages.isEmpty(), qPrintable(fixture.dialogs.messages.join('\n')));
  QCOMPARE(ui.grdVolumes->rowCount(), 5);
  QCOMPARE(ui.grdVolumes->item(0, 0)->text(), QString("火山砕屑岩"));
  QCOMPARE(ui.grdVolumes->item(4, 0)->text(), QString("石灰岩"));
  QCOMPARE(ui.grdVolumes->horizontalHeaderItem(1)->text(), QString("体積 (m³)"));

  const QString file = fixture.folder.filePath("window.csv");
  fixture.dialogs.files = {file};
  QTest::mouseClick(ui.cmdVolumesSave, Qt::LeftButton);
  QVERIFY2(fixture.dialogs.messages.isEmpty(), qPrintable(fixture.dialogs.messages.join('\n')));
  const QString batchFile = fixture.folder.filePath("batch.csv");
  const QByteArray expected = batch(fixture, {"--volumes", batchFile}, batchFile);
  QVERIFY(!expected.isEmpty());
  QCOMPARE(contents(file), expected);
  // The volume of the youngest unit as the table shows it, in whole cubic metres.
  const QList<QByteArray> youngest = expected.trimmed().split('\n').back().split(',');
  QCOMPARE(ui.grdVolumes->item(0, 1)->text().remove(','),
           QString::number(youngest[2].toDouble(), 'f', 0));
}

void ValuesWindowTest::theChosenThicknessIsTheBatchGrid() {
  WindowFixture fixture;
  loadExample(fixture);
  Ui::formMain& ui = fixture.window.ui();
  const int sandstone = ui.cboValue->findText("層厚: 砂岩");
  QVERIFY(sandstone >= 0);
  ui.cboValue->setCurrentIndex(sandstone);
  const QString file = fixture.folder.filePath("window.asc");
  fixture.dialogs.files = {file};
  QTest::mouseClick(ui.cmdValueGrid, Qt::LeftButton);
  QVERIFY2(fixture.dialogs.messages.isEmpty(), qPrintable(fixture.dialogs.messages.join('\n')));
  const QString batchFile = fixture.folder.filePath("batch.asc");
  const QByteArray expected =
      batch(fixture, {"--thickness-grid", batchFile, "--unit", "砂岩"}, batchFile);
  QVERIFY(!expected.isEmpty());
  QCOMPARE(contents(file), expected);
}

void ValuesWindowTest::theMapIsColouredByTheChosenValue() {
  WindowFixture fixture;
  loadExample(fixture);
  Ui::formMain& ui = fixture.window.ui();
  QCOMPARE(ui.cboValue->count(), 5 + 4);
  ui.cboValue->setCurrentIndex(ui.cboValue->findText("深度: 不整合面"));
  QVERIFY(!fixture.window.state().mapValue);
  ui.chkValueMap->setChecked(true);
  const MapValue depth{MapValueKind::Depth, "不整合面"};
  QVERIFY(fixture.window.state().mapValue == depth);
  ui.cboValue->setCurrentIndex(ui.cboValue->findText("層厚: 泥岩"));
  const MapValue mudstone{MapValueKind::Thickness, "泥岩"};
  QVERIFY(fixture.window.state().mapValue == mudstone);
  QVERIFY2(fixture.dialogs.messages.isEmpty(), qPrintable(fixture.dialogs.messages.join('\n')));
  ui.chkValueMap->setChecked(false);
  QVERIFY(!fixture.window.state().mapValue);
  // A value set elsewhere shows in the list and the check box.
  fixture.window.session().setMapValue(depth);
  QVERIFY(ui.chkValueMap->isChecked());
  QCOMPARE(ui.cboValue->currentText(), QString("深度: 不整合面"));
}

QTEST_MAIN(ValuesWindowTest)
#include "values_window_test.moc"
