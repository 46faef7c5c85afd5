#include "shell/qt_dialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QListView>
#include <QtTest>

using namespace kalvenor;

// The real file dialog, not the platform's, as the viewer sets it up.
class QtDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void allFilesListsFilesWithoutAnExtension();

 private:
  static QStringList listed(const QFileDialog& dialog);
};

QStringList QtDialogsTest::listed(const QFileDialog& dialog) {
  const auto* view = dialog.findChild<QListView*>("listView");
  QStringList names;
  if (!view) return names;
  for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
    names << view->model()->index(row, 0, view->rootIndex()).data().toString();
  }
  names.sort();
  return names;
}

void QtDialogsTest::allFilesListsFilesWithoutAnExtension() {
  QTemporaryDir folder;
  for (const char* name : {"dem", "picture.bmp"}) {
    QFile file(folder.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
  }
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  setUpFileDialog(dialog, "ビットマップファイル (*.bmp)|*.bmp|すべてのファイル (*.*)|*.*",
                  "境界面 1 / 2: 砂岩上面");
  dialog.setDirectory(folder.path());
  dialog.show();
  QCOMPARE(dialog.windowTitle(), QString("境界面 1 / 2: 砂岩上面"));
  const auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
  QVERIFY(types);
  QCOMPARE(types->count(), 2);
  QCOMPARE(types->itemText(0), QString("ビットマップファイル (*.bmp)"));  // the captions as written
  QCOMPARE(types->itemText(1), QString("すべてのファイル (*.*)"));
  QTRY_COMPARE(listed(dialog), QStringList{"picture.bmp"});

  dialog.selectNameFilter(dialog.nameFilters().at(1));
  QCOMPARE(types->currentText(), QString("すべてのファイル (*.*)"));
  QTRY_COMPARE(listed(dialog), (QStringList{"dem", "picture.bmp"}));
}

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
