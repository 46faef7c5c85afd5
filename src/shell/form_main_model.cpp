#include <QDir>
#include <QHeaderView>
#include <algorithm>
#include <functional>

#include "model/logical_model.h"
#include "model/message_text.h"
#include "model/read_error.h"
#include "shell/busy_cursor.h"
#include "shell/file_paths.h"
#include "shell/form_main.h"
#include "shell/model_column_width.h"
#include "shell/qt_number_text.h"
#include "shell/typed_number.h"

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

// Boundary files or colours picked for the model, which a model of another size drops.
bool somethingPicked(const ViewerState& s) {
  const auto given = [](const std::string& file) { return !file.empty(); };
  const auto notBlack = [](PackedColor colour) { return colour != kBlack; };
  return std::any_of(s.boundaryFile.begin(), s.boundaryFile.end(), given) ||
         std::any_of(s.unitColorChosen.begin(), s.unitColorChosen.end(), std::identity()) ||
         std::any_of(s.boundaryColor.begin(), s.boundaryColor.end(), notBlack);
}

}  // namespace

// The names beside the legend, highest unit first, as the legend stacks them, and the file
// they came from. Each name has its unit's swatch on its own line (showColours).
void FormMain::showUnitNames() {
  ui_.lblModelFileName->setText(
      QDir::toNativeSeparators(QFile::decodeName(state().modelFile.c_str())));
  const LogicalModel& m = state().model;
  ui_.lstBodyName->clear();
  for (int i = m.unitCount(); i >= 1; --i) {
    ui_.lstBodyName->addItem(QString::fromStdString(m.unitName[i]));
  }
}

void FormMain::cmdOpenModel_Click() {
  const std::optional<QString> path = dialogs_.openFile(kAllFilesFilter, {});
  if (!path) return;
  BusyCursor busy;
  showWarnings(session_.loadModel(localPath(*path)));
}

void FormMain::cmd2Layer_Click() { showWarnings(session_.useTwoUnitModel()); }

// Sizes a blank model by hand; the grid keeps the texts it holds, and the model is not checked,
// and so not ready, before the first cell button. Another count drops the files and colours
// picked, so the user is asked first; a No leaves the model and its count in the box.
void FormMain::cmdModelChange_Click() {
  const std::optional<double> typed = typedNumber(*ui_.txtNbd);
  const bool otherCount =
      !session_.hasModel() || roundHalfEven(typed.value_or(0)) != state().model.Nbd;
  if (otherCount && somethingPicked(state()) &&
      !dialogs_.askYesNo(QString::fromUtf8(
          translated("Another number of boundaries drops the boundary files and colours picked "
                     "for this model. Change the number of boundaries?")))) {
    ui_.txtNbd->setText(numberQText(state().model.Nbd));
    return;
  }
  Warnings warnings;
  {
    ReadingControls reading(*this, Change::Model);
    warnings = session_.resizeModel(ui_.txtNbd->text().toStdString());
  }
  const int Nbd = state().model.Nbd;
  const int oldColumns = ui_.grdModel->columnCount();
  ui_.grdModel->setRowCount(Nbd + 1);
  ui_.grdModel->setColumnCount(Nbd);
  for (int k = oldColumns; k < Nbd; ++k) setHeaderText(*ui_.grdModel, Qt::Horizontal, k, {});
  for (int i = 0; i <= Nbd; ++i) {
    if (!ui_.grdModel->verticalHeaderItem(i)) setHeaderText(*ui_.grdModel, Qt::Vertical, i, {});
  }
  applyColumnWidths();
  showColours();
  showWarnings(warnings);
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
  pickIndex_ = 0;
  {
    ReadingControls reading(*this, Change::Model);
    session_.resetModel();
  }
  ui_.lstBodyName->clear();
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

// The whole model in the grid: its size, names and cells, and its size in the two boxes.
void FormMain::showModelInGrid() {
  const LogicalModel& m = state().model;
  QTableWidget& grid = *ui_.grdModel;
  grid.setRowCount(m.unitCount());
  grid.setColumnCount(m.Nbd);
  for (int k = 1; k <= m.Nbd; ++k) {
    setHeaderText(grid, Qt::Horizontal, k - 1, QString::fromStdString(m.boundaryName[k]));
  }
  applyColumnWidths();
  for (int i = 1; i <= m.unitCount(); ++i) {
    setHeaderText(grid, Qt::Vertical, i - 1, QString::fromStdString(m.unitName[i]));
    for (int k = 1; k <= m.Nbd; ++k) {
      grid.setItem(i - 1, k - 1, new QTableWidgetItem(numberQText(m.modelCell(i, k))));
    }
  }
  ui_.txtNbd->setText(numberQText(m.Nbd));
  ui_.txtNbd1->setText(numberQText(m.unitCount()));
}

// The cell columns share the grid's width; the unit names keep the width they need to be read,
// and a column whose boundary name needs more is widened to show it whole, the grid scrolling
// when they no longer fit.
void FormMain::applyColumnWidths() {
  QTableWidget& grid = *ui_.grdModel;
  const int width =
      modelColumnWidth(grid.width() * kTwipsPerPixel, state().model.Nbd + 1) / kTwipsPerPixel;
  QHeaderView& header = *grid.horizontalHeader();
  for (int column = 0; column < grid.columnCount(); ++column) {
    const QTableWidgetItem* item = grid.horizontalHeaderItem(column);
    const int needed = item && !item->text().isEmpty() ? header.sectionSizeHint(column) : 0;
    grid.setColumnWidth(column, std::max(width, needed));
  }
}

// The grid text is the master copy while editing.
void FormMain::readModelFromGrid() {
  const LogicalModel& m = state().model;
  Array2D<std::int16_t> cells(1, m.unitCount(), 1, m.Nbd, 0);
  for (int i = 1; i <= m.unitCount(); ++i) {
    for (int k = 1; k <= m.Nbd; ++k) {
      const double value = roundHalfEven(leadingNumber(cellText(*ui_.grdModel, i - 1, k - 1)));
      cells(i, k) = static_cast<std::int16_t>(std::clamp(value, -32768.0, 32767.0));
    }
  }
  ReadingControls reading(*this, Change::Model);
  session_.setModelCells(cells);
}

}  // namespace kalvenor
