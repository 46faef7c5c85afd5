#include <QtTest>

#include "imagewin/form_image.h"
#include "shell/form_main.h"
#include "shell/window_fixture.h"

using namespace kalvenor;

// "フェンス図" on ③: the survey line typed in step (5-2) added as a line, the map on screen
// drawn again with it, the cut, a line removed, and the fence kept by a saved session.
class FenceFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void theSurveyLineIsAddedDrawnCutRemovedAndSaved();
  void aLineFileBecomesTheFence();
};

namespace {

void waitForWholePicture(FormMain& window) {
  QTRY_VERIFY_WITH_TIMEOUT(!window.drawingWholeOnWorker(), 20000);
}

// The picture on screen once the window has drawn it again on its worker.
QImage shownPicture(FormMain& window) {
  waitForWholePicture(window);
  return window.formImage().canvas().image().copy();
}

QStringList rows(const QListWidget& list) {
  QStringList texts;
  for (int row = 0; row < list.count(); ++row) texts << list.item(row)->text();
  return texts;
}

}  // namespace

void FenceFlowTest::theSurveyLineIsAddedDrawnCutRemovedAndSaved() {
  WindowFixture f;
  Ui::formMain& ui = f.window.ui();
  f.window.formImage().resize(400, 400);
  QTRY_COMPARE(f.window.formImage().canvas().width(), 400.0);
  QVERIFY(!ui.cmdFenceRemove->isEnabled());
  f.buildSmallBlock();
  QTest::mouseClick(ui.cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(ui.cmdGeoMap, Qt::LeftButton);
  const QImage map = shownPicture(f.window);

  ui.optSection2->setChecked(true);
  ui.txtXstart->setText("0");
  ui.txtYstart->setText("10");
  ui.txtXend->setText("100");
  ui.txtYend->setText("40");
  QTest::mouseClick(ui.cmdFenceAdd, Qt::LeftButton);
  ui.optSection1->setChecked(true);
  ui.txtXstart->setText("50");
  ui.txtYstart->setText("0");
  ui.txtFai->setText("0");
  QTest::mouseClick(ui.cmdFenceAdd, Qt::LeftButton);
  QCOMPARE(rows(*ui.lstFence),
           QStringList({"A: 0, 10 - 100, 40", "B: 50, 0 - 50, 141.42135623731"}));
  QCOMPARE(f.window.state().fence->size(), 2u);
  QVERIFY(f.dialogs.messages.isEmpty());

  // The map on screen follows: the cut opens the block in front of the panels.
  ui.chkFenceCut->setChecked(true);
  QVERIFY(f.window.state().fenceCut);
  const QImage cut = shownPicture(f.window);
  QVERIFY(cut != map);

  ui.lstFence->setCurrentRow(0);
  QTest::mouseClick(ui.cmdFenceRemove, Qt::LeftButton);
  QCOMPARE(rows(*ui.lstFence), QStringList({"B: 50, 0 - 50, 141.42135623731"}));
  QCOMPARE(f.window.state().fence->size(), 1u);
  QVERIFY(shownPicture(f.window) != cut);

  const auto reopened = reopenedSession(f);
  QCOMPARE(rows(*reopened->window.ui().lstFence), rows(*ui.lstFence));
  QVERIFY(reopened->window.ui().chkFenceCut->isChecked());
  QCOMPARE(reopened->window.state().fence->size(), 1u);
}

// "ファイルから読む" makes every line of a line file a line of the fence, named as the file names
// it.
void FenceFlowTest::aLineFileBecomesTheFence() {
  WindowFixture f;
  Ui::formMain& ui = f.window.ui();
  f.buildSmallBlock();
  f.dialogs.files = {f.write("fence.csv",
                             "line_name,x,y\nRoad,0,10\nRoad,100,40\n"
                             "Creek,50,0\nCreek,60,50\nCreek,50,100\n")};
  QTest::mouseClick(ui.cmdFenceFile, Qt::LeftButton);
  QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.messages.join("\n")));
  QCOMPARE(rows(*ui.lstFence),
           QStringList({"Road: 0, 10 - 100, 40", "Creek: 50, 0 - 60, 50 - 50, 100"}));
  QCOMPARE(f.window.state().fence->size(), 2u);
}

QTEST_MAIN(FenceFlowTest)
#include "fence_flow_test.moc"
