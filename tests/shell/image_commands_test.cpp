#include <QClipboard>
#include <QtTest>
#include <memory>
#include <new>

#include "imagewin/duplicate_window.h"
#include "imagewin/form_image.h"
#include "picture_check.h"
#include "test_paths.h"
#include "window_fixture.h"

using namespace kalvenor;

class ImageCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void saveOffersEveryFormatAndWritesEachByItsExtension();
  void aBareNameTakesTheChosenFiltersExtensionAndFormat_data();
  void aBareNameTakesTheChosenFiltersExtensionAndFormat();
  void answeringNoLeavesTheExistingFileUntouched();
  void answeringYesReplacesTheExistingFile();
  void cancellingTheDialogDoesNothing();
  void aSaveThatCannotBeWrittenSaysSoAndKeepsTheOldFile();
  void aMapDrawnWithPersistenceOffIsSavedCopiedAndDuplicatedAsShown();
  void aClearedWindowIsSavedBlankInEveryFormat();
  void clearFillsTheCanvasWithTheBackground();
  void duplicateShowsTheDrawingAndLeavesItOnTheClipboard();
  void copyPutsThePersistentPictureOnTheClipboard();
  void aCommandThatFailsPartWayLeavesThePictureAndThePen();

 private:
  ImageCanvas& canvas() { return window_->formImage().canvas(); }
  void drawRedSquare();
  static QByteArray contents(const QString& path);

  std::unique_ptr<WindowFixture> fixture_;
  ScriptedDialogs* dialogs_ = nullptr;
  FormMain* window_ = nullptr;
};

void ImageCommandsTest::init() {
  fixture_ = std::make_unique<WindowFixture>();
  dialogs_ = &fixture_->dialogs;
  window_ = &fixture_->window;
}

void ImageCommandsTest::cleanup() { fixture_.reset(); }

void ImageCommandsTest::drawRedSquare() {
  canvas().setFillStyle(FillStyle::Solid);
  canvas().setFillColor(packRgb(255, 0, 0));
  canvas().polygon(
      {CanvasPoint{5, 5}, CanvasPoint{25, 5}, CanvasPoint{25, 25}, CanvasPoint{5, 25}});
}

QByteArray ImageCommandsTest::contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ImageCommandsTest::saveOffersEveryFormatAndWritesEachByItsExtension() {
  drawRedSquare();
  const QString path = fixture_->folder.filePath("picture.bmp");
  dialogs_->files.push_back(path);
  QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
  // The bitmap stays the first choice; PNG, SVG and PDF follow.
  const QStringList filter = dialogs_->filters.first().split('|');
  QCOMPARE(filter.mid(0, 2), QStringList({"ビットマップファイル (*.bmp)", "*.bmp"}));
  for (const QString pattern : {"*.png", "*.svg", "*.pdf", "*.*"})
    QVERIFY(filter.contains(pattern));
  QVERIFY(dialogs_->questions.isEmpty());
  QVERIFY(contents(path).startsWith("BM"));
  const QImage saved(path, "bmp");
  QCOMPARE(saved.size(), canvas().image().size());
  QCOMPARE(saved.pixelColor(15, 15), QColor(255, 0, 0));
  QVERIFY(dialogs_->messages.isEmpty());

  // Other formats by their extension, whichever filter was chosen; a blank picture still makes a
  // whole file.
  const std::pair<QString, QByteArray> formats[] = {
      {"picture.png", "\x89PNG"}, {"picture.svg", "<?xml"}, {"picture.pdf", "%PDF"}};
  for (const auto& [name, start] : formats) {
    dialogs_->files.push_back(fixture_->folder.filePath(name));
    QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
    QVERIFY2(contents(fixture_->folder.filePath(name)).startsWith(start), qPrintable(name));
  }
  QVERIFY(dialogs_->messages.isEmpty());
}

void ImageCommandsTest::aBareNameTakesTheChosenFiltersExtensionAndFormat_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("chosen");
  QTest::addColumn<QString>("written");
  QTest::addColumn<QByteArray>("start");
  QTest::newRow("bitmap") << "picture"
                          << "*.bmp"
                          << "picture.bmp" << QByteArray("BM");
  QTest::newRow("PNG") << "picture"
                       << "*.png"
                       << "picture.png" << QByteArray("\x89PNG");
  QTest::newRow("SVG") << "picture"
                       << "*.svg"
                       << "picture.svg" << QByteArray("<?xml");
  QTest::newRow("PDF") << "picture"
                       << "*.pdf"
                       << "picture.pdf" << QByteArray("%PDF");
  QTest::newRow("every file") << "picture"
                              << "*.*"
                              << "picture" << QByteArray("BM");
  QTest::newRow("an offered extension stays") << "picture.PNG"
                                              << "*.bmp"
                                              << "picture.PNG" << QByteArray("\x89PNG");
  QTest::newRow("a dot in the name") << "map.2024"
                                     << "*.png"
                                     << "map.2024.png" << QByteArray("\x89PNG");
  QTest::newRow("a trailing dot") << "map."
                                  << "*.png"
                                  << "map.png" << QByteArray("\x89PNG");
}

// The file is written under the name with the extension and in the format of the chosen filter,
// and nothing else is written.
void ImageCommandsTest::aBareNameTakesTheChosenFiltersExtensionAndFormat() {
  QFETCH(QString, typed);
  QFETCH(QString, chosen);
  QFETCH(QString, written);
  QFETCH(QByteArray, start);
  drawRedSquare();
  dialogs_->files.push_back(fixture_->folder.filePath(typed));
  dialogs_->chosenPatterns.push_back(chosen);
  QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
  QVERIFY2(dialogs_->messages.isEmpty(), qPrintable(dialogs_->messages.join('\n')));
  QCOMPARE(QDir(fixture_->folder.path()).entryList(QDir::Files), QStringList{written});
  QVERIFY(contents(fixture_->folder.filePath(written)).startsWith(start));
}

void ImageCommandsTest::answeringNoLeavesTheExistingFileUntouched() {
  const QString path = fixture_->folder.filePath("old.bmp");
  QFile old(path);
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.write("precious bytes");
  old.close();
  dialogs_->files.push_back(path);
  dialogs_->answers.push_back(false);
  QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
  QCOMPARE(dialogs_->questions.size(), 1);
  QCOMPARE(dialogs_->questions.first(),
           QDir::toNativeSeparators(path) +
               QString(" はすでに存在しています．\r\n既存のファイルに上書きしますか？"));
  QCOMPARE(contents(path), QByteArray("precious bytes"));

  // The question is about the file that would be written: the typed name with its extension.
  dialogs_->files.push_back(fixture_->folder.filePath("old"));
  QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
  QCOMPARE(dialogs_->questions.size(), 2);
  QVERIFY(dialogs_->questions.last().startsWith(QDir::toNativeSeparators(path) + " "));
  QCOMPARE(contents(path), QByteArray("precious bytes"));
  QVERIFY(!QFile::exists(fixture_->folder.filePath("old")));
}

void ImageCommandsTest::answeringYesReplacesTheExistingFile() {
  const QString path = fixture_->folder.filePath("old.bmp");
  QFile old(path);
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.write("stale");
  old.close();
  drawRedSquare();
  dialogs_->files.push_back(path);
  dialogs_->answers.push_back(true);
  QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
  QCOMPARE(QImage(path, "bmp").pixelColor(15, 15), QColor(255, 0, 0));
  QCOMPARE(QDir(fixture_->folder.path()).entryList(QDir::Files),
           QStringList{"old.bmp"});  // no temporary left
}

void ImageCommandsTest::cancellingTheDialogDoesNothing() {
  dialogs_->files.push_back(std::nullopt);
  QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
  QVERIFY(dialogs_->messages.isEmpty());
  QVERIFY(dialogs_->questions.isEmpty());
  QVERIFY(QDir(fixture_->folder.path()).isEmpty());
}

// A folder in the way cannot be replaced by a picture, even by an administrator.
void ImageCommandsTest::aSaveThatCannotBeWrittenSaysSoAndKeepsTheOldFile() {
  const QString blocked = fixture_->folder.filePath("taken.bmp");
  QVERIFY(QDir().mkdir(blocked));
  dialogs_->files.push_back(blocked);
  dialogs_->answers.push_back(true);
  QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
  QCOMPARE(dialogs_->messages.size(), 1);
  QVERIFY(dialogs_->messages.first().contains(QDir::toNativeSeparators(blocked)));
  QVERIFY(QFileInfo(blocked).isDir());

  dialogs_->files.push_back(fixture_->folder.filePath("missing/folder/picture.bmp"));
  QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
  QCOMPARE(dialogs_->messages.size(), 2);
}

// With "AutoRedraw" off the map goes to the screen only; what is saved, copied and duplicated is
// the map the window shows, never the persistent picture's one colour.
void ImageCommandsTest::aMapDrawnWithPersistenceOffIsSavedCopiedAndDuplicatedAsShown() {
  fixture_->buildSmallBlock();
  QTest::mouseClick(window_->ui().chkAutoRedraw, Qt::LeftButton);
  QVERIFY(!canvas().persistent());
  QTest::mouseClick(window_->ui().cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(window_->ui().cmdGeoMap, Qt::LeftButton);
  QVERIFY2(dialogs_->messages.isEmpty(), qPrintable(dialogs_->messages.join('\n')));
  const QImage onScreen = canvas().screen().convertToFormat(QImage::Format_RGB32);
  QImage oneColour(canvas().image().size(), QImage::Format_RGB32);
  oneColour.fill(canvas().image().pixel(0, 0));
  KALVENOR_COMPARE_PICTURES(canvas().image(), oneColour, kExactPixels,
                            "screen");  // the map is on the screen alone
  QVERIFY(onScreen != oneColour);

  const QString path = fixture_->folder.filePath("map.png");
  dialogs_->files.push_back(path);
  QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
  KALVENOR_COMPARE_PICTURES(QImage(path), onScreen, kExactPixels, "saved");
  QTest::mouseClick(window_->ui().cmdImageCopy, Qt::LeftButton);
  KALVENOR_COMPARE_PICTURES(QGuiApplication::clipboard()->image(), onScreen, kExactPixels,
                            "copied");
  QTest::mouseClick(window_->ui().cmdImagePaste, Qt::LeftButton);
  KALVENOR_COMPARE_PICTURES(window_->formImageS()->picture(), onScreen, kExactPixels, "duplicate");
  QVERIFY(dialogs_->messages.isEmpty());
}

// After "クリア" the window is blank, and so is the picture saved, in a vector format too, even
// though the map could still be drawn again.
void ImageCommandsTest::aClearedWindowIsSavedBlankInEveryFormat() {
  const QString blank = fixture_->folder.filePath("blank.svg");
  dialogs_->files.push_back(blank);
  QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
  fixture_->buildSmallBlock();
  QTest::mouseClick(window_->ui().cmd3DDefault, Qt::LeftButton);
  QTest::mouseClick(window_->ui().cmdGeoMap, Qt::LeftButton);
  const QString map = fixture_->folder.filePath("map.svg");
  dialogs_->files.push_back(map);
  QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
  QTest::mouseClick(window_->ui().cmdImageClear, Qt::LeftButton);
  const QString cleared = fixture_->folder.filePath("cleared.svg");
  dialogs_->files.push_back(cleared);
  QTest::mouseClick(window_->ui().cmdImageSave, Qt::LeftButton);
  QVERIFY2(dialogs_->messages.isEmpty(), qPrintable(dialogs_->messages.join('\n')));
  QVERIFY(contents(map) != contents(blank));
  QCOMPARE(contents(cleared), contents(blank));
}

void ImageCommandsTest::clearFillsTheCanvasWithTheBackground() {
  drawRedSquare();
  QTest::mouseClick(window_->ui().cmdImageClear, Qt::LeftButton);
  QCOMPARE(canvas().image().pixelColor(15, 15), QColor(255, 255, 255));
}

void ImageCommandsTest::duplicateShowsTheDrawingAndLeavesItOnTheClipboard() {
  drawRedSquare();
  QVERIFY(window_->formImageS() == nullptr);
  QTest::mouseClick(window_->ui().cmdImagePaste, Qt::LeftButton);
  FormImageS* duplicate = window_->formImageS();
  QVERIFY(duplicate != nullptr);
  QVERIFY(duplicate->isVisible());
  QCOMPARE(duplicate->windowTitle(), QString("Image from Original"));
  QCOMPARE(duplicate->size(), window_->formImage().size());
  QCOMPARE(duplicate->picture().pixelColor(15, 15), QColor(255, 0, 0));
  QCOMPARE(QGuiApplication::clipboard()->image().pixelColor(15, 15), QColor(255, 0, 0));

  QTest::mouseClick(window_->ui().cmdImageClear, Qt::LeftButton);
  QCOMPARE(duplicate->picture().pixelColor(15, 15), QColor(255, 0, 0));  // untouched by clear
  QTest::mouseClick(window_->ui().cmdImagePaste, Qt::LeftButton);
  QCOMPARE(window_->formImageS(), duplicate);  // one duplicate window, picture replaced
  QCOMPARE(duplicate->picture().pixelColor(15, 15), QColor(255, 255, 255));
}

void ImageCommandsTest::copyPutsThePersistentPictureOnTheClipboard() {
  drawRedSquare();
  QTest::mouseClick(window_->ui().cmdImageCopy, Qt::LeftButton);
  const QImage copied = QGuiApplication::clipboard()->image();
  QCOMPARE(copied.size(), canvas().image().size());
  QCOMPARE(copied.pixelColor(15, 15), QColor(255, 0, 0));
}

// Whatever a failing command had drawn, cleared or set is gone; the message names the command.
void ImageCommandsTest::aCommandThatFailsPartWayLeavesThePictureAndThePen() {
  drawRedSquare();
  const QImage picture = canvas().image().copy();
  const auto scribbleThen = [this](auto failure) {
    return [this, failure] {
      canvas().clear();
      canvas().setPenWidth(2);
      canvas().setPenStyle(PenStyle::Dot);
      canvas().line(0, 0, 40, 40);
      throw failure;
    };
  };
  QVERIFY(!window_->runCommand(window_->ui().cmdImageClear, scribbleThen(std::bad_alloc())));
  KALVENOR_COMPARE_PICTURES(canvas().image(), picture, kExactPixels, "image");
  QCOMPARE(canvas().style().penWidth, 1);
  QVERIFY(canvas().style().penStyle == PenStyle::Solid);

  canvas().setPersistent(false);  // the screen picture comes back too
  QVERIFY(!window_->runCommand(window_->ui().cmdImagePaste, scribbleThen(42)));
  KALVENOR_COMPARE_PICTURES(canvas().screen(), picture, kExactPixels, "screen");
  QCOMPARE(dialogs_->messages, (QStringList{"\"クリア\": not enough memory",
                                            "\"複製\": an unexpected error stopped it"}));
  QVERIFY(window_->runCommand(window_->ui().cmdImageClear, [] {}));
  QCOMPARE(dialogs_->messages.size(), 2);
}

QTEST_MAIN(ImageCommandsTest)
#include "image_commands_test.moc"
