#include <QProcess>
#include <QtTest>
#include <fstream>

#include "example_inputs.h"
#include "session/session_file.h"
#include "session/session_restore.h"
#include "shell/preload.h"
#include "shell/window_fixture.h"

using namespace kalvenor;

// "地質図をベクタで書き出す" on ④: refused with the missing step before the 3D-map grid is
// built, and afterwards the same files as kalvenor-render --geology-map writes for the same
// inputs.
class GeologyMapExportTest : public QObject {
  Q_OBJECT

 private slots:
  void beforeTheGridTheMissingStepIsNamed();
  void theWindowWritesTheBatchMap();
  void aSavedSessionWritesTheMapAgain();
};

namespace {

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

void GeologyMapExportTest::beforeTheGridTheMissingStepIsNamed() {
  WindowFixture fixture;
  SessionOptions options;
  options.inputs = exampleInputFiles();
  options.inputs.surface.clear();
  preload(fixture.window, options);
  const QString file = fixture.folder.filePath("map.gpkg");
  fixture.dialogs.files = {file};
  QTest::mouseClick(fixture.window.ui().cmdGeologyMap, Qt::LeftButton);
  QCOMPARE(fixture.dialogs.messages.size(), 1);
  QVERIFY2(fixture.dialogs.messages[0].contains("(5-1)"), qPrintable(fixture.dialogs.messages[0]));
  QVERIFY(!QFile::exists(file));
}

// Shapefiles, whose bytes carry no time of day, so that the two runs can be compared file by file.
void GeologyMapExportTest::theWindowWritesTheBatchMap() {
  WindowFixture fixture;
  SessionOptions options;
  options.inputs = exampleInputFiles();
  preload(fixture.window, options);
  fixture.dialogs.files = {fixture.folder.filePath("window.shp")};
  QTest::mouseClick(fixture.window.ui().cmdGeologyMap, Qt::LeftButton);
  QVERIFY2(fixture.dialogs.messages.isEmpty(), qPrintable(fixture.dialogs.messages.join('\n')));

  const InputFiles& e = options.inputs;
  QStringList args = {"--model",   QString::fromStdString(e.model),
                      "--surface", QString::fromStdString(e.surface),
                      "--colors",  QString::fromStdString(e.colors)};
  for (const std::string& boundary : e.boundaries) {
    args << "--boundary" << QString::fromStdString(boundary);
  }
  QProcess render;
  render.start(KALVENOR_RENDER_PATH,
               args << "--zbase" << QString::number(fixture.window.state().Zbase) << "--geology-map"
                    << fixture.folder.filePath("batch.shp"));
  QVERIFY(render.waitForFinished(120000));
  QVERIFY2(render.exitCode() == 0, render.readAllStandardError().constData());
  for (const char* file : {".shp", ".qml", "_contacts.shp", "_contacts.qml"}) {
    const QByteArray window = contents(fixture.folder.filePath(QString("window") + file));
    QVERIFY2(!window.isEmpty(), file);
    QVERIFY2(window == contents(fixture.folder.filePath(QString("batch") + file)), file);
  }
}

// The session saved after the export names the map's file, and kalvenor-render --session writes
// the map there again with the picture.
void GeologyMapExportTest::aSavedSessionWritesTheMapAgain() {
  WindowFixture fixture;
  SessionOptions options;
  options.inputs = exampleInputFiles();
  preload(fixture.window, options);
  const QString map = fixture.folder.filePath("map.gpkg");
  fixture.dialogs.files = {map};
  QTest::mouseClick(fixture.window.ui().cmdGeologyMap, Qt::LeftButton);
  QVERIFY2(fixture.dialogs.messages.isEmpty(), qPrintable(fixture.dialogs.messages.join('\n')));
  const std::string session = fixture.folder.filePath("work.json").toStdString();
  std::ofstream(session) << sessionFileText(documentOf(fixture.window.state(), 400, 300), session);
  QVERIFY(QFile::remove(map));

  QProcess render;
  render.start(KALVENOR_RENDER_PATH, {"--session", QString::fromStdString(session), "--map",
                                      fixture.folder.filePath("picture.png")});
  QVERIFY(render.waitForFinished(120000));
  QVERIFY2(render.exitCode() == 0, render.readAllStandardError().constData());
  QVERIFY(QFile::exists(fixture.folder.filePath("picture.png")));
  QVERIFY(contents(map).startsWith("SQLite format 3"));
}

QTEST_MAIN(GeologyMapExportTest)
#include "geology_map_export_test.moc"
