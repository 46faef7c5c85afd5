#include <QDir>
#include <QHeaderView>
#include <algorithm>

#include "model/grid_surface.h"
#include "model/logical_model.h"
#include "model/read_error.h"
#include "shell/busy_cursor.h"
#include "shell/file_paths.h"
#include "shell/form_main.h"
#include "shell/model_column_width.h"
#include "shell/qt_number_text.h"

namespace kalvenor {
namespace {

QString cellText(const QTableWidget& grid, int row, int column) {
  const QTableWidgetItem* item = grid.item(row, column);
  return item ? item->text() : QString();
}

void setHeaderText(QTableWidget& grid, Qt::Orientation orientation, int section,
                   const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setToolTip(text);
  if (orientation == Qt::Horizontal) {
    grid.setHorizontalHeaderItem(section, item);
  } else {
    grid.setVerticalHeaderItem(section, item);
  }
}

}  // namespace

// The grids were classified with the old model, so they go whatever the new one holds. With the
// same number of boundaries (and so of units) the boundary files that still read, the colours
// and the legend carry over; otherwise steps (2) and (3) start again.
void FormMain::installModel(LogicalModel model) {
  const int Nbd = model.Nbd;
  const bool sameCount = state_.unitColor.size() == static_cast<std::size_t>(Nbd + 2);
  QStringList dropped;
  std::vector<std::string> files =
      sameCount ? boundaryFilesStillReadable(dropped) : std::vector<std::string>(Nbd + 1);
  state_.model = std::move(model);
  state_.boundaryFile = std::move(files);
  state_.pickIndex = 0;
  if (!sameCount) {
    state_.boundaryColor.assign(Nbd + 1, kBlack);
    resetColours();
  }
  forgetGrids();
  showBoundaryFiles();
  showUnitNames();
  if (!dropped.isEmpty()) {
    dialogs_.message(QStringLiteral("These boundary files no longer read and were dropped; pick "
                                    "the boundary files again in step (2).\n") +
                         dropped.join('\n'),
                     Dialogs::Icon::Warning);
  }
}

// Reads every boundary file picked so far; a file that fails is left out and named in `dropped`.
std::vector<std::string> FormMain::boundaryFilesStillReadable(QStringList& dropped) {
  std::vector<std::string> files = state_.boundaryFile;
  BusyCursor busy;
  for (std::size_t k = 1; k < files.size(); ++k) {
    if (files[k].empty()) continue;
    try {
      steps_.run("re-read the file of boundary " + std::to_string(k),
                 [&] { readGridSurface(files[k]); });
    } catch (const ReadError& error) {
      dropped << QString::fromUtf8(error.what());
      files[k].clear();
    }
  }
  return files;
}

// Built for a model that is gone: the map and section commands wait for a new build.
void FormMain::forgetGrids() {
  state_.mapGrid = {};
  state_.wallProfiles = {};
  state_.section = {};
  state_.sectionProfile = {};
  state_.drawUnit = {};
  state_.visibleWall = {0, 0};
  state_.flags.mapGridState = 0;
  state_.flags.sectionGridState = 0;
  clearSectionFigures();
  ui_.lbl5->setVisible(true);
  updateCommandStates();
}

// The names beside the legend, highest unit first, as the legend stacks them.
void FormMain::showUnitNames() {
  const LogicalModel& m = state_.model;
  ui_.lstBodyName->clear();
  for (int i = m.unitCount(); i >= 1; --i) {
    ui_.lstBodyName->addItem(QString::fromStdString(m.unitName[i]));
  }
}

void FormMain::cmdOpenModel_Click() {
  const std::optional<QString> path = dialogs_.openFile(kAllFilesFilter, {});
  if (!path) return;
  LogicalModel model;
  try {
    BusyCursor busy;
    model = readLogicalModel(localPath(*path));
  } catch (const ReadError& error) {
    showError(error);
    return;
  }
  installModel(std::move(model));
  ui_.lblModelFileName->setText(QDir::toNativeSeparators(*path));
  const LogicalModel& m = state_.model;
  ui_.grdModel->setRowCount(m.unitCount());
  ui_.grdModel->setColumnCount(m.Nbd);
  applyColumnWidths();
  showModelInGrid();
  ui_.txtNbd->setText(numberQText(m.Nbd));
  ui_.txtNbd1->setText(numberQText(m.unitCount()));
  readModelFromGrid();
}

// The template and a model sized by hand come from no file.
void FormMain::cmd2Layer_Click() {
  installModel(twoUnitTemplate());
  ui_.lblModelFileName->clear();
  ui_.grdModel->setRowCount(2);
  ui_.grdModel->setColumnCount(1);
  showModelInGrid();
  ui_.txtNbd->setText(QStringLiteral("1"));
  ui_.txtNbd1->setText(QStringLiteral("2"));
  readModelFromGrid();
}

// Sizes a blank model by hand; it is not checked, and so not ready, before the first cell
// button.
void FormMain::cmdModelChange_Click() {
  const double typed = roundHalfEven(leadingNumber(ui_.txtNbd->text()));
  if (typed < 0 || typed > kMaxBoundaries) {
    dialogs_.message(QStringLiteral("The number of boundaries must be a whole number from 0 to %1 "
                                    "(a point's above/below pattern holds at most %1 boundaries); "
                                    "\"%2\" is not. The model is left as it was.")
                         .arg(kMaxBoundaries)
                         .arg(ui_.txtNbd->text()),
                     Dialogs::Icon::Warning);
    return;
  }
  const int Nbd = static_cast<int>(typed);
  installModel(allocateModel(Nbd));
  ui_.lblModelFileName->clear();
  const int oldColumns = ui_.grdModel->columnCount();
  ui_.grdModel->setRowCount(Nbd + 1);
  ui_.grdModel->setColumnCount(Nbd);
  for (int k = oldColumns; k < Nbd; ++k) setHeaderText(*ui_.grdModel, Qt::Horizontal, k, {});
  for (int i = 0; i <= Nbd; ++i) {
    if (!ui_.grdModel->verticalHeaderItem(i)) setHeaderText(*ui_.grdModel, Qt::Vertical, i, {});
  }
  applyColumnWidths();
  showBoundaryColours();
  state_.flags.modelReady = 0;
  ui_.lbl1->setVisible(true);
  updateCommandStates();
}

// Clears the grid's texts but keeps its size; the model's names, cells, files and colours go,
// and so does every command that would draw with them. Steps (2) and (3) start again.
void FormMain::cmdModelReset_Click() {
  QTableWidget& grid = *ui_.grdModel;
  for (int row = 0; row < grid.rowCount(); ++row) {
    setHeaderText(grid, Qt::Vertical, row, {});
    for (int column = 0; column < grid.columnCount(); ++column) {
      if (grid.item(row, column)) grid.item(row, column)->setText({});
    }
  }
  for (int column = 0; column < grid.columnCount(); ++column) {
    setHeaderText(grid, Qt::Horizontal, column, {});
  }
  ui_.lstBodyName->clear();
  state_.flags.modelReady = 0;
  LogicalModel blank = allocateModel(state_.model.Nbd);
  blank.unitOfPattern = std::move(state_.model.unitOfPattern);
  state_.model = std::move(blank);
  state_.boundaryFile.assign(state_.model.Nbd + 1, std::string());
  state_.boundaryColor.assign(state_.model.Nbd + 1, kBlack);
  state_.pickIndex = 0;
  resetColours();
  forgetGrids();
  showBoundaryFiles();
  ui_.lbl1->setVisible(true);
}

void FormMain::cmdGridMinus1_Click() { writeCell(QStringLiteral("-1")); }
void FormMain::cmdGridZero_Click() { writeCell(QStringLiteral("0")); }
void FormMain::cmdGridPlus1_Click() { writeCell(QStringLiteral("1")); }

void FormMain::writeCell(const QString& text) {
  QTableWidget& grid = *ui_.grdModel;
  const int row = grid.currentRow();
  const int column = grid.currentColumn();
  if (row < 0 || column < 0) return;
  if (!grid.item(row, column)) grid.setItem(row, column, new QTableWidgetItem);
  grid.item(row, column)->setText(text);
  readModelFromGrid();
}

void FormMain::showModelInGrid() {
  const LogicalModel& m = state_.model;
  QTableWidget& grid = *ui_.grdModel;
  for (int k = 1; k <= m.Nbd; ++k) {
    setHeaderText(grid, Qt::Horizontal, k - 1, QString::fromStdString(m.boundaryName[k]));
  }
  for (int i = 1; i <= m.unitCount(); ++i) {
    setHeaderText(grid, Qt::Vertical, i - 1, QString::fromStdString(m.unitName[i]));
    for (int k = 1; k <= m.Nbd; ++k) {
      grid.setItem(i - 1, k - 1, new QTableWidgetItem(numberQText(m.modelCell(i, k))));
    }
  }
  showBoundaryColours();
}

// The cell columns share the grid's width; the unit names keep the width they need to be read,
// and a boundary name cut short by its column shows whole in its tooltip.
void FormMain::applyColumnWidths() {
  QTableWidget& grid = *ui_.grdModel;
  const int width =
      modelColumnWidth(grid.width() * kTwipsPerPixel, state_.model.Nbd + 1) / kTwipsPerPixel;
  for (int column = 0; column < grid.columnCount(); ++column) grid.setColumnWidth(column, width);
}

// The grid text is the master copy while editing. A cell that changes makes the grids out of
// date.
void FormMain::readModelFromGrid() {
  LogicalModel& m = state_.model;
  const Array2D<std::int16_t> before = m.modelCell;
  for (int i = 1; i <= m.unitCount(); ++i) {
    for (int k = 1; k <= m.Nbd; ++k) {
      const double value = roundHalfEven(leadingNumber(cellText(*ui_.grdModel, i - 1, k - 1)));
      m.modelCell(i, k) = static_cast<std::int16_t>(std::clamp(value, -32768.0, 32767.0));
    }
  }
  checkModelCompleteness();
  state_.flags.modelReady = 1;
  if (m.modelCell != before) forgetGrids();
  updateCommandStates();
}

// A complete model hides indicator (1) and re-opens step (5): the grids are out of date.
void FormMain::checkModelCompleteness() {
  ui_.lbl1->setVisible(true);
  const bool complete = buildUnitOfPattern(state_.model);
  state_.flags.modelComplete = complete ? 1 : 0;
  if (complete) {
    ui_.lbl1->setVisible(false);
    ui_.lbl5->setVisible(true);
  }
}

}  // namespace kalvenor
