#include <QTableWidget>
#include <QtTest>

#include "shell/survey_line_picker.h"
#include "window_fixture.h"

using namespace kalvenor;

// The survey line as a polyline on step (5-2): typed into the vertex list, read from a line file,
// clicked on the plan of the display area, built through the section command and kept by a
// session.
class SurveyLineFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void typedVerticesBuildABentSectionAndFewerBuildTheStraightOne();
  void aLineFileFillsTheListWithItsNamesUntilTheListIsEdited();
  void aLineClickedOnThePlanFillsTheList();
  void clicksAddVerticesAndADoubleClickEndsTheLine();
  void aSessionShowsItsPolylineInTheList();
};

namespace {

void setCell(QTableWidget& grid, int row, int column, const QString& text) {
  auto* item = new QTableWidgetItem(text);
  grid.setItem(row, column, item);
}

// The rows of the list as the user reads them: "x,y,name".
QStringList rowsOf(const QTableWidget& grid) {
  QStringList rows;
  for (int row = 0; row < grid.rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < 3; ++column) {
      const QTableWidgetItem* item = grid.item(row, column);
      cells << (item ? item->text() : QString());
    }
    rows << cells.join(',');
  }
  return rows;
}

}  // namespace

void SurveyLineFlowTest::typedVerticesBuildABentSectionAndFewerBuildTheStraightOne() {
  WindowFixture f;
  f.buildSmallBlock();
  Ui::formMain& ui = f.window.ui();
  ui.txtXstart->setText("0");
  ui.txtYstart->setText("50");
  ui.optSection2->setChecked(true);
  ui.txtXend->setText("100");
  ui.txtYend->setText("50");
  for (int n = 0; n < 3; ++n) QTest::mouseClick(ui.cmdVertexAdd, Qt::LeftButton);
  QCOMPARE(ui.grdVertices->rowCount(), 3);
  const char* typed[][2] = {{"10", "10"}, {"50", "90"}, {"90", "10"}};
  for (int row = 0; row < 3; ++row) {
    setCell(*ui.grdVertices, row, 0, typed[row][0]);
    setCell(*ui.grdVertices, row, 1, typed[row][1]);
  }
  QTest::mouseClick(ui.cmdSectionModel, Qt::LeftButton);
  QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.messages.join('\n')));
  const std::vector<SurveyVertex> bent = {{10, 10}, {50, 90}, {90, 10}};
  QCOMPARE(f.window.state().sectionLine.vertices, bent);
  QCOMPARE(f.window.state().section->bends.size(), std::size_t{1});

  // A cell that holds no number is named with its row.
  setCell(*ui.grdVertices, 1, 0, "fifty");
  QTest::mouseClick(ui.cmdSectionModel, Qt::LeftButton);
  QCOMPARE(f.dialogs.messages.size(), 1);
  QVERIFY2(f.dialogs.messages[0].contains("「折線の測線」, vertex 2: X takes a number"),
           qPrintable(f.dialogs.messages[0]));
  QCOMPARE(f.window.state().sectionLine.vertices, bent);

  // With one vertex left the start and end points make the straight section.
  ui.grdVertices->selectRow(1);
  QTest::mouseClick(ui.cmdVertexRemove, Qt::LeftButton);
  QTest::mouseClick(ui.cmdVertexRemove, Qt::LeftButton);
  QCOMPARE(rowsOf(*ui.grdVertices), QStringList{"10,10,"});
  QTest::mouseClick(ui.cmdSectionModel, Qt::LeftButton);
  QVERIFY(f.window.state().sectionLine.vertices.empty());
  QCOMPARE(f.window.state().section->Ystart, 50.0);
  QVERIFY(!f.window.state().section->unfolded());
}

void SurveyLineFlowTest::aLineFileFillsTheListWithItsNamesUntilTheListIsEdited() {
  WindowFixture f;
  f.buildSmallBlock();
  Ui::formMain& ui = f.window.ui();
  // Round and across itself, so that the build warns and names where the line came from.
  const QString file =
      f.write("loop.csv", "x,y,name\n10,50,West\n90,50,East\n90,90,\n40,20,Back\n");
  f.dialogs.files = {file};
  QTest::mouseClick(ui.cmdVerticesFile, Qt::LeftButton);
  QCOMPARE(rowsOf(*ui.grdVertices),
           (QStringList{"10,50,West", "90,50,East", "90,90,", "40,20,Back"}));
  QTest::mouseClick(ui.cmdSectionModel, Qt::LeftButton);
  QCOMPARE(f.dialogs.messages.size(), 1);
  QVERIFY2(f.dialogs.messages[0].contains(file + ": the survey line crosses itself"),
           qPrintable(f.dialogs.messages[0]));
  QCOMPARE(f.window.state().section->bends.at(0).name, std::string("East"));

  // Once edited, the line is the list's.
  setCell(*ui.grdVertices, 3, 0, "45");
  QTest::mouseClick(ui.cmdSectionModel, Qt::LeftButton);
  QCOMPARE(f.dialogs.messages.size(), 2);
  QVERIFY2(f.dialogs.messages[1].contains("「折線の測線」: the survey line crosses itself"),
           qPrintable(f.dialogs.messages[1]));

  // A file without a line changes nothing and says why.
  f.dialogs.files = {f.write("none.csv", "a,b\n1,2\n")};
  QTest::mouseClick(ui.cmdVerticesFile, Qt::LeftButton);
  QCOMPARE(f.dialogs.messages.size(), 3);
  QVERIFY(f.dialogs.messages[2].contains("none.csv: the layer holds no lines"));
  QCOMPARE(ui.grdVertices->rowCount(), 4);
}

void SurveyLineFlowTest::aLineClickedOnThePlanFillsTheList() {
  WindowFixture f;
  f.buildSmallBlock();
  Ui::formMain& ui = f.window.ui();
  f.dialogs.pickedLines = {std::vector<SurveyVertex>{{12.5, 20}, {50, 87.5}, {90, 20}}};
  QTest::mouseClick(ui.cmdVerticesMap, Qt::LeftButton);
  QCOMPARE(rowsOf(*ui.grdVertices), (QStringList{"12.5,20,", "50,87.5,", "90,20,"}));
  // The plan shows the square display area in the units of the map just built: the unit above
  // the flat boundary in the east, below it in the west where the ground lies under 50.
  QCOMPARE(f.dialogs.overviews.size(), std::size_t{1});
  const PlanOverview& plan = f.dialogs.overviews[0];
  QCOMPARE(plan.width, 600);
  QCOMPARE(plan.height, 600);
  QCOMPARE(plan.pixels.front(), packRgb(200, 60, 60));
  QCOMPARE(plan.pixels.back(), packRgb(60, 60, 200));
  QTest::mouseClick(ui.cmdSectionModel, Qt::LeftButton);
  QCOMPARE(f.window.state().section->bends.size(), std::size_t{1});

  // A picking left unfinished changes nothing.
  QTest::mouseClick(ui.cmdVerticesMap, Qt::LeftButton);
  QCOMPARE(ui.grdVertices->rowCount(), 3);
}

void SurveyLineFlowTest::clicksAddVerticesAndADoubleClickEndsTheLine() {
  WindowFixture f;
  f.buildSmallBlock();
  SurveyLinePicker picker(f.window.session().planOverview(600));
  picker.resize(500, 560);
  picker.show();
  QVERIFY(QTest::qWaitForWindowExposed(&picker));
  PlanPickArea& area = picker.area();
  const auto at = [&](double x, double y) { return area.widgetPoint({x, y}).toPoint(); };
  QTest::mouseClick(&area, Qt::LeftButton, {}, at(20, 20));
  QTest::mouseDClick(&area, Qt::LeftButton, {}, at(20, 20));  // one vertex: not yet a line
  QVERIFY(picker.isVisible());
  QTest::mouseClick(&area, Qt::LeftButton, {}, at(60, 80));
  QTest::mouseClick(&area, Qt::LeftButton, {}, at(30, 30));
  QTest::keyClick(&area, Qt::Key_Backspace);  // taken back
  QTest::mouseClick(&area, Qt::LeftButton, {}, at(90, 40));
  QTest::mouseDClick(&area, Qt::LeftButton, {}, at(90, 40));
  QCOMPARE(picker.result(), int(QDialog::Accepted));
  const std::vector<SurveyVertex> wanted = {{20, 20}, {60, 80}, {90, 40}};
  QCOMPARE(picker.vertices().size(), wanted.size());
  for (std::size_t n = 0; n < wanted.size(); ++n) {
    // Within a pixel of the point aimed at, rounded to a tenth of a metre.
    QVERIFY(std::abs(picker.vertices()[n].x - wanted[n].x) < 0.5);
    QVERIFY(std::abs(picker.vertices()[n].y - wanted[n].y) < 0.5);
    QCOMPARE(std::round(picker.vertices()[n].x * 10) / 10, picker.vertices()[n].x);
  }
}

void SurveyLineFlowTest::aSessionShowsItsPolylineInTheList() {
  WindowFixture f;
  f.buildSmallBlock();
  Ui::formMain& ui = f.window.ui();
  f.dialogs.files = {f.write("line.csv", "x,y,name\n10,10,A\n50,90,B\n90,10,C\n")};
  QTest::mouseClick(ui.cmdVerticesFile, Qt::LeftButton);
  QTest::mouseClick(ui.cmdSectionModel, Qt::LeftButton);
  const auto fresh = reopenedSession(f);
  QCOMPARE(rowsOf(*fresh->window.ui().grdVertices), (QStringList{"10,10,A", "50,90,B", "90,10,C"}));
  QCOMPARE(fresh->window.state().section->bends.at(0).name, std::string("B"));
}

QTEST_MAIN(SurveyLineFlowTest)
#include "survey_line_flow_test.moc"
