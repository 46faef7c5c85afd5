#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>

#include "shell/borehole_check_table.h"
#include "shell/busy_cursor.h"
#include "shell/file_paths.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"
#include "shell/typed_number.h"

namespace kalvenor {
namespace {

const QString kBoreholeTablesFilter =
    QStringLiteral("表 (*.csv *.gpkg *.shp *.txt)|*.csv *.gpkg *.shp *.txt|") + kAllFilesFilter;

// A picked table by name, its whole path as the tip.
void showPick(QLabel& label, const std::string& path) {
  const QString whole = QDir::toNativeSeparators(QFile::decodeName(path.c_str()));
  label.setText(QFileInfo(whole).fileName());
  label.setToolTip(whole);
}

}  // namespace

void FormMain::connectBoreholes() {
  const std::pair<QPushButton*, void (FormMain::*)()> commands[] = {
      {ui_.cmdCollarsFile, &FormMain::cmdCollarsFile_Click},
      {ui_.cmdSurveysFile, &FormMain::cmdSurveysFile_Click},
      {ui_.cmdIntervalsFile, &FormMain::cmdIntervalsFile_Click},
      {ui_.cmdBoreholesRead, &FormMain::cmdBoreholesRead_Click},
      {ui_.cmdBoreholesClear, &FormMain::cmdBoreholesClear_Click},
      {ui_.cmdBoreholeCheck, &FormMain::cmdBoreholeCheck_Click}};
  for (const auto& [button, handler] : commands) {
    connect(button, &QPushButton::clicked, this, guarded(button, handler));
  }
  for (QCheckBox* check : {ui_.chkBoreholeLabels, ui_.chkBoreholeResiduals}) {
    connect(check, &QAbstractButton::toggled, this, guarded(check, &FormMain::readBoreholeDrawing));
  }
  setNumberCaption(*ui_.txtBoreholeBuffer,
                   ui_.groupBoreholes->title() + " " + ui_.labelBoreholeBufferCaption->text());
  connect(ui_.txtBoreholeBuffer, &QLineEdit::editingFinished, this,
          guarded(ui_.txtBoreholeBuffer, &FormMain::readBoreholeDrawing));
}

// A picked table waits for "読み込む", which reads the three together; picking one of them
// leaves the one-table form a session file may have given.
void FormMain::pickBoreholeTable(std::string BoreholeFiles::*table, const QLabel* caption) {
  const std::optional<QString> path = dialogs_.openFile(kBoreholeTablesFilter, caption->text());
  if (!path) return;
  pickedBoreholes_.*table = localPath(*path);
  pickedBoreholes_.oneTable.clear();
  showBoreholePicks();
}

void FormMain::cmdCollarsFile_Click() {
  pickBoreholeTable(&BoreholeFiles::collars, ui_.labelCollarsCaption);
}

void FormMain::cmdSurveysFile_Click() {
  pickBoreholeTable(&BoreholeFiles::surveys, ui_.labelSurveysCaption);
}

void FormMain::cmdIntervalsFile_Click() {
  pickBoreholeTable(&BoreholeFiles::intervals, ui_.labelIntervalsCaption);
}

// A table that cannot be read changes nothing: the holes read before stay, and so do the picks,
// so that only the table at fault has to be picked again.
void FormMain::cmdBoreholesRead_Click() {
  {
    BusyCursor busy;
    showWarnings(session_.setBoreholeFiles(pickedBoreholes_));
  }
  redrawShownPicture(false);
}

void FormMain::cmdBoreholesClear_Click() {
  session_.resetBoreholes();
  redrawShownPicture(false);
}

// An empty buffer box leaves the distance to the grid spacing. Options that cannot be taken show
// the ones in use again before the message, so that leaving the box for it finds them there.
void FormMain::readBoreholeDrawing() {
  const QLineEdit& box = *ui_.txtBoreholeBuffer;
  if (const std::optional<QString> problem = refusal(box)) {
    showBoreholeDrawing();
    throw SessionError(problem->toStdString());
  }
  const BoreholeDrawing drawing{.buffer = typedNumber(box),
                                .labels = ui_.chkBoreholeLabels->isChecked(),
                                .residuals = ui_.chkBoreholeResiduals->isChecked()};
  if (drawing == state().boreholeDrawing) return;
  try {
    ReadingControls reading(*this, Change::Boreholes);
    session_.setBoreholeDrawing(drawing);
  } catch (const SessionError&) {
    showBoreholeDrawing();
    throw;
  }
  redrawShownPicture(false);
}

void FormMain::cmdBoreholeCheck_Click() {
  BusyCursor busy;
  const BoreholeCheck check = session_.checkBoreholes();
  showBoreholeCheck(*ui_.tblBoreholeCheck, check);
  ui_.lblBoreholeAgreement->setText(agreementCaption(check));
  checkedHoles_ = state().boreholes;
}

void FormMain::showBoreholePicks() {
  showPick(*ui_.lblCollarsFile, pickedBoreholes_.collars);
  showPick(*ui_.lblSurveysFile, pickedBoreholes_.surveys);
  showPick(*ui_.lblIntervalsFile, pickedBoreholes_.intervals);
}

void FormMain::showBoreholeDrawing() {
  const BoreholeDrawing& drawing = state().boreholeDrawing;
  {
    const QSignalBlocker quiet(ui_.txtBoreholeBuffer);
    ui_.txtBoreholeBuffer->setText(drawing.buffer ? numberQText(*drawing.buffer) : QString());
  }
  const std::pair<QCheckBox*, bool> checks[] = {{ui_.chkBoreholeLabels, drawing.labels},
                                                {ui_.chkBoreholeResiduals, drawing.residuals}};
  for (const auto& [check, on] : checks) {
    const QSignalBlocker quiet(check);
    check->setChecked(on);
  }
}

// The picks follow the session unless the change came from the controls themselves; a check
// made on other holes is cleared, since its rows no longer match what is drawn.
void FormMain::showBoreholes() {
  if (!fromControls(Change::Boreholes)) {
    pickedBoreholes_ = state().boreholeFiles;
    showBoreholePicks();
    showBoreholeDrawing();
  }
  const std::size_t holes = state().boreholes->holes.size();
  ui_.lblBoreholeCount->setText(holes ? QStringLiteral("%1 孔").arg(holes) : QString());
  if (checkedHoles_ != state().boreholes) clearBoreholeCheckResult();
}

void FormMain::clearBoreholeCheckResult() {
  clearBoreholeCheck(*ui_.tblBoreholeCheck);
  ui_.lblBoreholeAgreement->clear();
  checkedHoles_.reset();
}

}  // namespace kalvenor
