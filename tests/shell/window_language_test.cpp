#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "app/message_language.h"
#include "shell/qt_translations.h"
#include "window_fixture.h"

using namespace kalvenor;

// The window's messages in the user's language, as the window chooses it: Japanese by default
// and under a Japanese locale, English for a language without a catalogue; Qt's own dialogs
// follow the messages.
class WindowLanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();
  void aLanguageWithoutACatalogueFallsBackToEnglish();
  void aWindowMessageComesOutInJapaneseUnderAJapaneseLocale();

 private:
  // The message the window shows for letters typed into the azimuth box.
  QString refusalOfLetters();
  static QString yesButtonText();
};

void WindowLanguageTest::cleanup() {
  qunsetenv("LANGUAGE");
  qunsetenv("LANG");
}

QString WindowLanguageTest::refusalOfLetters() {
  WindowFixture fixture;
  QLineEdit* box = fixture.window.ui().txtAlpha;
  box->setFocus();
  QTest::keyClicks(box, "abc");
  QTest::keyClick(box, Qt::Key_Return);
  return fixture.dialogs.messages.value(0);
}

QString WindowLanguageTest::yesButtonText() {
  QMessageBox box(QMessageBox::Question, "Kalvenor2003", "?", QMessageBox::Yes | QMessageBox::No);
  return box.button(QMessageBox::Yes)->text();
}

void WindowLanguageTest::aLanguageWithoutACatalogueFallsBackToEnglish() {
  qputenv("LANGUAGE", "fr");
  qputenv("LANG", "fr_FR.UTF-8");
  useMessageLanguage(runningProgramFolder(), DefaultLanguage::Japanese);
  QCOMPARE(messageCatalogueLanguage(), QString());
  QCOMPARE(refusalOfLetters(),
           QString("「視点方向（北から時計回り）」 takes a number; \"abc\" is not one."));
  QVERIFY(installQtTranslations(*QCoreApplication::instance()));
  QCOMPARE(yesButtonText(), QString("&Yes"));
}

void WindowLanguageTest::aWindowMessageComesOutInJapaneseUnderAJapaneseLocale() {
  qputenv("LANG", "ja_JP.UTF-8");
  useMessageLanguage(runningProgramFolder(), DefaultLanguage::Japanese);
  QCOMPARE(messageCatalogueLanguage(), QString("ja"));
  QCOMPARE(refusalOfLetters(),
           QString("「視点方向（北から時計回り）」 には数値を入力してください（「abc」は数値では"
                   "ありません）。"));
  QVERIFY(installQtTranslations(*QCoreApplication::instance()));
  QCOMPARE(yesButtonText(), QString("はい(&Y)"));
}

QTEST_MAIN(WindowLanguageTest)
#include "window_language_test.moc"
