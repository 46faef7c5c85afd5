#pragma once

#include <QFile>
#include <QTemporaryDir>

#include "scripted_dialogs.h"
#include "shell/form_main.h"
#include "test_paths.h"

namespace kalvenor {

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
