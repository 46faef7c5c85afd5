// The survey line as a polyline on step (5-2): the list of its vertices, typed, read from a line
// file or clicked on a plan of the display area.
#include <QTableWidget>
#include <algorithm>
#include <functional>
#include <stdexcept>

#include "model/input_names.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "shell/busy_cursor.h"
#include "shell/file_paths.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"
#include "shell/typed_number.h"

namespace kalvenor {
namespace {

constexpr int kXColumn = 0;
constexpr int kYColumn = 1;
constexpr int kNameColumn = 2;

// The picture of the display area the line is clicked on: large enough to aim at a node of a
// fine grid, small enough to be made at once.
constexpr int kOverviewPixels = 600;

QString cellText(const QTableWidget& grid, int row, int column) {
  const QTableWidgetItem* item = grid.item(row, column);
  return item ? item->text().trimmed() : QString();
}

// The number in a cell of the list; a message naming the row and column for text that is none.
double cellNumber(const QTableWidget& grid, int row, int column) {
  const QString text = cellText(grid, row, column);
  const std::optional<double> number = wholeNumber(text.toStdString());
  if (number) return *number;
  throw std::runtime_error(
      fill(translated("{1}, vertex {2}: {3} takes a number; \"{4}\" is not one."),
           {inputName("--vertices"), std::to_string(row + 1), column == kXColumn ? "X" : "Y",
            text.toStdString()}));
}

}  // namespace

void FormMain::connectSurveyLine() {
  const std::pair<QPushButton*, void (FormMain::*)()> commands[] = {
      {ui_.cmdVertexAdd, &FormMain::cmdVertexAdd_Click},
      {ui_.cmdVertexRemove, &FormMain::cmdVertexRemove_Click},
      {ui_.cmdVerticesClear, &FormMain::cmdVerticesClear_Click},
      {ui_.cmdVerticesFile, &FormMain::cmdVerticesFile_Click},
      {ui_.cmdVerticesMap, &FormMain::cmdVerticesMap_Click},
  };
  for (const auto& [button, handler] : commands) {
    connect(button, &QPushButton::clicked, this, guarded(button, handler));
  }
  // A line read from a file and changed by hand is no longer the file's.
  connect(ui_.grdVertices, &QTableWidget::itemChanged, this, [this] { vertexListOrigin_.clear(); });
}

void FormMain::cmdVertexAdd_Click() {
  QTableWidget& grid = *ui_.grdVertices;
  const int row = grid.selectedItems().isEmpty() ? grid.rowCount() : grid.currentRow() + 1;
  grid.insertRow(row);
  grid.setCurrentCell(row, kXColumn);
  vertexListOrigin_.clear();
}

void FormMain::cmdVertexRemove_Click() {
  QTableWidget& grid = *ui_.grdVertices;
  QList<int> rows;
  for (const QTableWidgetItem* item : grid.selectedItems()) {
    if (!rows.contains(item->row())) rows << item->row();
  }
  if (rows.isEmpty() && grid.rowCount() > 0) rows << grid.rowCount() - 1;
  std::sort(rows.begin(), rows.end(), std::greater<>());
  for (int row : rows) grid.removeRow(row);
  vertexListOrigin_.clear();
}

void FormMain::cmdVerticesClear_Click() {
  ui_.grdVertices->setRowCount(0);
  vertexListOrigin_.clear();
}

// The file's first line fills the list.
void FormMain::cmdVerticesFile_Click() {
  const std::optional<QString> path =
      dialogs_.openFile(kLineFilesFilter, QStringLiteral("測線のファイル"));
  if (!path) return;
  SectionLine line;
  {
    BusyCursor busy;
    line = session_.surveyLineFromFile(path->toStdString());
  }
  showVertices(line);
}

void FormMain::cmdVerticesMap_Click() {
  const PlanOverview overview = session_.planOverview(kOverviewPixels);
  const std::optional<std::vector<SurveyVertex>> picked = dialogs_.pickSurveyLine(overview);
  if (!picked) return;
  SectionLine line;
  line.vertices = *picked;
  showVertices(line);
}

void FormMain::showVertices(const SectionLine& line) {
  QTableWidget& grid = *ui_.grdVertices;
  {
    const QSignalBlocker quiet(grid);
    grid.setRowCount(0);
    grid.setRowCount(static_cast<int>(line.vertices.size()));
    for (int row = 0; row < grid.rowCount(); ++row) {
      const SurveyVertex& v = line.vertices[static_cast<std::size_t>(row)];
      const std::size_t n = static_cast<std::size_t>(row);
      grid.setItem(row, kXColumn, new QTableWidgetItem(numberQText(v.x)));
      grid.setItem(row, kYColumn, new QTableWidgetItem(numberQText(v.y)));
      const QString name =
          n < line.vertexNames.size() ? QString::fromStdString(line.vertexNames[n]) : QString();
      grid.setItem(row, kNameColumn, new QTableWidgetItem(name));
    }
  }
  grid.viewport()->update();
  vertexListOrigin_ = line.origin;
}

// Rows left blank are passed over; the names go with the line only when some vertex has one.
std::vector<SurveyVertex> FormMain::typedVertices(std::vector<std::string>& names) const {
  const QTableWidget& grid = *ui_.grdVertices;
  std::vector<SurveyVertex> vertices;
  bool named = false;
  for (int row = 0; row < grid.rowCount(); ++row) {
    if (cellText(grid, row, kXColumn).isEmpty() && cellText(grid, row, kYColumn).isEmpty()) {
      continue;
    }
    vertices.push_back({cellNumber(grid, row, kXColumn), cellNumber(grid, row, kYColumn)});
    names.push_back(cellText(grid, row, kNameColumn).toStdString());
    named = named || !names.back().empty();
  }
  if (!named) names.clear();
  return vertices;
}

SectionLine FormMain::typedSectionLine() const {
  SectionLine line;
  std::vector<std::string> names;
  std::vector<SurveyVertex> vertices = typedVertices(names);
  if (vertices.size() >= 2) {
    line.vertices = std::move(vertices);
    line.vertexNames = std::move(names);
    line.origin = vertexListOrigin_;
    return line;
  }
  line.Xstart = typedNumber(*ui_.txtXstart).value_or(0);
  line.Ystart = typedNumber(*ui_.txtYstart).value_or(0);
  line.endPointMode = ui_.optSection2->isChecked();
  line.Xend = typedNumber(*ui_.txtXend).value_or(0);
  line.Yend = typedNumber(*ui_.txtYend).value_or(0);
  line.faiDegrees = typedNumber(*ui_.txtFai).value_or(0);
  return line;
}

}  // namespace kalvenor
