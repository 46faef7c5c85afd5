#include <QFileInfo>
#include <QtTest>
#include <memory>

#include "imagewin/form_image.h"
#include "window_fixture.h"

using namespace kalvenor;

// Work is not discarded without a question: closing asks before the picture or inputs changed
// since the last session save or open are lost, and another boundary count asks before it drops
// the files and colours picked.
class UnsavedWorkTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void closingWithoutWorkAsksNothing();
  void closingAsksBeforeWorkIsLost_data();
  void closingAsksBeforeWorkIsLost();
  void yesSavesTheSessionThenCloses();
  void aCancelledSaveKeepsTheWindowOpen();
  void savedOrOpenedWorkClosesWithoutAQuestion();
  void theCloseBoxAsksToo();
  void anotherBoundaryCountAsksBeforeDroppingFilesAndColours();
  void theSameCountOrNothingPickedAsksNothing();

 private:
  Ui::formMain& ui() { return window_->ui(); }
  const ViewerState& state() { return window_->state(); }
  void drawMap();
  void pickFilesAndColours();
  static const QString kQuestion;

  std::unique_ptr<WindowFixture> fixture_;
  ScriptedDialogs* dialogs_ = nullptr;
  FormMain* window_ = nullptr;
};

const QString UnsavedWorkTest::kQuestion = QStringLiteral("Save the session before closing?");

void UnsavedWorkTest::init() {
  fixture_ = std::make_unique<WindowFixture>();
  dialogs_ = &fixture_->dialogs;
  window_ = &fixture_->window;
}

void UnsavedWorkTest::cleanup() { fixture_.reset(); }

void UnsavedWorkTest::drawMap() {
  fixture_->buildSmallBlock();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QVERIFY(dialogs_->messages.isEmpty());
}

void UnsavedWorkTest::pickFilesAndColours() {
  QTest::mouseClick(ui().cmd2Layer, Qt::LeftButton);
  dialogs_->files = {fixture_->write("s.txt", "2,2,0,0,100,100,50,50,50,50")};
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  dialogs_->colors = {packRgb(200, 60, 60), packRgb(60, 60, 200)};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);
}

void UnsavedWorkTest::closingWithoutWorkAsksNothing() {
  QTest::mouseClick(ui().cmdEnd, Qt::LeftButton);
  QVERIFY(dialogs_->questions.isEmpty());
  QVERIFY(!window_->isVisible());
}

void UnsavedWorkTest::closingAsksBeforeWorkIsLost_data() {
  QTest::addColumn<QString>("work");
  QTest::addColumn<int>("answer");
  QTest::addColumn<bool>("closed");
  for (const char* work : {"picture", "model", "view"}) {
    const QByteArray name(work);
    QTest::newRow(name + ", cancel") << work << int(Dialogs::Answer::Cancel) << false;
    QTest::newRow(name + ", no") << work << int(Dialogs::Answer::No) << true;
  }
}

void UnsavedWorkTest::closingAsksBeforeWorkIsLost() {
  QFETCH(QString, work);
  QFETCH(int, answer);
  QFETCH(bool, closed);
  if (work == "picture") drawMap();
  if (work == "model") QTest::mouseClick(ui().cmd2Layer, Qt::LeftButton);
  if (work == "view") ui().txtAlpha->setText("30");
  dialogs_->choices = {Dialogs::Answer(answer)};
  const qsizetype dialogsBefore = dialogs_->filters.size();
  QTest::mouseClick(ui().cmdEnd, Qt::LeftButton);
  QCOMPARE(dialogs_->questions.size(), 1);
  QVERIFY(dialogs_->questions.first().endsWith(kQuestion));
  QCOMPARE(!window_->isVisible(), closed);
  QCOMPARE(!window_->formImage().isVisible(), closed);
  QCOMPARE(dialogs_->filters.size(), dialogsBefore);  // no save dialog was opened
}

void UnsavedWorkTest::yesSavesTheSessionThenCloses() {
  drawMap();
  const QString session = fixture_->folder.filePath("work.json");
  dialogs_->choices = {Dialogs::Answer::Yes};
  dialogs_->files.push_back(session);
  QTest::mouseClick(ui().cmdEnd, Qt::LeftButton);
  QVERIFY(QFileInfo::exists(session));
  QVERIFY(!window_->isVisible());

  WindowFixture reopened;
  QVERIFY(reopened.window.openSession(session));
  QCOMPARE(reopened.window.state().picture, PictureKind::Map);
}

void UnsavedWorkTest::aCancelledSaveKeepsTheWindowOpen() {
  drawMap();
  dialogs_->choices = {Dialogs::Answer::Yes};
  dialogs_->files.push_back(std::nullopt);
  QTest::mouseClick(ui().cmdEnd, Qt::LeftButton);
  QVERIFY(window_->isVisible());
  QCOMPARE(state().picture, PictureKind::Map);
}

void UnsavedWorkTest::savedOrOpenedWorkClosesWithoutAQuestion() {
  drawMap();
  const QString session = fixture_->folder.filePath("work.json");
  dialogs_->files.push_back(session);
  QTest::mouseClick(ui().cmdSessionSave, Qt::LeftButton);
  window_->formImage().resize(window_->formImage().size() + QSize(30, 20));  // no work lost
  QTest::qWait(300);
  QVERIFY(window_->mayDiscardWork());
  QVERIFY(dialogs_->questions.isEmpty());

  WindowFixture other;
  QTest::mouseClick(other.window.ui().cmd2Layer, Qt::LeftButton);
  QVERIFY(other.window.openSession(session));
  QTest::mouseClick(other.window.ui().cmdEnd, Qt::LeftButton);
  QVERIFY(other.dialogs.questions.isEmpty());
  QVERIFY(!other.window.isVisible());
}

// The close box of the window manager closes the window as "終了" does.
void UnsavedWorkTest::theCloseBoxAsksToo() {
  QTest::mouseClick(ui().cmd2Layer, Qt::LeftButton);
  dialogs_->choices = {Dialogs::Answer::Cancel};
  QVERIFY(!window_->close());
  QCOMPARE(dialogs_->questions.size(), 1);
  QVERIFY(window_->isVisible());
  dialogs_->choices = {Dialogs::Answer::No};
  QVERIFY(window_->close());
}

void UnsavedWorkTest::anotherBoundaryCountAsksBeforeDroppingFilesAndColours() {
  pickFilesAndColours();
  const std::vector<PackedColor> colours = state().unitColor;
  ui().txtNbd->setText("2");
  dialogs_->answers = {false};
  QTest::mouseClick(ui().cmdModelChange, Qt::LeftButton);
  QCOMPARE(dialogs_->questions.size(), 1);
  QVERIFY(dialogs_->questions.first().contains("drops the boundary files and colours"));
  QCOMPARE(state().model.Nbd, 1);
  QVERIFY(!state().boundaryFile[1].empty());
  QCOMPARE(state().unitColor, colours);
  QCOMPARE(ui().txtNbd->text(), QString("1"));
  QCOMPARE(ui().txtNbd1->text(), QString("2"));

  ui().txtNbd->setText("2");
  dialogs_->answers = {true};
  QTest::mouseClick(ui().cmdModelChange, Qt::LeftButton);
  QCOMPARE(dialogs_->questions.size(), 2);
  QCOMPARE(state().model.Nbd, 2);
  QCOMPARE(state().boundaryFile, (std::vector<std::string>{"", "", ""}));
  QVERIFY(ui().lbl2->isVisibleTo(window_));
}

void UnsavedWorkTest::theSameCountOrNothingPickedAsksNothing() {
  pickFilesAndColours();
  ui().txtNbd->setText("1");
  QTest::mouseClick(ui().cmdModelChange, Qt::LeftButton);
  QVERIFY(!state().boundaryFile[1].empty());

  QTest::mouseClick(ui().cmdModelReset, Qt::LeftButton);
  ui().txtNbd->setText("3");
  QTest::mouseClick(ui().cmdModelChange, Qt::LeftButton);
  QCOMPARE(state().model.Nbd, 3);
  QVERIFY(dialogs_->questions.isEmpty());
}

QTEST_MAIN(UnsavedWorkTest)
#include "unsaved_work_test.moc"
