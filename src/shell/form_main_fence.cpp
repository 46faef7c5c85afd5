#include "shell/build_progress.h"
#include "shell/busy_cursor.h"
#include "shell/file_paths.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"

namespace kalvenor {

// The survey line as typed in step (5-2) becomes the fence's last line; a map on screen shows it.
void FormMain::cmdFenceAdd_Click() {
  Warnings warnings;
  {
    BusyCursor busy;
    BuildProgressDialog progress(this);
    warnings = session_.addFenceLine(typedSectionLine(), progress.reporter());
  }
  ui_.lstFence->setCurrentRow(ui_.lstFence->count() - 1);
  redrawShownPicture(false);
  showWarnings(warnings);
}

// Every line of a line file becomes a line of the fence, in place of those it had.
void FormMain::cmdFenceFile_Click() {
  const std::optional<QString> path =
      dialogs_.openFile(kLineFilesFilter, QStringLiteral("フェンス図の測線のファイル"));
  if (!path) return;
  Warnings warnings;
  {
    BusyCursor busy;
    BuildProgressDialog progress(this);
    warnings = session_.setFence(session_.fenceFromFile(localPath(*path)), progress.reporter());
  }
  redrawShownPicture(false);
  showWarnings(warnings);
}

void FormMain::cmdFenceRemove_Click() {
  const int row = ui_.lstFence->currentRow();
  if (row < 0) return;
  {
    BusyCursor busy;
    showWarnings(session_.removeFenceLine(static_cast<std::size_t>(row)));
  }
  ui_.lstFence->setCurrentRow(std::min(row, ui_.lstFence->count() - 1));
  redrawShownPicture(false);
}

void FormMain::chkFenceCut_Click() {
  {
    ReadingControls reading(*this, Change::Fence);
    session_.setFenceCut(ui_.chkFenceCut->isChecked());
  }
  redrawShownPicture(false);
}

// One row a line: its name and vertices, "A: 30200, 41000 - 34800, 43500".
void FormMain::showFence() {
  const ViewerState& s = state();
  const int row = ui_.lstFence->currentRow();
  ui_.lstFence->clear();
  for (const FenceLine& line : s.fenceLines) {
    QStringList vertices;
    for (const SurveyVertex& v : line.vertices) {
      vertices << numberQText(v.x) + QStringLiteral(", ") + numberQText(v.y);
    }
    ui_.lstFence->addItem(QString::fromStdString(line.name) + QStringLiteral(": ") +
                          vertices.join(QStringLiteral(" - ")));
  }
  ui_.lstFence->setCurrentRow(std::min(row, ui_.lstFence->count() - 1));
  ui_.cmdFenceRemove->setEnabled(!s.fenceLines.empty());
  if (!fromControls(Change::Fence)) {
    const QSignalBlocker quiet(ui_.chkFenceCut);
    ui_.chkFenceCut->setChecked(s.fenceCut);
  }
}

}  // namespace kalvenor
