#include <QDir>

#include "model/display_surface.h"
#include "model/grid_surface.h"
#include "model/read_error.h"
#include "shell/busy_cursor.h"
#include "shell/file_paths.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"
#include "shell/sequence_title.h"

namespace kalvenor {
namespace {

QString signedQText(double value) { return QString::fromStdString(signedNumberText(value)); }

QString pointCaption(double x, double y) {
  return "(" + signedQText(x) + ", " + signedQText(y) + " )";
}

}  // namespace

// The files are asked for lowest boundary first, each dialog titled with its boundary. A new
// sequence starts from an empty list. Each file is read once on the spot so a wrong file is
// reported now rather than at the grid build; a cancel or a bad file ends the sequence with the
// files picked so far kept.
void FormMain::cmdBoundaryFile_Click() {
  const LogicalModel& m = state_.model;
  state_.boundaryFile.assign(m.Nbd + 1, std::string());
  showBoundaryFiles();
  for (state_.pickIndex = 1; state_.pickIndex <= m.Nbd; ++state_.pickIndex) {
    const int k = state_.pickIndex;
    const std::optional<QString> path = dialogs_.openFile(
        kAllFilesFilter, sequenceTitle(QStringLiteral("境界面"), k, m.Nbd, m.boundaryName[k]));
    if (!path) return;
    GridSurface grid;
    try {
      BusyCursor busy;
      grid = readGridSurface(localPath(*path));
    } catch (const ReadError& error) {
      showError(error);
      return;
    }
    warnOfTrailingValues(*path, grid);
    state_.boundaryFile[k] = localPath(*path);
    ui_.lstBoundaryFile->addItem(QDir::toNativeSeparators(*path));
  }
  state_.pickIndex = 0;
  showBoundaryFiles();
}

// A grid that holds more values than its header asks for loads, but the surplus often means
// numbers split by decimal commas: the user hears of it.
void FormMain::warnOfTrailingValues(const QString& path, const GridSurface& grid) {
  const std::string warning =
      trailingValuesWarning(QDir::toNativeSeparators(path).toStdString(), grid);
  if (!warning.empty()) dialogs_.message(QString::fromStdString(warning), Dialogs::Icon::Warning);
}

// Forgets the files picked, so that the list and the next grid build agree.
void FormMain::cmdBoundaryReset_Click() {
  state_.boundaryFile.assign(state_.model.Nbd + 1, std::string());
  showBoundaryFiles();
}

// The list holds the files picked, lowest boundary first; step (2) is open until every boundary
// has one.
void FormMain::showBoundaryFiles() {
  ui_.lstBoundaryFile->clear();
  bool complete = true;
  for (std::size_t k = 1; k < state_.boundaryFile.size(); ++k) {
    const std::string& path = state_.boundaryFile[k];
    if (path.empty()) {
      complete = false;
    } else {
      ui_.lstBoundaryFile->addItem(QDir::toNativeSeparators(QFile::decodeName(path.c_str())));
    }
  }
  ui_.cmdBoundaryFile->setEnabled(!complete);
  ui_.lbl2->setVisible(!complete);
}

// The surface is read completely before it replaces the one loaded before; a cancel or a bad
// file leaves that one as it was.
void FormMain::cmdOpenDisplayFile_Click() {
  const std::optional<QString> path = dialogs_.openFile(kAllFilesFilter, {});
  if (!path) return;
  GridSurface grid;
  try {
    BusyCursor busy;
    grid = readGridSurface(localPath(*path));
  } catch (const ReadError& error) {
    showError(error);
    return;
  }
  warnOfTrailingValues(*path, grid);
  state_.display = makeDisplaySurface(grid, state_.jitter);
  showDisplaySurface(*path);
}

void FormMain::showDisplaySurface(const QString& path) {
  const DisplaySurface& d = state_.display;
  state_.Zbase = defaultZbase(d.Zmin);
  ui_.txtZbase->setText(numberQText(state_.Zbase));
  ui_.txtZbase2->setText(numberQText(state_.Zbase));
  ui_.lblZbase->setText(numberQText(state_.Zbase));
  const std::pair<QLabel*, double> figures[] = {
      {ui_.lblNx, d.Nx},     {ui_.lblNy, d.Ny},     {ui_.lblDx, d.Dx},
      {ui_.lblDy, d.Dy},     {ui_.lblXmin, d.Xmin}, {ui_.lblXmax, d.Xmax},
      {ui_.lblYmin, d.Ymin}, {ui_.lblYmax, d.Ymax}, {ui_.lblZmin, d.Zmin},
      {ui_.lblZmax, d.Zmax}, {ui_.lblZminGeo, d.Zmin}, {ui_.lblZmaxGeo, d.Zmax},
      {ui_.lblZminContour, d.Zmin}, {ui_.lblZmaxContour, d.Zmax}};
  for (const auto& [label, value] : figures) label->setText(numberQText(value));

  ui_.lbl4->setVisible(false);
  ui_.lbl5->setVisible(true);
  ui_.lblDisplayFile->setText(QDir::toNativeSeparators(path));
  ui_.lblDisplayFile->setToolTip(QDir::toNativeSeparators(path));
  ui_.lblMin->setText(pointCaption(d.Xmin, d.Ymin));
  ui_.lblMax->setText(pointCaption(d.Xmax, d.Ymax));

  if (state_.boundaryGrids.size() > 1 && gridMismatch(state_.boundaryGrids[1], d)) {
    dialogs_.message(QStringLiteral("境界面の格子と表示面の格子の大きさが合っていません"),
                     Dialogs::Icon::Warning);
  }
}

}  // namespace kalvenor
