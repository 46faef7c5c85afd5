#include "shell/qt_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/message_language.h"
#include "shell/qt_translations.h"

using namespace kalvenor;

// The real file dialog, not the platform's, as the viewer sets it up.
class QtDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void allFilesListsFilesWithoutAnExtension();
  void theChosenFilterIsReportedByItsPattern();
  void qtsOwnTextsAreJapanese();
  void theThreeWayQuestionTellsEachAnswer();

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

// A save dialog tells which filter the user chose, so that a bare name gets its extension.
void QtDialogsTest::theChosenFilterIsReportedByItsPattern() {
  const QString filter =
      "ビットマップファイル (*.bmp)|*.bmp|PNG ファイル (*.png)|*.png|すべてのファイル (*.*)|*.*";
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  setUpFileDialog(dialog, filter, {});
  QCOMPARE(chosenPattern(dialog, filter), QString("*.bmp"));  // the first, as the dialog opens
  auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
  QVERIFY(types);
  for (const auto& [index, pattern] : {std::pair{1, "*.png"}, std::pair{2, "*.*"}}) {
    types->setCurrentIndex(index);
    emit types->activated(index);  // as a user's choice in the list
    QCOMPARE(chosenPattern(dialog, filter), QString(pattern));
  }
}

// With the messages in Japanese, Qt's file dialog and message boxes speak Japanese too; the
// captions the viewer gives them stay as written.
void QtDialogsTest::qtsOwnTextsAreJapanese() {
  qputenv("LANGUAGE", "ja");
  useMessageLanguage(runningProgramFolder(), DefaultLanguage::Japanese);
  QCOMPARE(messageCatalogueLanguage(), QString("ja"));
  QVERIFY(installQtTranslations(*QCoreApplication::instance()));
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  setUpFileDialog(dialog, "ビットマップファイル (*.bmp)|*.bmp", {});
  dialog.show();
  const auto* lookIn = dialog.findChild<QLabel*>("lookInLabel");
  const auto* fileName = dialog.findChild<QLabel*>("fileNameLabel");
  const auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
  QVERIFY(lookIn && fileName && buttons);
  QCOMPARE(lookIn->text(), QStringLiteral("アドレス:"));
  QCOMPARE(fileName->text(), QStringLiteral("ファイル名(&N):"));
  QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
  QCOMPARE(buttons->button(QDialogButtonBox::Save)->text(), QStringLiteral("保存(&S)"));
  const auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
  QCOMPARE(types->itemText(0), QString("ビットマップファイル (*.bmp)"));

  QMessageBox box(QMessageBox::Question, "Kalvenor2003", "Overwrite map.bmp?",
                  QMessageBox::Yes | QMessageBox::No);
  QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
  QCOMPARE(box.text(), QStringLiteral("Overwrite map.bmp?"));
}

// Yes is the default button (Return), Escape cancels, and No is told apart from both.
void QtDialogsTest::theThreeWayQuestionTellsEachAnswer() {
  QtDialogs dialogs;
  const auto answerWith = [&](const std::function<void(QMessageBox&)>& press) {
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      QCOMPARE(box->text(), QString("Save the session before closing?"));
      press(*box);
    });
    return dialogs.askYesNoCancel("Save the session before closing?");
  };
  QCOMPARE(answerWith([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }),
           Dialogs::Answer::Yes);
  QCOMPARE(answerWith([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
           Dialogs::Answer::Cancel);
  QCOMPARE(answerWith([](QMessageBox& box) { box.button(QMessageBox::No)->click(); }),
           Dialogs::Answer::No);
}

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
