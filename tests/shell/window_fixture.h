#pragma once

#include <QFile>
#include <QHeaderView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

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

  ScriptedDialogs dialogs;
  QTemporaryDir folder;
  FormMain window;
};

}  // namespace kalvenor
