#include "shell/window_memory.h"

#include <QFileDialog>
#include <QMenu>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include "imagewin/form_image.h"
#include "shell/qt_dialogs.h"
#include "shell/window_fixture.h"

using namespace kalvenor;

// What the viewer remembers between runs, kept in a settings file of the test's own: the user's
// settings are never read or written here.
class WindowMemoryTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void eachKindOfFileDialogKeepsItsFolder();
  void recentSessionsComeLastFirstEachOnce();
  void windowsComeBackWhereTheyWere();
  void aSessionUsedJoinsTheMenuThatOpensIt();
  void aFileDialogStartsInTheFolderOfItsKind();

 private:
  QString settingsFile() const { return folder_.filePath("kalvenor.ini"); }
  QTemporaryDir folder_;
};

namespace {

// The two-unit model entered in the window; returns where its session is to be saved.
QString twoUnitSession(WindowFixture& window) {
  QTest::mouseClick(window.window.ui().cmd2Layer, Qt::LeftButton);
  return window.folder.filePath("two.json");
}

}  // namespace

void WindowMemoryTest::eachKindOfFileDialogKeepsItsFolder() {
  const QString models = QStringLiteral("モデルファイル (*.txt)|*.txt");
  const QString pictures = QStringLiteral("PNG ファイル (*.png)|*.png");
  {
    QSettings settings(settingsFile(), QSettings::IniFormat);
    WindowMemory memory(settings);
    QCOMPARE(memory.folderFor(models), QString());
    memory.rememberFile(models, "/data/models/basin.txt");
    memory.rememberFile(pictures, "/out/map.png");
    memory.rememberFile(models, "/data/other/hill.txt");
  }
  QSettings settings(settingsFile(), QSettings::IniFormat);
  const WindowMemory memory(settings);
  QCOMPARE(memory.folderFor(models), QStringLiteral("/data/other"));
  QCOMPARE(memory.folderFor(pictures), QStringLiteral("/out"));
}

void WindowMemoryTest::recentSessionsComeLastFirstEachOnce() {
  QSettings settings(folder_.filePath("recent.ini"), QSettings::IniFormat);
  WindowMemory memory(settings);
  QCOMPARE(memory.lastSession(), QString());
  for (int i = 0; i < kRecentSessionCount + 2; ++i)
    memory.rememberSession(QString("/s/%1.json").arg(i));
  memory.rememberSession("/s/5.json");
  const QStringList recent = memory.recentSessions();
  QCOMPARE(recent.size(), kRecentSessionCount);
  QCOMPARE(recent.front(), QStringLiteral("/s/5.json"));
  QCOMPARE(recent[1], QStringLiteral("/s/9.json"));
  QCOMPARE(recent.count("/s/5.json"), 1);
  QVERIFY(!recent.contains("/s/0.json"));
  QCOMPARE(memory.lastSession(), QStringLiteral("/s/5.json"));
}

void WindowMemoryTest::windowsComeBackWhereTheyWere() {
  QSettings settings(folder_.filePath("windows.ini"), QSettings::IniFormat);
  WindowMemory memory(settings);
  QSize mainSize, imageSize;
  {
    WindowFixture first;
    first.window.setMemory(memory);
    first.window.resize(first.window.size() + QSize(40, 30));
    first.window.formImage().resize(333, 222);
    QTRY_COMPARE(first.window.formImage().size(), QSize(333, 222));
    mainSize = first.window.size();
    imageSize = first.window.formImage().size();
    first.window.close();
  }
  WindowFixture second;
  QVERIFY(second.window.formImage().size() != imageSize);
  second.window.setMemory(memory);
  QTRY_COMPARE(second.window.size(), mainSize);
  QTRY_COMPARE(second.window.formImage().size(), imageSize);
}

void WindowMemoryTest::aSessionUsedJoinsTheMenuThatOpensIt() {
  QSettings settings(folder_.filePath("menu.ini"), QSettings::IniFormat);
  WindowMemory memory(settings);
  WindowFixture first;
  first.window.setMemory(memory);
  QPushButton& recent = *first.window.ui().cmdSessionRecent;
  QVERIFY(!recent.isEnabled());
  first.dialogs.files = {twoUnitSession(first)};
  QTest::mouseClick(first.window.ui().cmdSessionSave, Qt::LeftButton);
  QVERIFY(recent.isEnabled());
  QCOMPARE(memory.lastSession(), first.folder.filePath("two.json"));

  WindowFixture second;
  second.window.setMemory(memory);
  QCOMPARE(second.window.state().model.Nbd, 0);
  const QList<QAction*> actions = second.window.ui().cmdSessionRecent->menu()->actions();
  QCOMPARE(actions.size(), 1);
  actions.front()->trigger();
  QVERIFY2(second.dialogs.messages.isEmpty(), qPrintable(second.dialogs.messages.join('\n')));
  QCOMPARE(second.window.state().model.Nbd, 1);
}

// The real dialog, closed as soon as it shows: it starts where the last one of its kind ended.
void WindowMemoryTest::aFileDialogStartsInTheFolderOfItsKind() {
  QSettings settings(folder_.filePath("dialogs.ini"), QSettings::IniFormat);
  WindowMemory memory(settings);
  const QString filter = QStringLiteral("セッションファイル (*.json)|*.json");
  memory.rememberFile(filter, folder_.filePath("x.json"));
  QtDialogs dialogs;
  dialogs.setMemory(&memory);
  QString shownFolder;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    shownFolder = dialog->directory().absolutePath();
    dialog->reject();
  });
  QVERIFY(!dialogs.openFile(filter, {}).has_value());
  QCOMPARE(shownFolder, QDir(folder_.path()).absolutePath());
}

QTEST_MAIN(WindowMemoryTest)
#include "window_memory_test.moc"
