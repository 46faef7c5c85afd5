#include <QtTest>

#include "imagewin/form_image.h"
#include "picture_check.h"
#include "scripted_dialogs.h"
#include "shell/form_main.h"
#include "test_paths.h"

using namespace kalvenor;

// The bundled example from its files to a map with walls, a section and its line over the map,
// the section with grid lines over it, back to the map, saved as a bitmap; the commands checked
// after each step.
class SectionFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void fromTheMapToTheSectionAndBack();

 private:
  struct Enabled {
    bool geoMap, geoSection, geoSectionLine, contour, grid;
  };
  void expectCommands(const Enabled& expected);
  int pixelsOf(PackedColor color) const;
  const ViewerState& state() { return window_->state(); }

  ScriptedDialogs dialogs_;
  FormMain* window_ = nullptr;
};

const PackedColor kLimestone = packRgb(143, 179, 217);
const PackedColor kSandstone = packRgb(232, 196, 104);
const PackedColor kMudstone = packRgb(140, 154, 107);
const PackedColor kConglomerate = packRgb(201, 138, 94);
const PackedColor kCover = packRgb(227, 163, 181);

void SectionFlowTest::expectCommands(const Enabled& e) {
  Ui::formMain& ui = window_->ui();
  QCOMPARE(ui.cmdGeoMap->isEnabled(), e.geoMap);
  QCOMPARE(ui.cmdGeoSection->isEnabled(), e.geoSection);
  QCOMPARE(ui.cmdGeoSectionLine->isEnabled(), e.geoSectionLine);
  QCOMPARE(ui.cmdContour->isEnabled(), e.contour);
  QCOMPARE(ui.cmdGrid->isEnabled(), e.grid);
}

int SectionFlowTest::pixelsOf(PackedColor color) const {
  const QImage& image = window_->formImage().canvas().image();
  const QRgb wanted = qRgb(redOf(color), greenOf(color), blueOf(color));
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == wanted;
  }
  return count;
}

void SectionFlowTest::fromTheMapToTheSectionAndBack() {
  FormMain window(dialogs_, KALVENOR_EXAMPLES_DIR);
  window_ = &window;
  window.Form_Load();
  window.show();
  window.formImage().resize(600, 600);
  QTRY_COMPARE(window.formImage().canvas().width(), 600.0);
  Ui::formMain& ui = window.ui();
  const QString example = KALVENOR_EXAMPLES_DIR "/folded-basin/";

  dialogs_.files = {example + "model.txt"};
  QTest::mouseClick(ui.cmdOpenModel, Qt::LeftButton);
  dialogs_.files = {example + "limestone_top.txt", example + "sandstone_top.txt",
                    example + "mudstone_top.txt", example + "unconformity.txt"};
  QTest::mouseClick(ui.cmdBoundaryFile, Qt::LeftButton);
  dialogs_.colors = {kLimestone, kSandstone, kMudstone, kConglomerate, kCover};
  QTest::mouseClick(ui.cmdColor, Qt::LeftButton);
  dialogs_.files = {example + "topography.txt"};
  QTest::mouseClick(ui.cmdOpenDisplayFile, Qt::LeftButton);
  ui.txtZbase->setText("0");
  QTest::mouseClick(ui.cmdKalvenor, Qt::LeftButton);
  QTest::mouseClick(ui.cmd3DDefault, Qt::LeftButton);
  expectCommands({true, false, false, false, true});

  QTest::mouseClick(ui.cmdGeoMap, Qt::LeftButton);
  QVERIFY(ui.chkSide->isChecked());
  QVERIFY(pixelsOf(kLimestone) > 1000);  // the folded limestone shows on the walls
  QCOMPARE(state().visibleWall, (std::array<std::int16_t, 2>{kSouthWall, kWestWall}));
  const QImage map = window.formImage().canvas().image().copy();

  // The section's build turns the view boxes to the section, but the map stays on screen and
  // its grid stays: the map can still be drawn and turned, and the survey line goes onto it in
  // the view it was drawn in.
  ui.optSection2->setChecked(true);
  ui.txtXstart->setText("30200");
  ui.txtYstart->setText("41000");
  ui.txtXend->setText("34800");
  ui.txtYend->setText("43500");
  QTest::mouseClick(ui.cmdSectionModel, Qt::LeftButton);
  expectCommands({true, true, true, false, true});
  QCOMPARE(window.session().redrawablePicture(), PictureKind::Map);
  QTest::mouseClick(ui.cmdGeoSectionLine, Qt::LeftButton);
  const QImage lineOverMap = window.formImage().canvas().image().copy();
  QVERIFY(lineOverMap != map);  // the dotted outline added

  QTest::mouseClick(ui.cmdGeoSection, Qt::LeftButton);
  QCOMPARE(state().progress.mapGrid(), GridState::Superseded);
  QCOMPARE(ui.lblGammaS->text(), QString("0"));
  QCOMPARE(ui.lblScaS->text(), QString("1.4"));
  expectCommands({true, true, true, false, true});
  QVERIFY(pixelsOf(kSandstone) > 100);
  const int lineColourPixels = pixelsOf(kBlack);

  QTest::mouseClick(ui.cmdGrid, Qt::LeftButton);  // the section's cells outlined
  QVERIFY(pixelsOf(kBlack) > lineColourPixels);
  QVERIFY(dialogs_.messages.isEmpty());

  // Back to the map without building it again: the same picture, and the same line over it.
  QTest::mouseClick(ui.cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(ui.cmdGeoMap, Qt::LeftButton);
  KALVENOR_COMPARE_PICTURES(window.formImage().canvas().image(), map, kExactPixels, "map");
  QTest::mouseClick(ui.cmdGeoSectionLine, Qt::LeftButton);
  KALVENOR_COMPARE_PICTURES(window.formImage().canvas().image(), lineOverMap, kExactPixels, "line");

  QTest::mouseClick(ui.cmdKalvenor, Qt::LeftButton);  // a new map keeps the section
  expectCommands({true, true, true, false, true});
  QTest::mouseClick(ui.cmdGeoSection, Qt::LeftButton);
  QVERIFY(pixelsOf(kSandstone) > 100);
  QVERIFY(dialogs_.messages.isEmpty());
  QTest::mouseClick(ui.cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(ui.cmdGeoMap, Qt::LeftButton);
  KALVENOR_COMPARE_PICTURES(window.formImage().canvas().image(), map, kExactPixels, "map");

  QTemporaryDir folder;
  const QString path = folder.filePath("map.bmp");
  dialogs_.files = {path};
  QTest::mouseClick(ui.cmdImageSave, Qt::LeftButton);
  const QImage saved(path, "bmp");
  QCOMPARE(saved.size(), QSize(600, 600));
  KALVENOR_COMPARE_PICTURES(saved, window.formImage().canvas().image(), kExactPixels, "saved");
  window_ = nullptr;
}

QTEST_MAIN(SectionFlowTest)
#include "section_flow_test.moc"
