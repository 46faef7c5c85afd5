#include <QRegularExpression>
#include <QtTest>

#include "example_inputs.h"
#include "shell/preload.h"
#include "shell/window_fixture.h"

using namespace kalvenor;

// "断面図集を書き出す" on ④: the series' boxes, the refusals, and the atlas of the survey line of
// the last section build.
class AtlasWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void beforeASectionTheMissingStepIsNamed();
  void theAtlasHasAPagePerSectionOfTheBoxes();
  void aSeriesThatCannotBeMadeShowsTheOneInUse();
  void theSessionKeepsTheSeries();
};

namespace {

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int pageCount(const QByteArray& pdf) {
  return QString::fromLatin1(pdf).count(QRegularExpression(R"(/Type\s*/Page[^s])"));
}

// The box's text as typed and left.
void type(QLineEdit* box, const QString& text) {
  box->setText(text);
  emit box->editingFinished();
}

// The example with a section east-north-east across it.
void preloadWithSection(WindowFixture& fixture) {
  SessionOptions options;
  options.inputs = exampleInputFiles();
  options.start = Point2{30200, 41000};
  options.azimuth = 61;
  preload(fixture.window, options);
}

}  // namespace

void AtlasWindowTest::beforeASectionTheMissingStepIsNamed() {
  WindowFixture fixture;
  SessionOptions options;
  options.inputs = exampleInputFiles();
  preload(fixture.window, options);
  const QString file = fixture.folder.filePath("atlas.pdf");
  fixture.dialogs.files = {file};
  QTest::mouseClick(fixture.window.ui().cmdAtlas, Qt::LeftButton);
  QCOMPARE(fixture.dialogs.messages.size(), 1);
  QVERIFY2(fixture.dialogs.messages[0].contains("(5-2)"), qPrintable(fixture.dialogs.messages[0]));
  QVERIFY(!QFile::exists(file));
}

void AtlasWindowTest::theAtlasHasAPagePerSectionOfTheBoxes() {
  WindowFixture fixture;
  preloadWithSection(fixture);
  Ui::formMain& ui = fixture.window.ui();
  type(ui.txtSeriesCount, "3");  // waits for its spacing
  QCOMPARE(fixture.window.state().series, SectionSeries{});
  type(ui.txtSeriesSpacing, "-400");
  QCOMPARE(fixture.window.state().series, (SectionSeries{3, -400}));
  const QString file = fixture.folder.filePath("atlas");
  fixture.dialogs.files = {file};
  QTest::mouseClick(ui.cmdAtlas, Qt::LeftButton);
  QVERIFY2(fixture.dialogs.messages.isEmpty(), qPrintable(fixture.dialogs.messages.join('\n')));
  const QByteArray pdf = contents(file + ".pdf");  // the filter's extension added
  QVERIFY(pdf.startsWith("%PDF"));
  QCOMPARE(pageCount(pdf), 3);
}

// A count that is none is refused as it is typed; more sections at a spacing of 0 wait for the
// spacing and are refused by the command.
void AtlasWindowTest::aSeriesThatCannotBeMadeShowsTheOneInUse() {
  WindowFixture fixture;
  preloadWithSection(fixture);
  Ui::formMain& ui = fixture.window.ui();
  type(ui.txtSeriesSpacing, "250");
  type(ui.txtSeriesCount, "4");
  for (const char* count : {"0", "2.5", "101"}) {
    fixture.dialogs.messages.clear();
    type(ui.txtSeriesCount, count);
    QCOMPARE(fixture.dialogs.messages.size(), 1);
    QVERIFY2(fixture.dialogs.messages[0].contains("from 1 to 100"),
             qPrintable(fixture.dialogs.messages[0]));
    QCOMPARE(fixture.window.state().series, (SectionSeries{4, 250}));
    QCOMPARE(ui.txtSeriesCount->text(), QString("4"));
  }
  fixture.dialogs.messages.clear();
  type(ui.txtSeriesSpacing, "0");
  QVERIFY(fixture.dialogs.messages.isEmpty());
  const QString file = fixture.folder.filePath("atlas.pdf");
  fixture.dialogs.files = {file};
  QTest::mouseClick(ui.cmdAtlas, Qt::LeftButton);
  QCOMPARE(fixture.dialogs.messages.size(), 1);
  QVERIFY2(fixture.dialogs.messages[0].contains("cannot be 0"),
           qPrintable(fixture.dialogs.messages[0]));
  QCOMPARE(fixture.window.state().series, (SectionSeries{4, 250}));
  QCOMPARE(ui.txtSeriesSpacing->text(), QString("250"));
  QVERIFY(!QFile::exists(file));
}

void AtlasWindowTest::theSessionKeepsTheSeries() {
  WindowFixture fixture;
  preloadWithSection(fixture);
  type(fixture.window.ui().txtSeriesCount, "5");
  type(fixture.window.ui().txtSeriesSpacing, "300");
  const auto fresh = reopenedSession(fixture);
  QCOMPARE(fresh->window.state().series, (SectionSeries{5, 300}));
  QCOMPARE(fresh->window.ui().txtSeriesCount->text(), QString("5"));
  QCOMPARE(fresh->window.ui().txtSeriesSpacing->text(), QString("300"));
}

QTEST_MAIN(AtlasWindowTest)
#include "atlas_window_test.moc"
