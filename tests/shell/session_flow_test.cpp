#include <QProcess>
#include <QtTest>
#include <map>
#include <nlohmann/json.hpp>

#include "app/option_steps.h"
#include "example_inputs.h"
#include "imagewin/form_image.h"
#include "picture_check.h"
#include "shell/form_main.h"
#include "shell/preload.h"
#include "shell/window_fixture.h"

using namespace kalvenor;

// "セッションを保存" in one window and "セッションを開く" in a fresh one give the same picture and
// the same controls; a session file that cannot be opened says why and changes nothing.
class SessionFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void aSavedMapReopensPixelForPixel();
  void aSavedSectionReopensPixelForPixel();
  void everyDrawingSequenceReopensPixelForPixel_data();
  void everyDrawingSequenceReopensPixelForPixel();
  void kalvenorRenderDrawsTheSavedPicture();
  void aSessionNamedWithoutExtensionIsSavedAsJson();
  void aFieldThatDoesNotFitIsNamedByBothPrograms();
  void aBadSessionFileChangesNothing_data();
  void aBadSessionFileChangesNothing();
};

namespace {

SessionOptions example() {
  SessionOptions options;
  options.inputs = exampleInputFiles();
  options.start = Point2{30200, 41000};
  options.end = Point2{34800, 43500};
  return options;
}

}  // namespace

void SessionFlowTest::aSavedMapReopensPixelForPixel() {
  WindowFixture first;
  preload(first.window, example());
  Ui::formMain& ui = first.window.ui();
  ui.txtAlpha->setText("150");
  ui.txtVe->setText("2");
  ui.chkBack->setChecked(true);
  ui.txtZbase->setText("-50");
  QTest::mouseClick(ui.cmdKalvenor, Qt::LeftButton);
  QTest::mouseClick(ui.cmdGeoMap, Qt::LeftButton);
  ui.chkContour->setChecked(true);
  QTest::mouseClick(ui.cmdContourAuto, Qt::LeftButton);
  QVERIFY(ui.cmdContour->isEnabled());
  const QImage map = first.window.formImage().canvas().image().copy();
  QTest::mouseClick(ui.cmdContour, Qt::LeftButton);
  QVERIFY(first.window.formImage().canvas().image() != map);
  QVERIFY2(first.dialogs.messages.isEmpty(), qPrintable(first.dialogs.messages.join('\n')));

  const auto second = reopenedSession(first);
  QVERIFY2(second->dialogs.messages.isEmpty(), qPrintable(second->dialogs.messages.join('\n')));
  KALVENOR_COMPARE_PICTURES(second->window.formImage().canvas().image(),
                            first.window.formImage().canvas().image(), kExactPixels, "reopened");
  Ui::formMain& reopenedUi = second->window.ui();
  QCOMPARE(reopenedUi.txtAlpha->text(), QStringLiteral("150"));
  QCOMPARE(reopenedUi.txtZbase->text(), ui.txtZbase->text());
  QVERIFY(reopenedUi.chkBack->isChecked());
  QCOMPARE(second->window.state().boundaryFile, first.window.state().boundaryFile);
  QCOMPARE(second->window.state().unitColor, first.window.state().unitColor);

  // The reopened state is the one the controls show: the map drawn again is the same picture.
  const QImage opened = second->window.formImage().canvas().image();
  QTest::mouseClick(reopenedUi.cmdGeoMap, Qt::LeftButton);
  QTest::mouseClick(reopenedUi.cmdContour, Qt::LeftButton);
  KALVENOR_COMPARE_PICTURES(second->window.formImage().canvas().image(), opened, kExactPixels,
                            "drawn-again");
}

void SessionFlowTest::aSavedSectionReopensPixelForPixel() {
  WindowFixture first;
  preload(first.window, example());
  Ui::formMain& ui = first.window.ui();
  QTest::mouseClick(ui.cmdSectionView, Qt::LeftButton);
  QTest::mouseClick(ui.cmdGeoSection, Qt::LeftButton);
  QTest::mouseClick(ui.cmdGrid, Qt::LeftButton);
  QVERIFY2(first.dialogs.messages.isEmpty(), qPrintable(first.dialogs.messages.join('\n')));

  const auto second = reopenedSession(first);
  QVERIFY2(second->dialogs.messages.isEmpty(), qPrintable(second->dialogs.messages.join('\n')));
  KALVENOR_COMPARE_PICTURES(second->window.formImage().canvas().image(),
                            first.window.formImage().canvas().image(), kExactPixels, "reopened");
  QCOMPARE(second->window.state().drawOptions.DrawMode, first.window.state().drawOptions.DrawMode);
}

// The commands of a drawing sequence by name; each must be enabled and change the picture.
void run(WindowFixture& fixture, const QStringList& commands) {
  Ui::formMain& ui = fixture.window.ui();
  const std::map<QString, QPushButton*> buttons = {
      {"map", ui.cmdGeoMap}, {"section", ui.cmdGeoSection},  {"contours", ui.cmdContour},
      {"grid", ui.cmdGrid},  {"line", ui.cmdGeoSectionLine}, {"clear", ui.cmdImageClear}};
  for (const QString& command : commands) {
    if (command == "3d") {
      QTest::mouseClick(ui.cmd3DDefault, Qt::LeftButton);
    } else if (command == "frontal") {
      QTest::mouseClick(ui.cmdSectionView, Qt::LeftButton);
    } else if (command == "build section") {
      QTest::mouseClick(ui.cmdSectionModel, Qt::LeftButton);
    } else if (command == "solid line") {
      ui.chkSectionTrace->setChecked(true);
    } else if (command == "levels") {
      ui.chkContour->setChecked(true);
      QTest::mouseClick(ui.cmdContourAuto, Qt::LeftButton);
    } else {
      QPushButton* button = buttons.at(command);
      QVERIFY2(button->isEnabled(), qPrintable(command));
      const QImage before = fixture.window.formImage().canvas().image().copy();
      QTest::mouseClick(button, Qt::LeftButton);
      QVERIFY2(fixture.window.formImage().canvas().image() != before, qPrintable(command));
    }
  }
  QVERIFY2(fixture.dialogs.messages.isEmpty(), qPrintable(fixture.dialogs.messages.join('\n')));
}

void SessionFlowTest::everyDrawingSequenceReopensPixelForPixel_data() {
  QTest::addColumn<QStringList>("commands");
  QTest::newRow("contours and grid lines over the map")
      << QStringList{"levels", "contours", "grid"};
  QTest::newRow("the survey line") << QStringList{"line"};
  QTest::newRow("the survey line as a solid trace") << QStringList{"solid line", "line"};
  QTest::newRow("a section built after the map, its line over the map")
      << QStringList{"build section", "line"};
  QTest::newRow("the section with grid lines, then the map again")
      << QStringList{"frontal", "section", "grid", "3d", "map", "levels", "contours"};
  QTest::newRow("lines over a cleared map") << QStringList{"grid", "clear", "line"};
}

// Whatever was drawn, and in whatever order, opens again as it stood: in a fresh window, with
// the survey line's boxes and commands as they were, and in kalvenor-render.
void SessionFlowTest::everyDrawingSequenceReopensPixelForPixel() {
  QFETCH(QStringList, commands);
  WindowFixture first;
  preload(first.window, example());
  run(first, commands);
  const QImage drawn = first.window.formImage().canvas().image();

  const auto second = reopenedSession(first);
  QVERIFY2(second->dialogs.messages.isEmpty(), qPrintable(second->dialogs.messages.join('\n')));
  KALVENOR_COMPARE_PICTURES(second->window.formImage().canvas().image(), drawn, kExactPixels,
                            "reopened");
  Ui::formMain& ui = second->window.ui();
  QCOMPARE(ui.txtXstart->text(), QString("30200"));
  QCOMPARE(ui.txtYend->text(), QString("43500"));
  QVERIFY(ui.cmdGeoSectionLine->isEnabled());
  QCOMPARE(ui.txtAlpha->text(), first.window.ui().txtAlpha->text());
  QCOMPARE(second->window.state().overlays, first.window.state().overlays);

  const QString picture = first.folder.filePath("batch.png");
  QProcess render;
  render.start(KALVENOR_RENDER_PATH,
               {"--session", first.folder.filePath("work.json"), "--map", picture});
  QVERIFY(render.waitForFinished(120000));
  QVERIFY2(render.exitCode() == 0, render.readAllStandardError().constData());
  KALVENOR_COMPARE_PICTURES(QImage(picture), drawn, kExactPixels, "batch");
}

// The batch renderer draws a saved session at the size it was saved with, as the window drew it.
void SessionFlowTest::kalvenorRenderDrawsTheSavedPicture() {
  WindowFixture window;
  preload(window.window, example());
  QTest::mouseClick(window.window.ui().cmdGeoSectionLine, Qt::LeftButton);
  QCOMPARE(window.window.state().drawOptions.DrawMode, DrawingMode::SurveyLine);
  const QString session = window.folder.filePath("work.json");
  window.dialogs.files = {session};
  QTest::mouseClick(window.window.ui().cmdSessionSave, Qt::LeftButton);
  QVERIFY2(window.dialogs.messages.isEmpty(), qPrintable(window.dialogs.messages.join('\n')));

  const QString picture = window.folder.filePath("map.png");
  QProcess render;
  render.start(KALVENOR_RENDER_PATH, {"--session", session, "--map", picture});
  QVERIFY(render.waitForFinished(120000));
  QVERIFY2(render.exitCode() == 0, render.readAllStandardError().constData());
  KALVENOR_COMPARE_PICTURES(QImage(picture), window.window.formImage().canvas().image(),
                            kExactPixels);

  QProcess missing;
  missing.start(KALVENOR_RENDER_PATH,
                {"--session", window.folder.filePath("none.json"), "--map", picture});
  QVERIFY(missing.waitForFinished(60000));
  QCOMPARE(missing.exitCode(), 2);
  QVERIFY(missing.readAllStandardError().contains("none.json: the session file cannot be opened"));
}

// "s1" under the session filter is saved as s1.json, which the open dialog lists and opens;
// under every file the name stays as typed.
void SessionFlowTest::aSessionNamedWithoutExtensionIsSavedAsJson() {
  WindowFixture window;
  window.buildSmallBlock();
  window.dialogs.files = {window.folder.filePath("s1"), window.folder.filePath("s2")};
  window.dialogs.chosenPatterns = {"*.json", "*.*"};
  QTest::mouseClick(window.window.ui().cmdSessionSave, Qt::LeftButton);
  QTest::mouseClick(window.window.ui().cmdSessionSave, Qt::LeftButton);
  QVERIFY2(window.dialogs.messages.isEmpty(), qPrintable(window.dialogs.messages.join('\n')));
  const QDir folder(window.folder.path());
  QCOMPARE(folder.entryList({"*.json"}, QDir::Files), QStringList{"s1.json"});
  QVERIFY(!folder.exists("s1"));
  QVERIFY(folder.exists("s2"));

  WindowFixture fresh;
  fresh.dialogs.files = {window.folder.filePath("s1.json")};
  QTest::mouseClick(fresh.window.ui().cmdSessionOpen, Qt::LeftButton);
  QVERIFY2(fresh.dialogs.messages.isEmpty(), qPrintable(fresh.dialogs.messages.join('\n')));
  QCOMPARE(fresh.window.state().boundaryFile, window.window.state().boundaryFile);
}

// A field edited by hand into something the viewer cannot use is refused by name in the window
// and by kalvenor-render, and neither draws anything.
void SessionFlowTest::aFieldThatDoesNotFitIsNamedByBothPrograms() {
  WindowFixture window;
  preload(window.window, example());
  const QString session = window.folder.filePath("work.json");
  window.dialogs.files = {session};
  QTest::mouseClick(window.window.ui().cmdSessionSave, Qt::LeftButton);
  QFile file(session);
  QVERIFY(file.open(QIODevice::ReadOnly));
  nlohmann::json document = nlohmann::json::parse(file.readAll().toStdString());
  file.close();
  document["view"]["canvas"].push_back(1);
  window.write("work.json", QByteArray::fromStdString(document.dump()));
  const QString problem =
      session + ": view.canvas must be two numbers, width and height; found three";

  const QImage picture = window.window.formImage().canvas().image();
  window.dialogs.files = {session};
  QTest::mouseClick(window.window.ui().cmdSessionOpen, Qt::LeftButton);
  QCOMPARE(window.dialogs.messages, QStringList{problem});
  KALVENOR_COMPARE_PICTURES(window.window.formImage().canvas().image(), picture, kExactPixels);

  const QString map = window.folder.filePath("map.png");
  QProcess render;
  render.start(KALVENOR_RENDER_PATH, {"--session", session, "--map", map});
  QVERIFY(render.waitForFinished(60000));
  QCOMPARE(render.exitCode(), 2);
  QVERIFY2(render.readAllStandardError().contains(problem.toUtf8()), "the field is not named");
  QVERIFY(!QFile::exists(map));
}

void SessionFlowTest::aBadSessionFileChangesNothing_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<QString>("problem");
  QTest::newRow("not JSON") << QByteArray("{\"format\": \"kalvenor session\", ") << "malformed";
  QTest::newRow("newer version") << QByteArray(R"({"format": "kalvenor session", "version": 9})")
                                 << "newer viewer (format version 9";
  QTest::newRow("no session") << QByteArray(R"({"version": 1})") << "not a session file";
  QTest::newRow("incomplete") << QByteArray(R"({"format": "kalvenor session", "version": 1})")
                              << "coordinateSystem is missing";
  QTest::newRow("wrong type")
      << QByteArray(R"({"format": "kalvenor session", "version": 1, "coordinateSystem": []})")
      << "coordinateSystem must be text of at most 65536 characters; found an empty list";
}

void SessionFlowTest::aBadSessionFileChangesNothing() {
  QFETCH(QByteArray, content);
  QFETCH(QString, problem);
  WindowFixture window;
  preload(window.window, example());
  const ViewerState before = window.window.state();
  const QImage picture = window.window.formImage().canvas().image();
  const QString file = window.write("bad.json", content);
  window.dialogs.files = {file};
  QTest::mouseClick(window.window.ui().cmdSessionOpen, Qt::LeftButton);
  QCOMPARE(window.dialogs.messages.size(), 1);
  QVERIFY2(window.dialogs.messages[0].startsWith(file + ": "),
           qPrintable(window.dialogs.messages[0]));
  QVERIFY2(window.dialogs.messages[0].contains(problem), qPrintable(window.dialogs.messages[0]));
  KALVENOR_COMPARE_PICTURES(window.window.formImage().canvas().image(), picture, kExactPixels);
  QCOMPARE(window.window.state().modelFile, before.modelFile);
  QCOMPARE(window.window.state().view.Alpha, before.view.Alpha);
  QCOMPARE(window.window.state().drawOptions.DrawMode, before.drawOptions.DrawMode);
}

QTEST_MAIN(SessionFlowTest)
#include "session_flow_test.moc"
