#include <QHeaderView>
#include <QPainter>
#include <algorithm>

#include "canvas/packed_qcolor.h"
#include "shell/busy_cursor.h"
#include "shell/file_paths.h"
#include "shell/form_main.h"
#include "shell/sequence_title.h"

namespace kalvenor {
namespace {

// A square of the unit's colour in the row of its name; a blank one before it has a colour, so
// the names stay in one column.
QIcon swatch(const QListWidget& list, std::optional<QColor> colour) {
  const int side = list.fontMetrics().height();
  QPixmap square(side, side);
  square.fill(Qt::transparent);
  if (colour) {
    QPainter painter(&square);
    painter.fillRect(square.rect(), *colour);
    painter.setPen(Qt::black);
    painter.drawRect(square.rect().adjusted(0, 0, -1, -1));
  }
  return QIcon(square);
}

}  // namespace

// Units are asked for lowest first, each dialog titled with its unit and opened on its colour,
// and each band is drawn as soon as its colour is chosen, so unit 1 takes the bottom band. A
// cancel ends the sequence with the colours chosen so far.
void FormMain::cmdColor_Click() {
  const LogicalModel& m = state().model;
  const int units = m.unitCount();
  if (!session_.hasModel()) throw SessionError(kNoModelYet);
  for (pickIndex_ = 1; pickIndex_ <= units; ++pickIndex_) {
    const int unit = pickIndex_;
    const std::optional<PackedColor> color =
        dialogs_.chooseColor(state().unitColor[unit],
                             sequenceTitle(QStringLiteral("地質"), unit, units, m.unitName[unit]));
    if (!color) return;
    session_.setUnitColor(unit, *color);
  }
  pickIndex_ = 0;
}

void FormMain::cmdColorReset_Click() { session_.resetUnitColors(); }

// The file is read and checked whole before any colour changes, as --colors is.
void FormMain::cmdColorFile_Click() {
  const std::optional<QString> path = dialogs_.openFile(kAllFilesFilter, {});
  if (!path) return;
  BusyCursor busy;
  session_.applyColourFile(localPath(*path));
}

// The legend holds a band for every unit given a colour, unit 1 at the bottom; each boundary's
// name in the header is written in the colour of its line.
void FormMain::showColours() {
  const ViewerState& s = state();
  const QSize area = ui_.picLegend->contentsRect().size();
  legend_ = QPixmap(area);
  legend_.fill(Qt::white);
  const int units = s.model.unitCount();
  const double H = area.height();
  const double h = H / units;
  QPainter painter(&legend_);
  for (int unit = 1; unit <= units && unit < static_cast<int>(s.unitColorChosen.size()); ++unit) {
    if (!s.unitColorChosen[unit]) continue;
    painter.fillRect(QRectF(QPointF(0, H - unit * h), QPointF(area.width(), H - (unit - 1) * h)),
                     toQColor(s.unitColor[unit]));
  }
  painter.end();
  ui_.picLegend->setPixmap(legend_);
  QListWidget& names = *ui_.lstBodyName;
  for (int row = 0; row < names.count(); ++row) {
    const int unit = units - row;
    const bool chosen =
        unit >= 1 && unit < static_cast<int>(s.unitColorChosen.size()) && s.unitColorChosen[unit];
    names.item(row)->setIcon(
        swatch(names, chosen ? std::optional(toQColor(s.unitColor[unit])) : std::nullopt));
  }
  ui_.cmdColor->setEnabled(session_.stepOpen(Step::Colours));

  QTableWidget& grid = *ui_.grdModel;
  const int boundaries = std::min<int>(grid.columnCount(), s.model.Nbd);
  for (int k = 1; k <= boundaries && k < static_cast<int>(s.boundaryColor.size()); ++k) {
    QTableWidgetItem* header = grid.horizontalHeaderItem(k - 1);
    if (!header) {
      header = new QTableWidgetItem;
      grid.setHorizontalHeaderItem(k - 1, header);
    }
    header->setForeground(toQColor(s.boundaryColor[k]));
  }
}

// A selection of one column over several rows is what a click on a boundary's header makes:
// it chooses the colour of that boundary's line, shown in the header text.
void FormMain::grdModel_Click() {
  const QList<QTableWidgetSelectionRange> ranges = ui_.grdModel->selectedRanges();
  if (ranges.size() != 1) return;
  const QTableWidgetSelectionRange& range = ranges.front();
  if (range.columnCount() != 1 || range.rowCount() < 2) return;
  const int boundary = range.leftColumn() + 1;
  if (boundary >= static_cast<int>(state().boundaryColor.size())) return;
  const std::optional<PackedColor> color =
      dialogs_.chooseColor(state().boundaryColor[boundary], {});
  if (!color) return;
  session_.setBoundaryColor(boundary, *color);
}

}  // namespace kalvenor
