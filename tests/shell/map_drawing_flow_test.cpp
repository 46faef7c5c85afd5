#include <QtTest>
#include <memory>
#include <new>

#include "imagewin/form_image.h"
#include "render/projection.h"
#include "test_paths.h"
#include "window_fixture.h"

using namespace kalvenor;

// From the files to a drawn geological map with contours and boundary lines, then a plan
// view, then perspective on and off, looking at the pixels of the drawing window.
class MapDrawingFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void theViewPresetsAndTheCommandsTheyEnable();
  void contourSettingsAndAutomaticLevels();
  void aMapWithBoundaryLinesAndContours();
  void perspectiveOnAndOffRestoresTheLastValues();
  void drawOptions();
  void commandsWithoutASurfaceDrawNothing();
  void aMapThatRunsOutOfMemoryKeepsThePictureAndTheState();
  void aFailedOverlayKeepsThePictureUnderIt();
  void viewsThatCannotMakeAPictureAreRefused();
  void theShadingShadesTheMapOnScreen();

 private:
  void failStepsStartingWith(const std::string& prefix);
  void expectRefused(QPushButton* command, const QString& because);
  void loadAndBuild();
  QString write(const QString& name, const QByteArray& content) {
    return fixture_->write(name, content);
  }
  Ui::formMain& ui() { return window_->ui(); }
  const ViewerState& state() { return window_->state(); }
  const QImage& picture() { return window_->formImage().canvas().image(); }
  int pixelsOf(const QColor& color);
  qint64 brightness();

  std::unique_ptr<WindowFixture> fixture_;
  ScriptedDialogs* dialogs_ = nullptr;
  FormMain* window_ = nullptr;
};

const PackedColor kLow = packRgb(200, 60, 60);
const PackedColor kHigh = packRgb(60, 60, 200);
const PackedColor kLine = packRgb(0, 200, 0);

void MapDrawingFlowTest::init() {
  fixture_ = std::make_unique<WindowFixture>();
  dialogs_ = &fixture_->dialogs;
  window_ = &fixture_->window;
  window_->formImage().resize(400, 400);
  QTRY_COMPARE(window_->formImage().canvas().width(), 400.0);
}

void MapDrawingFlowTest::cleanup() { fixture_.reset(); }

int MapDrawingFlowTest::pixelsOf(const QColor& color) {
  const QImage& image = picture();
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == color.rgb();
  }
  return count;
}

qint64 MapDrawingFlowTest::brightness() {
  const QImage& image = picture();
  qint64 sum = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) sum += qGray(image.pixel(x, y));
  }
  return sum;
}

// The template ("a" below "s", "b" above it), "s" flat at 50 under a 5 x 5 surface rising
// eastward from 12.3 to 87.6.
void MapDrawingFlowTest::loadAndBuild() {
  QTest::mouseClick(ui().cmd2Layer, Qt::LeftButton);
  dialogs_->files.push_back(write("s.txt", "2,2,0,0,100,100,50,50,50,50"));
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  dialogs_->colors = {kLow, kHigh};
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);
  QByteArray display = "5,5,0,0,25,25";
  const double column[] = {12.3, 30, 50, 70, 87.6};
  for (double z : column) {
    for (int j = 0; j < 5; ++j) display += "," + QByteArray::number(z);
  }
  dialogs_->files.push_back(write("surface.txt", display));
  QTest::mouseClick(ui().cmdOpenDisplayFile, Qt::LeftButton);
  ui().txtZbase->setText("0");
  QTest::mouseClick(ui().cmdKalvenor, Qt::LeftButton);
  QVERIFY(dialogs_->messages.isEmpty());
}

void MapDrawingFlowTest::theViewPresetsAndTheCommandsTheyEnable() {
  loadAndBuild();
  QVERIFY(ui().lbl6->isVisibleTo(window_));
  QVERIFY(!ui().cmdGeoMap->isEnabled());
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  QCOMPARE(ui().txtAlpha->text(), QString("225"));
  QCOMPARE(ui().txtSca->text(), QString("1.2"));
  QCOMPARE(ui().txtDist->text(), QString("10000000000"));
  QCOMPARE(state().progress.viewReady(), true);
  QVERIFY(!ui().lbl6->isVisibleTo(window_));
  QVERIFY(ui().cmdGeoMap->isEnabled());
  QVERIFY(ui().cmdGrid->isEnabled());
  QVERIFY(!ui().cmdContour->isEnabled());

  ui().txtSca->setText("0");  // a zero scale no longer draws, but the view stays ready
  QCOMPARE(state().view.Sca, 0.0);
  QCOMPARE(state().progress.viewReady(), true);

  QTest::mouseClick(ui().cmd2D, Qt::LeftButton);
  QCOMPARE(ui().txtAlpha->text(), QString("180"));
  QCOMPARE(ui().txtGamma->text(), QString("90"));
  QCOMPARE(state().view.Sca, 1.8);
  QVERIFY(!ui().chkSide->isChecked());
  QVERIFY(ui().optWaku4->isChecked());
}

void MapDrawingFlowTest::contourSettingsAndAutomaticLevels() {
  loadAndBuild();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(ui().cmdContourAuto, Qt::LeftButton);
  QCOMPARE(ui().txtCst->text(), QString("12"));
  QCOMPARE(ui().txtCen->text(), QString("88"));
  QCOMPARE(ui().txtCin->text(), QString("4"));
  QCOMPARE(ui().lblContourColor->text(), QString("19"));
  QVERIFY(ui().chkContour->isChecked());
  QCOMPARE(state().progress.contourReady(), true);
  QVERIFY(ui().cmdContour->isEnabled());

  ui().txtCen->setText("12");  // one level only: not enough for contours
  QCOMPARE(state().progress.contourReady(), false);
  QVERIFY(!ui().cmdContour->isEnabled());

  ui().txtSepInt->setText("0.5");
  QTest::mouseClick(ui().cmdContourAuto, Qt::LeftButton);
  QCOMPARE(ui().txtSepInt->text(), QString("1"));
  QCOMPARE(ui().txtCin->text(), QString("76"));
  ui().txtSepInt->setText("0");
  QVERIFY(!ui().cmdContourAuto->isEnabled());
  ui().txtSepInt->setText("10");
  QVERIFY(!ui().cmdContourAuto->isEnabled());  // for the rest of the run
}

void MapDrawingFlowTest::aMapWithBoundaryLinesAndContours() {
  loadAndBuild();
  // Colour the boundary line through its column header.
  dialogs_->colors = {kLine};
  QHeaderView* header = ui().grdModel->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(0) + 3, header->height() / 2));
  QCOMPARE(state().boundaryColor[1], kLine);

  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  ui().txtVe->setText("1");
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QVERIFY(pixelsOf(QColor(200, 60, 60)) > 100);  // unit "a" west of the boundary
  QVERIFY(pixelsOf(QColor(60, 60, 200)) > 100);  // unit "b" east of it
  QVERIFY(pixelsOf(QColor(0, 200, 0)) > 10);     // the contact in its line colour
  QCOMPARE(ui().lblAlpha->text(), QString("225"));
  QCOMPARE(ui().lblZbase2->text(), QString("0"));
  // The near base corner of the block lies on a black edge.
  const DisplaySurface& d = *state().display;
  const Projection projection = window_->session().projection();
  const auto corner =
      projection.projectPoint(d.nodeX[projection.orderX().last], d.nodeY[projection.orderY().last],
                              projection.exaggerateHeight(0));
  QVERIFY(corner && picture().valid(corner->x, corner->y));
  QCOMPARE(picture().pixel(corner->x, corner->y), qRgb(0, 0, 0));

  const int blackBefore = pixelsOf(Qt::black);
  QTest::mouseClick(ui().cmdContourAuto, Qt::LeftButton);
  QTest::mouseClick(ui().cmdContour, Qt::LeftButton);  // over the picture: cells turn white
  QCOMPARE(pixelsOf(QColor(200, 60, 60)), 0);
  QVERIFY(pixelsOf(Qt::black) > blackBefore / 2);

  QTest::mouseClick(ui().cmd2D, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  // Plan view, 3.6 pixels a metre: "a" up to the node at x 50, where the surface dips just
  // below the boundary, and the cell east of it takes that node's colour; "b" east of x 75.
  QCOMPARE(picture().pixelColor(200 - 60, 200), QColor(200, 60, 60));
  QCOMPARE(picture().pixelColor(200 + 60, 200), QColor(200, 60, 60));
  QCOMPARE(picture().pixelColor(200 + 110, 180), QColor(60, 60, 200));  // between contours
}

void MapDrawingFlowTest::perspectiveOnAndOffRestoresTheLastValues() {
  loadAndBuild();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  ui().chkPers->setChecked(true);
  // The first time nothing is saved yet: a distance that makes a picture of the block is proposed.
  QVERIFY(ui().txtDist->text().toDouble() > 0);
  QCOMPARE(state().view.Dist, ui().txtDist->text().toDouble());
  QVERIFY(ui().txtDist->isEnabled());
  ui().txtDist->setText("800");
  ui().txtPpz->setText("20");
  QCOMPARE(state().view.Dist, 800.0);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  const QImage perspective = picture().copy();

  ui().chkPers->setChecked(false);
  QCOMPARE(ui().txtDist->text(), QString("10000000000"));
  QCOMPARE(ui().txtPpz->text(), QString("0"));
  QVERIFY(!ui().txtDist->isEnabled());
  QCOMPARE(state().view.Dist, 1e10);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QVERIFY(picture() != perspective);

  ui().chkPers->setChecked(true);
  QCOMPARE(ui().txtDist->text(), QString("800"));
  QCOMPARE(ui().txtPpz->text(), QString("20"));
}

void MapDrawingFlowTest::drawOptions() {
  QVERIFY(ui().chkboundary->isChecked());
  QVERIFY(state().drawOptions.DrawBoundary);
  ui().chkboundary->setChecked(false);
  QVERIFY(!state().drawOptions.DrawBoundary);

  ui().chkBack->setChecked(true);
  QCOMPARE(state().drawOptions.LineColor, kWhite);
  QTest::mouseClick(ui().cmdImageClear, Qt::LeftButton);
  QCOMPARE(picture().pixel(5, 5), qRgb(0, 0, 0));
  ui().chkBack->setChecked(false);
  QCOMPARE(state().drawOptions.LineColor, kBlack);

  ui().chkWaku->setChecked(false);
  QVERIFY(!ui().optWaku2->isChecked());
  QVERIFY(!ui().optWaku4->isChecked());
  ui().optWaku2->setChecked(true);
  QVERIFY(ui().chkWaku->isChecked());

  ui().chkAutoRedraw->setChecked(false);
  QVERIFY(!window_->formImage().canvas().persistent());
}

void MapDrawingFlowTest::commandsWithoutASurfaceDrawNothing() {
  ui().txtSca->setText("1");
  QVERIFY(ui().cmdGrid->isEnabled());
  const QImage before = picture().copy();
  QTest::mouseClick(ui().cmdGrid, Qt::LeftButton);
  QCOMPARE(picture(), before);
  QVERIFY(dialogs_->messages.isEmpty());
}

// Makes the named steps fail as if memory ran out.
void MapDrawingFlowTest::failStepsStartingWith(const std::string& prefix) {
  window_->session().setStepHook([prefix](const std::string& step) {
    if (step.starts_with(prefix)) throw std::bad_alloc();
  });
}

void MapDrawingFlowTest::aMapThatRunsOutOfMemoryKeepsThePictureAndTheState() {
  loadAndBuild();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  const QImage before = picture().copy();
  const Array2D<std::int16_t> units = *state().drawUnit;
  const std::array<std::int16_t, 2> walls = state().visibleWall;

  ui().txtAlpha->setText("45");  // from the other side: other walls, another picture
  failStepsStartingWith("draw the side walls");
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QCOMPARE(dialogs_->messages,
           QStringList{"\"地質図\": not enough memory to draw the side walls of a 5 x 5 grid"});
  QCOMPARE(picture(), before);
  QCOMPARE(*state().drawUnit, units);
  QCOMPARE(state().visibleWall, walls);
  QCOMPARE(state().drawOptions.DrawMode, DrawingMode::GeologicalMap);
  QCOMPARE(state().progress.mapGrid(), GridState::Current);
  QCOMPARE(ui().lblAlpha->text(), QString("225"));  // the figures of the picture still shown
  QVERIFY(QApplication::overrideCursor() == nullptr);

  window_->session().setStepHook({});  // the window is still usable
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(picture() != before);
  QVERIFY(state().visibleWall != walls);
  QCOMPARE(ui().lblAlpha->text(), QString("45"));
}

void MapDrawingFlowTest::aFailedOverlayKeepsThePictureUnderIt() {
  loadAndBuild();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QTest::mouseClick(ui().cmdContourAuto, Qt::LeftButton);
  const QImage map = picture().copy();
  failStepsStartingWith("draw the 3D map");
  QTest::mouseClick(ui().cmdContour, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGrid, Qt::LeftButton);
  QCOMPARE(dialogs_->messages,
           (QStringList{"\"コンタｰ\": not enough memory to draw the 3D map of a 5 x 5 grid",
                        "\"格子線\": not enough memory to draw the 3D map of a 5 x 5 grid"}));
  QCOMPARE(picture(), map);
  QCOMPARE(state().drawOptions.DrawMode, DrawingMode::GeologicalMap);
}

void MapDrawingFlowTest::expectRefused(QPushButton* command, const QString& because) {
  QVERIFY2(command->isEnabled(), qPrintable(command->text()));
  const QImage before = picture().copy();
  dialogs_->messages.clear();
  QTest::mouseClick(command, Qt::LeftButton);
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY2(dialogs_->messages.first().startsWith("\"" + command->text() + "\": "),
           qPrintable(dialogs_->messages.first()));
  QVERIFY2(dialogs_->messages.first().contains(because), qPrintable(dialogs_->messages.first()));
  QCOMPARE(picture(), before);
}

void MapDrawingFlowTest::viewsThatCannotMakeAPictureAreRefused() {
  loadAndBuild();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QTest::mouseClick(ui().cmdContourAuto, Qt::LeftButton);
  struct Case {
    QLineEdit* box;
    const char* value;
    const char* because;
  };
  const Case cases[] = {
      {ui().txtSca, "0", "magnification"},    {ui().txtSca, "-1.5", "magnification"},
      {ui().txtSca, "0e5", "magnification"},  {ui().txtSca, "5000", "magnification"},
      {ui().txtVe, "0", "exaggeration"},      {ui().txtVe, "-3", "exaggeration"},
      {ui().txtZbase, "87.6", "base height"}, {ui().txtZbase, "200", "base height"}};
  for (const Case& c : cases) {
    const QString kept = c.box->text();
    c.box->setText(c.value);
    expectRefused(ui().cmdGeoMap, c.because);
    c.box->setText(kept);
  }
  // What goes over the map goes in the view it was drawn in, whatever the boxes hold.
  const QImage map = picture().copy();
  ui().txtSca->setText("0");
  dialogs_->messages.clear();
  QTest::mouseClick(ui().cmdGrid, Qt::LeftButton);
  QVERIFY(dialogs_->messages.isEmpty());
  QVERIFY(picture() != map);
  ui().txtSca->setText("1.2");
  ui().chkPers->setChecked(true);
  ui().txtDist->setText("-800");
  expectRefused(ui().cmdGeoMap, "perspective distance");
  ui().chkPers->setChecked(false);

  // The section commands refuse the same views.
  ui().txtXstart->setText("0");
  ui().txtYstart->setText("50");
  ui().txtXend->setText("100");
  ui().txtYend->setText("50");
  QTest::mouseClick(ui().cmdSectionModel, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGeoSection, Qt::LeftButton);
  ui().txtVe->setText("0");
  expectRefused(ui().cmdGeoSection, "exaggeration");
  ui().txtVe->setText("2");  // a view that can make a picture draws again
  dialogs_->messages.clear();
  const QImage refused = picture().copy();
  QTest::mouseClick(ui().cmdGeoSection, Qt::LeftButton);
  QVERIFY(dialogs_->messages.isEmpty());
  QVERIFY(picture() != refused);
}

// "陰影をつける" shades the map on screen at once, with the light its boxes hold; a light it
// cannot use is refused when the map is drawn, and off, the map is flat again.
void MapDrawingFlowTest::theShadingShadesTheMapOnScreen() {
  loadAndBuild();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  const QImage flat = picture().copy();
  QCOMPARE(ui().txtShadeAzimuth->text(), QString("315"));
  QCOMPARE(ui().txtShadeAltitude->text(), QString("45"));
  QCOMPARE(ui().txtShadeStrength->text(), QString("0.5"));
  QVERIFY(!ui().txtShadeStrength->isEnabled());

  ui().chkShade->setChecked(true);
  QVERIFY(ui().txtShadeStrength->isEnabled());
  QTRY_VERIFY(picture() != flat);
  const qint64 litFromNorthWest = brightness();
  ui().txtShadeAzimuth->setText("90");
  ui().txtShadeAltitude->setText("30");
  ui().txtShadeStrength->setText("1");
  QCOMPARE(state().drawOptions.shading, (ReliefShading{true, 90, 30, 1}));
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QVERIFY(dialogs_->messages.isEmpty());
  QVERIFY(brightness() < litFromNorthWest);  // the surface faces west

  ui().txtShadeAltitude->setText("95");
  expectRefused(ui().cmdGeoMap, "0 to 90 degrees above the horizon; found 95");
  ui().txtShadeAltitude->setText("30");
  ui().chkShade->setChecked(false);
  QVERIFY(!state().drawOptions.shading.on);
  QTRY_COMPARE(picture(), flat);
}

QTEST_MAIN(MapDrawingFlowTest)
#include "map_drawing_flow_test.moc"
