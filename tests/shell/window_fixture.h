#pragma once

#include <QFile>
#include <QHeaderView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "scripted_dialogs.h"
#include "shell/form_main.h"
#include "test_paths.h"

namespace kalvenor {

// A click in the middle of a column header of the model grid, as a user picks a boundary.
inline void clickColumnHeader(QTableWidget& grid, int column) {
  QHeaderView* header = grid.horizontalHeader();
  QTest::mouseClick(
      header->viewport(), Qt::LeftButton, {},
      QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
             header->height() / 2));
}

// The main window as a window test starts it: scripted dialogs, the default view of the
// bundled examples, and a folder for the files the test writes.
struct WindowFixture {
  explicit WindowFixture(const QString& programFolder = KALVENOR_EXAMPLES_DIR)
      : window(dialogs, programFolder) {
    window.Form_Load();
    window.show();
  }

  // Writes a file into the test's folder and returns its path.
  QString write(const QString& name, const QByteArray& content) {
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write test file");
    file.write(content);
    return file.fileName();
  }

  // Steps (1) to (5-1) for two units under a 5 x 5 surface rising eastward, boundary flat at 50.
  void buildSmallBlock() {
    Ui::formMain& ui = window.ui();
    QTest::mouseClick(ui.cmd2Layer, Qt::LeftButton);
    dialogs.files.push_back(write("s.txt", "2,2,0,0,100,100,50,50,50,50"));
    QTest::mouseClick(ui.cmdBoundaryFile, Qt::LeftButton);
    dialogs.colors = {packRgb(200, 60, 60), packRgb(60, 60, 200)};
    QTest::mouseClick(ui.cmdColor, Qt::LeftButton);
    QByteArray display = "5,5,0,0,25,25";
    for (double z : {12.3, 30.0, 50.0, 70.0, 87.6}) {
      for (int j = 0; j < 5; ++j) display += "," + QByteArray::number(z);
    }
    dialogs.files.push_back(write("surface.txt", display));
    QTest::mouseClick(ui.cmdOpenDisplayFile, Qt::LeftButton);
    ui.txtZbase->setText("0");
    QTest::mouseClick(ui.cmdKalvenor, Qt::LeftButton);
  }

  ScriptedDialogs dialogs;
  QTemporaryDir folder;
  FormMain window;
};

// Saves the session of `from` through its button and opens it in a fresh window through the
// other; returns the fresh window's fixture.
inline std::unique_ptr<WindowFixture> reopenedSession(WindowFixture& from) {
  const QString file = from.folder.filePath("work.json");
  from.dialogs.files = {file};
  QTest::mouseClick(from.window.ui().cmdSessionSave, Qt::LeftButton);
  auto fresh = std::make_unique<WindowFixture>();
  fresh->dialogs.files = {file};
  QTest::mouseClick(fresh->window.ui().cmdSessionOpen, Qt::LeftButton);
  return fresh;
}

}  // namespace kalvenor
