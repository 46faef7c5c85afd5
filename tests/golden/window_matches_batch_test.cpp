#include <QHeaderView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "canvas/packed_qcolor.h"
#include "example_pictures.h"
#include "imagewin/form_image.h"
#include "model/colour_file.h"
#include "picture_check.h"
#include "shell/form_main.h"
#include "shell/window_fixture.h"

using namespace kalvenor;

// The window and kalvenor-render draw the bundled example pixel for pixel alike: "地質図"
// against --map, "断面図" against --section. The window is driven only through its controls and
// scripted dialogs; kalvenor-render runs as a process at the size of the window's canvas.
class WindowMatchesBatchTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void theMapIsTheBatchMap();
  void theSmoothMapIsTheBatchMap();
  void theSectionIsTheBatchSection();
  void theSmoothSectionIsTheBatchSection();
  void theBoreholesAreTheBatchBoreholes();
  void withTheLegendTheSectionIsTheBatchFit();
  void cleanupTestCase();

 private:
  void clickHeader(int column);
  QImage batchPicture(const QStringList& picture, const QString& name,
                      const QString& contacts = QStringLiteral("cells"));
  void compareWithBatch(const QImage& window, const QImage& batch, const QString& name);
  Ui::formMain& ui() { return window_->ui(); }
  const QImage& windowPicture() { return window_->formImage().canvas().image(); }

  ScriptedDialogs dialogs_;
  std::unique_ptr<FormMain> window_;
  ColourFile colours_;
  QTemporaryDir folder_;
};

void WindowMatchesBatchTest::clickHeader(int column) { clickColumnHeader(*ui().grdModel, column); }

// Every step of the example done in the window as a user does it: the model, its boundary
// files, the unit colours and the unconformity's line colour of colors.txt, the topography, base
// height 0, the 3D-map grid and the default view of default.txt.
void WindowMatchesBatchTest::initTestCase() {
  QVERIFY(folder_.isValid());
  colours_ = readColourFile(exampleFile("colors.txt").toStdString());
  window_ = std::make_unique<FormMain>(dialogs_, QStringLiteral(KALVENOR_EXAMPLES_DIR));
  window_->Form_Load();
  window_->show();
  // Wider than high, so that a width and height taken the wrong way round shows.
  window_->formImage().resize(640, 480);
  QTRY_COMPARE(window_->formImage().canvas().width(), 640.0);
  QTRY_COMPARE(window_->formImage().canvas().height(), 480.0);

  dialogs_.files = {exampleFile("model.txt")};
  QTest::mouseClick(ui().cmdOpenModel, Qt::LeftButton);
  for (const QString& boundary : kExampleBoundaries) {
    dialogs_.files.push_back(exampleFile(boundary));
  }
  QTest::mouseClick(ui().cmdBoundaryFile, Qt::LeftButton);
  for (const auto& [unit, colour] : colours_.unit) dialogs_.colors.push_back(colour);
  QTest::mouseClick(ui().cmdColor, Qt::LeftButton);
  for (const auto& [boundary, colour] : colours_.boundary) {
    dialogs_.colors = {colour};
    clickHeader(boundary - 1);
  }
  dialogs_.files = {exampleFile("topography.txt")};
  QTest::mouseClick(ui().cmdOpenDisplayFile, Qt::LeftButton);
  ui().txtZbase->setText("0");
  QTest::mouseClick(ui().cmdKalvenor, Qt::LeftButton);
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);

  // The options kalvenor-render draws with by default.
  ui().chkSide->setChecked(true);
  ui().chkboundary->setChecked(true);
  ui().chkWaku->setChecked(true);
  ui().optWaku4->setChecked(true);
  ui().chkBack->setChecked(false);
  ui().chkContour->setChecked(false);
  ui().chkPers->setChecked(false);

  QVERIFY2(dialogs_.messages.isEmpty(), qPrintable(dialogs_.messages.join('\n')));
  QVERIFY(dialogs_.files.empty());
  QVERIFY(dialogs_.colors.empty());
  QVERIFY(ui().cmdGeoMap->isEnabled());
}

void WindowMatchesBatchTest::cleanupTestCase() { window_.reset(); }

// kalvenor-render's picture of the example at the size of the window's canvas.
QImage WindowMatchesBatchTest::batchPicture(const QStringList& picture, const QString& name,
                                            const QString& contacts) {
  const ImageCanvas& canvas = window_->formImage().canvas();
  const QString size = QStringLiteral("%1x%2").arg(canvas.width()).arg(canvas.height());
  const QString path = folder_.filePath(name + ".png");
  QString errors;
  // The window draws cell by cell with four frame sides until asked otherwise.
  const QImage image = renderPicture(exampleInputs() << "--contacts" << contacts << "--frame"
                                                     << "4" << picture << path << "--size" << size,
                                     path, errors);
  if (image.isNull()) qWarning("kalvenor-render: %s", qPrintable(errors));
  return image;
}

// Equal or not, with no tolerance; when not, the failure names the window's picture, the
// batch's and their difference.
void WindowMatchesBatchTest::compareWithBatch(const QImage& window, const QImage& batch,
                                              const QString& name) {
  QVERIFY(!batch.isNull());
  KALVENOR_COMPARE_PICTURES(window, batch, kExactPixels, name);
}

void WindowMatchesBatchTest::theMapIsTheBatchMap() {
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QVERIFY(dialogs_.messages.isEmpty());
  const QImage window = windowPicture().convertToFormat(QImage::Format_RGB32);
  // Every unit shows on the surface or the walls, and the unconformity in its own colour.
  for (const auto& [unit, colour] : colours_.unit) {
    QVERIFY2(pixelsOf(window, toQColor(colour).rgb()) > 100,
             qPrintable(QStringLiteral("unit %1 hardly shows").arg(unit)));
  }
  QVERIFY(pixelsOf(window, toQColor(colours_.boundary.at(4)).rgb()) > 100);

  compareWithBatch(window, batchPicture({"--map"}, "map"), "map");
}

// With 境界に沿って塗る the window splits the cells along the contacts as kalvenor-render's
// default does; off again, it draws cell by cell.
void WindowMatchesBatchTest::theSmoothMapIsTheBatchMap() {
  ui().chkContacts->setChecked(true);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QVERIFY(dialogs_.messages.isEmpty());
  const QImage window = windowPicture().convertToFormat(QImage::Format_RGB32);
  ui().chkContacts->setChecked(false);
  compareWithBatch(window, batchPicture({"--map"}, "map-smooth", "smooth"), "map-smooth");
  QVERIFY(pixelDifference(window, batchPicture({"--map"}, "map")).count > 100);
}

// The section from the start to the end point, in the frontal view its build sets.
void WindowMatchesBatchTest::theSectionIsTheBatchSection() {
  ui().optSection2->setChecked(true);
  ui().txtXstart->setText(kSectionStart.section(',', 0, 0));
  ui().txtYstart->setText(kSectionStart.section(',', 1, 1));
  ui().txtXend->setText(kSectionEnd.section(',', 0, 0));
  ui().txtYend->setText(kSectionEnd.section(',', 1, 1));
  QTest::mouseClick(ui().cmdSectionModel, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGeoSection, Qt::LeftButton);
  QVERIFY(dialogs_.messages.isEmpty());
  const QImage window = windowPicture().convertToFormat(QImage::Format_RGB32);
  int unitsShown = 0;
  for (const auto& [unit, colour] : colours_.unit) {
    unitsShown += pixelsOf(window, toQColor(colour).rgb()) > 100;
  }
  QVERIFY(unitsShown >= 3);

  compareWithBatch(
      window,
      batchPicture({"--start", kSectionStart, "--end", kSectionEnd, "--section"}, "section"),
      "section");
}

void WindowMatchesBatchTest::theSmoothSectionIsTheBatchSection() {
  ui().chkContacts->setChecked(true);
  QTest::mouseClick(ui().cmdGeoSection, Qt::LeftButton);
  QVERIFY(dialogs_.messages.isEmpty());
  const QImage window = windowPicture().convertToFormat(QImage::Format_RGB32);
  ui().chkContacts->setChecked(false);
  compareWithBatch(window,
                   batchPicture({"--start", kSectionStart, "--end", kSectionEnd, "--section"},
                                "section-smooth", "smooth"),
                   "section-smooth");
}

// The example's holes read in "ボーリング" with their ids and residuals: strip logs on the
// section and the holes through the block as --collars, --surveys and --intervals draw them.
void WindowMatchesBatchTest::theBoreholesAreTheBatchBoreholes() {
  const std::pair<QPushButton*, QString> picks[] = {{ui().cmdCollarsFile, "collars.csv"},
                                                    {ui().cmdSurveysFile, "surveys.csv"},
                                                    {ui().cmdIntervalsFile, "intervals.csv"}};
  for (const auto& [button, table] : picks) {
    dialogs_.files = {exampleFile(table)};
    QTest::mouseClick(button, Qt::LeftButton);
  }
  QTest::mouseClick(ui().cmdBoreholesRead, Qt::LeftButton);
  ui().chkBoreholeLabels->setChecked(true);
  ui().chkBoreholeResiduals->setChecked(true);
  dialogs_.messages.clear();  // the warning of the unit the model does not have
  const QStringList holes = {
      "--collars",   exampleFile("collars.csv"),   "--surveys",         exampleFile("surveys.csv"),
      "--intervals", exampleFile("intervals.csv"), "--borehole-labels", "--borehole-residuals"};

  QTest::mouseClick(ui().cmdGeoSection, Qt::LeftButton);
  const QImage section = windowPicture().convertToFormat(QImage::Format_RGB32);
  compareWithBatch(section,
                   batchPicture(QStringList(holes) << "--start" << kSectionStart << "--end"
                                                   << kSectionEnd << "--section",
                                "section-boreholes"),
                   "section-boreholes");
  QVERIFY(pixelDifference(
              section, batchPicture({"--start", kSectionStart, "--end", kSectionEnd, "--section"},
                                    "section"))
              .count > 100);

  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  const QImage map = windowPicture().convertToFormat(QImage::Format_RGB32);
  compareWithBatch(map, batchPicture(QStringList(holes) << "--map", "map-boreholes"),
                   "map-boreholes");
  QVERIFY(dialogs_.messages.isEmpty());

  QTest::mouseClick(ui().cmdBoreholesClear, Qt::LeftButton);
  ui().chkBoreholeLabels->setChecked(false);
  ui().chkBoreholeResiduals->setChecked(false);
  QTest::mouseClick(ui().cmdSectionView, Qt::LeftButton);
}

// With "凡例・目盛" on the window fits the section as --fit does, so the legend and the axes
// stand beside it; the magnification chosen shows in its box.
void WindowMatchesBatchTest::withTheLegendTheSectionIsTheBatchFit() {
  ui().txtSca->setText("1.4");
  ui().chkAnnotations->setChecked(true);
  QTest::mouseClick(ui().cmdGeoSection, Qt::LeftButton);
  QVERIFY(dialogs_.messages.isEmpty());
  const QImage window = windowPicture().convertToFormat(QImage::Format_RGB32);
  const QString fitted = ui().txtSca->text();
  ui().chkAnnotations->setChecked(false);
  QVERIFY(fitted != QStringLiteral("1.4"));
  compareWithBatch(window,
                   batchPicture({"--start", kSectionStart, "--end", kSectionEnd, "--legend",
                                 "--axes", "--fit", "--section"},
                                "section-fitted"),
                   "section-fitted");
}

QTEST_MAIN(WindowMatchesBatchTest)
#include "window_matches_batch_test.moc"
