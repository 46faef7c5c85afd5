#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "canvas/output_files.h"
#include "imagewin/form_image.h"
#include "model/message_text.h"
#include "session/session_restore.h"
#include "shell/busy_cursor.h"
#include "shell/form_main.h"
#include "shell/window_memory.h"

namespace kalvenor {
namespace {

const QString kSessionFilter =
    QStringLiteral("セッションファイル (*.json)|*.json|すべてのファイル (*.*)|*.*");

}  // namespace

void FormMain::cmdSessionSave_Click() { saveSession(); }

// False when the user cancelled or the file could not be written.
bool FormMain::saveSession() {
  const std::optional<QString> path = askSavePath(kSessionFilter);
  if (!path) return false;
  const std::string file = QFileInfo(*path).absoluteFilePath().toStdString();
  const ImageCanvas& canvas = formImage_->canvas();
  try {
    writeOutputFile(file, QByteArray::fromStdString(sessionFileText(
                              documentOf(state(), canvas.width(), canvas.height()), file)));
  } catch (const std::exception& error) {
    dialogs_.message(
        QString::fromStdString(fill(translated("The session could not be saved as {1}: {2}"),
                                    {QDir::toNativeSeparators(*path).toStdString(), error.what()})),
        Dialogs::Icon::Warning);
    return false;
  }
  rememberWorkSaved();
  emit sessionUsed(QFileInfo(*path).absoluteFilePath());
  return true;
}

// The session as it would be saved, less the drawing window's size: a resize loses no work.
std::string FormMain::workText() const {
  return sessionFileText(documentOf(state(), 0, 0), "/session.json");
}

void FormMain::rememberWorkSaved() {
  try {
    savedWork_ = workText();
  } catch (const std::exception&) {
    savedWork_.clear();  // the next close asks
  }
}

// A state that cannot be written as a session counts as changed: the user is asked.
bool FormMain::mayDiscardWork() {
  try {
    if (workText() == savedWork_) return true;
  } catch (const std::exception&) {
  }
  const Dialogs::Answer answer = dialogs_.askYesNoCancel(QString::fromUtf8(
      translated("The picture or the inputs have changed since the session was last saved or "
                 "opened. Save the session before closing?")));
  if (answer == Dialogs::Answer::Cancel) return false;
  return answer == Dialogs::Answer::No || saveSession();
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
  if (opened) {
    rememberWorkSaved();
    emit sessionUsed(file);
  }
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
