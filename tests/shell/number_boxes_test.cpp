#include <QtTest>
#include <map>
#include <memory>

#include "imagewin/form_image.h"
#include "window_fixture.h"

using namespace kalvenor;

// Numbers as people write them: letters in a numeric box are refused with a message naming the
// box, values show in the shortest form that reads back the same, and perspective switched on
// starts from a distance that makes a picture.
class NumberBoxesTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void lettersInAViewBoxAreRefusedOnceItIsLeft_data();
  void lettersInAViewBoxAreRefusedOnceItIsLeft();
  void aNumberBeingTypedTakesEffectOnlyOnceItIsOne();
  void lettersInTheBaseHeightNeverBuildAtZero();
  void anEmptyBoxKeepsItsMeaning();
  void lettersInASectionBoxRefuseTheBuild();
  void lettersInTheBoundaryCountRefuseTheChange();
  void viewValuesShowAsAUserWouldWriteThem();
  void theSurfaceRangeShowsAsTheFileWroteIt();
  void perspectiveProposesAnEyeDistanceThatMakesAPicture();

 private:
  Ui::formMain& ui() { return window_->ui(); }
  const ViewerState& state() { return window_->state(); }
  // Types the text over what the box holds, its first key replacing it, and leaves the box with
  // Return, as a user does.
  void typeAndLeave(QLineEdit* box, const QString& text);

  std::unique_ptr<WindowFixture> fixture_;
  ScriptedDialogs* dialogs_ = nullptr;
  FormMain* window_ = nullptr;
};

void NumberBoxesTest::init() {
  fixture_ = std::make_unique<WindowFixture>();
  dialogs_ = &fixture_->dialogs;
  window_ = &fixture_->window;
}

void NumberBoxesTest::cleanup() { fixture_.reset(); }

void NumberBoxesTest::typeAndLeave(QLineEdit* box, const QString& text) {
  box->setFocus();
  box->selectAll();
  if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Delete);
  QTest::keyClicks(box, text);
  QTest::keyClick(box, Qt::Key_Return);
}

void NumberBoxesTest::lettersInAViewBoxAreRefusedOnceItIsLeft_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("kept");  // the last number the text was on its way
  QTest::newRow("azimuth") << "txtAlpha"
                           << "「視点方向（北から時計回り）」"
                           << "abc"
                           << "30";
  QTest::newRow("depression") << "txtGamma"
                              << "「視点伏角（水平から下向き）」"
                              << "abc"
                              << "30";
  QTest::newRow("magnification") << "txtSca"
                                 << "「図の拡大率」"
                                 << "abc"
                                 << "30";
  QTest::newRow("exaggeration") << "txtVe"
                                << "「高さの強調」"
                                << "2 x"
                                << "2";
  QTest::newRow("beyond a double") << "txtSca"
                                   << "「図の拡大率」"
                                   << "1e400"
                                   << "1E+40";
}

void NumberBoxesTest::lettersInAViewBoxAreRefusedOnceItIsLeft() {
  QFETCH(QString, box);
  QFETCH(QString, caption);
  QFETCH(QString, typed);
  QFETCH(QString, kept);
  auto* edit = window_->findChild<QLineEdit*>(box);
  QVERIFY(edit);
  fixture_->buildSmallBlock();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  typeAndLeave(edit, "30");
  QVERIFY(dialogs_->messages.isEmpty());

  typeAndLeave(edit, typed);
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY2(dialogs_->messages.first().contains(caption), qPrintable(dialogs_->messages.first()));
  QVERIFY(dialogs_->messages.first().contains("\"" + typed + "\""));
  QCOMPARE(edit->text(), kept);  // the value in use, shown again
  const ViewSettings& v = state().view;
  const std::map<QString, double> inUse = {
      {"txtAlpha", v.Alpha}, {"txtGamma", v.Gamma}, {"txtSca", v.Sca}, {"txtVe", v.Ve}};
  QCOMPARE(inUse.at(box), kept.toDouble());
}

// "-", "1e" and "2." are on their way to a number: nothing takes effect and nothing is said
// until a number stands there.
void NumberBoxesTest::aNumberBeingTypedTakesEffectOnlyOnceItIsOne() {
  ui().txtAlpha->setText("45");
  const QList<QPair<QString, double>> steps = {{"-", 45},      {"-1", -1}, {"-1e", -1},
                                               {"-1e2", -100}, {"2.", 2},  {"12x", 2}};
  for (const auto& [text, Alpha] : steps) {
    ui().txtAlpha->setText(text);
    QCOMPARE(ui().txtAlpha->text(), text);
    QCOMPARE(state().view.Alpha, Alpha);
  }
  QVERIFY(dialogs_->messages.isEmpty());
}

void NumberBoxesTest::lettersInTheBaseHeightNeverBuildAtZero() {
  fixture_->buildSmallBlock();
  typeAndLeave(ui().txtZbase, "-20");
  QCOMPARE(state().Zbase, -20.0);
  typeAndLeave(ui().txtZbase, "abc");
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages.first().contains("「ベースの高さ」"));
  QCOMPARE(state().Zbase, -20.0);
  for (QLineEdit* box : {ui().txtZbase, ui().txtZbase2}) QCOMPARE(box->text(), QString("-20"));
  QCOMPARE(ui().lblZbase->text(), QString("-20"));

  ui().txtZbase2->setText("5 m");  // typed, not yet left: the base in use stays
  QCOMPARE(state().Zbase, -20.0);
  QTest::mouseClick(ui().cmdKalvenor, Qt::LeftButton);
  QVERIFY(!state().mapGrid->mapUnit.empty());
  QCOMPARE(state().Zbase, -20.0);
}

// An empty view box leaves its value as it was; an empty base height is 0, as before.
void NumberBoxesTest::anEmptyBoxKeepsItsMeaning() {
  ui().txtSca->setText("1.5");
  ui().txtSca->setText("");
  QCOMPARE(state().view.Sca, 1.5);
  ui().txtZbase->setText("12");
  ui().txtZbase->setText("");
  QCOMPARE(state().Zbase, 0.0);
  typeAndLeave(ui().txtSca, "");
  QVERIFY(dialogs_->messages.isEmpty());
}

void NumberBoxesTest::lettersInASectionBoxRefuseTheBuild() {
  fixture_->buildSmallBlock();
  const QList<QPair<QLineEdit*, QString>> boxes = {{ui().txtXstart, "「基点の入力 X」"},
                                                   {ui().txtYend, "「終点指定 Y」"},
                                                   {ui().txtFai, "「方角」"}};
  for (const auto& [box, caption] : boxes) {
    for (QLineEdit* line : {ui().txtXstart, ui().txtYstart, ui().txtXend, ui().txtYend}) {
      line->setText("50");
    }
    ui().txtYend->setText("90");
    ui().txtFai->setText("0");
    box->setText("1O0");
    dialogs_->messages.clear();
    QTest::mouseClick(ui().cmdSectionModel, Qt::LeftButton);
    QCOMPARE(dialogs_->messages.size(), 1);
    QVERIFY2(dialogs_->messages.first().contains(caption), qPrintable(dialogs_->messages.first()));
    QVERIFY(state().sectionGrid->empty());
  }
}

void NumberBoxesTest::lettersInTheBoundaryCountRefuseTheChange() {
  QTest::mouseClick(ui().cmd2Layer, Qt::LeftButton);
  ui().txtNbd->setText("abc");
  QTest::mouseClick(ui().cmdModelChange, Qt::LeftButton);
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages.first().contains("「境界（列）の数」"));
  QCOMPARE(state().model.Nbd, 1);
  QCOMPARE(ui().grdModel->columnCount(), 1);
}

// A view changed by arithmetic (a gesture's factor, a command line) shows without its noise.
void NumberBoxesTest::viewValuesShowAsAUserWouldWriteThem() {
  const ImageCanvas& canvas = window_->formImage().canvas();
  const double noisy = 0.1 + 0.2;  // 0.30000000000000004
  window_->session().applyView(
      {.Alpha = 1.8 * 1.1, .Gamma = noisy, .Sca = 2.00000000000001, .Ve = 3.0}, canvas.width(),
      canvas.height());
  QCOMPARE(ui().txtAlpha->text(), QString("1.98"));
  QCOMPARE(ui().txtGamma->text(), QString("0.3"));
  QCOMPARE(ui().txtSca->text(), QString("2"));
  QCOMPARE(ui().txtVe->text(), QString("3"));
  QCOMPARE(ui().txtDist->text(), QString("10000000000"));
}

// Loading lowers each display elevation by less than a millionth; the figures show the file's.
void NumberBoxesTest::theSurfaceRangeShowsAsTheFileWroteIt() {
  fixture_->dialogs.files.push_back(
      fixture_->write("d.txt", "3,2,0,0,10,10,195.1,196,197.25,198,199,2000.04"));
  QTest::mouseClick(ui().cmdOpenDisplayFile, Qt::LeftButton);
  QVERIFY(state().display->Zmin < 195.1);
  QVERIFY(state().display->Zmax < 2000.04);
  for (QLabel* label : {ui().lblZmin, ui().lblZminGeo, ui().lblZminContour}) {
    QCOMPARE(label->text(), QString("195.1"));
  }
  for (QLabel* label : {ui().lblZmax, ui().lblZmaxGeo, ui().lblZmaxContour}) {
    QCOMPARE(label->text(), QString("2000.04"));
  }
}

// The small block spans 100 x 100 and 87.6 above its base at 0, twice that with the default
// exaggeration of 2: twice its diagonal of 225.2 is 450.3, proposed as 460. The proposal draws the
// block, and stays once the user changes it.
void NumberBoxesTest::perspectiveProposesAnEyeDistanceThatMakesAPicture() {
  ui().chkPers->setChecked(true);
  QCOMPARE(ui().txtDist->text(), QString("0"));  // no block yet: nothing to propose
  ui().chkPers->setChecked(false);

  fixture_->buildSmallBlock();
  QTest::mouseClick(ui().cmd3DDefault, Qt::LeftButton);
  ui().chkPers->setChecked(true);
  QCOMPARE(ui().txtDist->text(), QString("460"));
  QCOMPARE(state().view.Dist, 460.0);
  QTest::mouseClick(ui().cmdGeoMap, Qt::LeftButton);
  QVERIFY(dialogs_->messages.isEmpty());
  const QImage picture = window_->formImage().canvas().screen();
  const QColor corner = picture.pixelColor(0, 0);
  const QColor middle = picture.pixelColor(picture.width() / 2, picture.height() / 2);
  QVERIFY(middle != corner);

  ui().txtDist->setText("500");
  ui().chkPers->setChecked(false);
  ui().chkPers->setChecked(true);
  QCOMPARE(ui().txtDist->text(), QString("500"));
}

QTEST_MAIN(NumberBoxesTest)
#include "number_boxes_test.moc"
