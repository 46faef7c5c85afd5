#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "canvas/output_files.h"
#include "imagewin/form_image.h"
#include "session/session_restore.h"
#include "shell/busy_cursor.h"
#include "shell/form_main.h"
#include "shell/window_memory.h"

namespace kalvenor {
namespace {

const QString kSessionFilter =
    QStringLiteral("セッションファイル (*.json)|*.json|すべてのファイル (*.*)|*.*");

}  // namespace

void FormMain::cmdSessionSave_Click() {
  const std::optional<QString> path = askSavePath(kSessionFilter);
  if (!path) return;
  const std::string file = QFileInfo(*path).absoluteFilePath().toStdString();
  const ImageCanvas& canvas = formImage_->canvas();
  try {
    writeOutputFile(file, QByteArray::fromStdString(sessionFileText(
                              documentOf(state(), canvas.width(), canvas.height()), file)));
  } catch (const std::exception& error) {
    dialogs_.message(QStringLiteral("The session could not be saved as %1: %2")
                         .arg(QDir::toNativeSeparators(*path), QString::fromUtf8(error.what())),
                     Dialogs::Icon::Warning);
    return;
  }
  emit sessionUsed(QFileInfo(*path).absoluteFilePath());
}

void FormMain::cmdSessionOpen_Click() {
  const std::optional<QString> path = dialogs_.openFile(kSessionFilter, {});
  if (path) openSession(*path);
}

// The document is read whole and its steps taken on a fresh session before this one changes,
// so a file that cannot be opened leaves the window as it was.
bool FormMain::openSession(const QString& path) {
  const QString file = QFileInfo(path).absoluteFilePath();
  BusyCursor busy;
  const bool opened = runSteps([&] {
    const SessionDocument document = readSessionFile(file.toStdString());
    ImageCanvas& canvas = formImage_->canvas();
    showWarnings(restoreSession(session_, document, canvas.width(), canvas.height()));
    formImage_->showCanvas();
    canvas.clear();
    showWarnings(drawSessionPicture(session_, document, canvas));
  });
  if (opened) emit sessionUsed(file);
  return opened;
}

void FormMain::setMemory(WindowMemory& memory) {
  memory_ = &memory;
  memory.restoreWindow(*this, QStringLiteral("main"));
  memory.restoreWindow(*formImage_, QStringLiteral("image"));
  connect(this, &FormMain::sessionUsed, this, [this](const QString& path) {
    memory_->rememberSession(path);
    showRecentSessions();
  });
  showRecentSessions();
}

// The recent sessions as a menu of the button, the last one first.
void FormMain::showRecentSessions() {
  QMenu* menu = ui_.cmdSessionRecent->menu();
  if (!menu) {
    menu = new QMenu(ui_.cmdSessionRecent);
    ui_.cmdSessionRecent->setMenu(menu);
  }
  menu->clear();
  const QStringList recent = memory_ ? memory_->recentSessions() : QStringList();
  for (const QString& path : recent) {
    connect(menu->addAction(QDir::toNativeSeparators(path)), &QAction::triggered, this,
            [this, path] { openSession(path); });
  }
  ui_.cmdSessionRecent->setEnabled(!recent.isEmpty());
}

}  // namespace kalvenor
