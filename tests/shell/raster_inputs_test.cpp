// The window with rasters: the projected system typed in, rasters in degrees refused or warped,
// and the warp shown beside the file names.
#include <QtTest>
#include <memory>

#include "../model/raster_files.h"
#include "window_fixture.h"

using namespace kalvenor;

class RasterInputsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void anUnknownSystemIsRefusedAndTheBoxShowsTheOneInUse();
  void rastersInDegreesAreRefusedUntilASystemIsNamedThenMarkedWarped();

 private:
  void typeSrs(const QString& text);
  QString demInDegrees(const QString& name, double height);
  Ui::formMain& ui() { return fixture_->window.ui(); }
  const ViewerState& state() { return fixture_->window.state(); }

  std::unique_ptr<WindowFixture> fixture_;
  ScriptedDialogs* dialogs_ = nullptr;
};

void RasterInputsTest::init() {
  fixture_ = std::make_unique<WindowFixture>();
  dialogs_ = &fixture_->dialogs;
}

void RasterInputsTest::cleanup() { fixture_.reset(); }

void RasterInputsTest::typeSrs(const QString& text) {
  ui().txtSrs->setFocus();
  ui().txtSrs->selectAll();
  QTest::keyClicks(ui().txtSrs, text);
  QTest::keyClick(ui().txtSrs, Qt::Key_Return);
}

// About 3 km by 3 km of JGD2011 degrees, west of the origin of the plane system IX.
QString RasterInputsTest::demInDegrees(const QString& name, double height) {
  const RasterSpec spec = jgdDegrees(40, 40, 3, [height](int, int) { return height; });
  return QString::fromStdString(writeRaster(fixture_->folder.filePath(name).toStdString(), spec));
}

void RasterInputsTest::anUnknownSystemIsRefusedAndTheBoxShowsTheOneInUse() {
  typeSrs("EPSG:6677");
  QVERIFY(dialogs_->messages.isEmpty());
  QCOMPARE(state().srsGiven, std::string("EPSG:6677"));
  QVERIFY(!state().srs.empty());

  typeSrs("EPSG:99999");
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages[0].contains("EPSG:99999"));
  QCOMPARE(ui().txtSrs->text(), QString("EPSG:6677"));
  QCOMPARE(state().srsGiven, std::string("EPSG:6677"));
}

void RasterInputsTest::rastersInDegreesAreRefusedUntilASystemIsNamedThenMarkedWarped() {
  dialogs_->files.push_back(fixture_->write("model.txt", "1\ns\nlow,-1\nhigh,1\n"));
  QTest::mouseClick(ui().cmdOpenModel, Qt::LeftButton);
  const QString boundary = demInDegrees("boundary.tif", 300);
  const QString surface = demInDegrees("surface.tif", 400);

  dialogs_->files = {boundary};
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  QVERIFY(dialogs_->filters.last().contains("*.tif"));
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages[0].contains("geographic"));
  QCOMPARE(ui().lstBoundaryFile->count(), 0);

  typeSrs("EPSG:6677");
  dialogs_->messages.clear();
  dialogs_->files = {boundary};
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  dialogs_->files = {surface};
  QTest::mouseClick(ui().cmdOpenDisplayFile, Qt::LeftButton);
  QCOMPARE(ui().lstBoundaryFile->count(), 1);
  QVERIFY(ui().lstBoundaryFile->item(0)->text().endsWith("boundary.tif（投影変換）"));
  QVERIFY(ui().lstBoundaryFile->item(0)->toolTip().contains("warped"));
  QVERIFY(ui().lblDisplayFile->text().endsWith("surface.tif（投影変換）"));
  // The plane coordinates, not degrees: a few km west of the system's origin.
  QVERIFY(state().display->Xmin < -2000 && state().display->Xmax < 100);
  QVERIFY(state().display->Ymin > 40000);
  // Each warp is said once, as the file is read.
  QCOMPARE(dialogs_->messages.size(), 2);
}

QTEST_MAIN(RasterInputsTest)
#include "raster_inputs_test.moc"
