#include <QHeaderView>
#include <QPainter>
#include <algorithm>

#include "canvas/packed_qcolor.h"
#include "shell/form_main.h"
#include "shell/sequence_title.h"

namespace kalvenor {

// Units are asked for lowest first, each dialog titled with its unit, and each band is drawn as
// soon as its colour is chosen, so unit 1 takes the bottom band. A cancel ends the sequence with
// the colours chosen so far.
void FormMain::cmdColor_Click() {
  const LogicalModel& m = state_.model;
  const int units = m.unitCount();
  if (state_.unitColor.size() < static_cast<std::size_t>(units + 1)) {
    dialogs_.message(QStringLiteral("There is no logical model yet: enter one in step (1) first."),
                     Dialogs::Icon::Warning);
    return;
  }
  for (state_.pickIndex = 1; state_.pickIndex <= units; ++state_.pickIndex) {
    const int unit = state_.pickIndex;
    const std::optional<PackedColor> color = dialogs_.chooseColor(
        kBlack, sequenceTitle(QStringLiteral("地質"), unit, units, m.unitName[unit]));
    if (!color) return;
    state_.unitColor[unit] = *color;
    drawLegendBand(unit, *color);
  }
  ui_.cmdColor->setEnabled(false);
  state_.pickIndex = 0;
  ui_.lbl3->setVisible(false);
}

void FormMain::drawLegendBand(int unit, PackedColor color) {
  const QSize area = ui_.picLegend->contentsRect().size();
  if (legend_.size() != area) {
    QPixmap resized(area);
    resized.fill(Qt::white);
    QPainter(&resized).drawPixmap(0, 0, legend_);
    legend_ = resized;
  }
  const double H = area.height();
  const double h = H / state_.model.unitCount();
  QPainter painter(&legend_);
  painter.fillRect(QRectF(QPointF(0, H - unit * h), QPointF(area.width(), H - (unit - 1) * h)),
                   toQColor(color));
  painter.end();
  ui_.picLegend->setPixmap(legend_);
}

void FormMain::cmdColorReset_Click() { resetColours(); }

// Every unit black again, a blank legend and step (3) open.
void FormMain::resetColours() {
  legend_ = QPixmap(ui_.picLegend->contentsRect().size());
  legend_.fill(Qt::white);
  ui_.picLegend->setPixmap(legend_);
  state_.unitColor.assign(state_.model.unitCount() + 1, kBlack);
  ui_.cmdColor->setEnabled(true);
  ui_.lbl3->setVisible(true);
}

// Each boundary's name in the header is written in the colour of its line.
void FormMain::showBoundaryColours() {
  QTableWidget& grid = *ui_.grdModel;
  const int boundaries = std::min<int>(grid.columnCount(), state_.model.Nbd);
  for (int k = 1; k <= boundaries; ++k) {
    QTableWidgetItem* header = grid.horizontalHeaderItem(k - 1);
    if (!header) {
      header = new QTableWidgetItem;
      grid.setHorizontalHeaderItem(k - 1, header);
    }
    header->setForeground(toQColor(state_.boundaryColor[k]));
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
  if (boundary >= static_cast<int>(state_.boundaryColor.size())) return;
  const std::optional<PackedColor> color = dialogs_.chooseColor(state_.boundaryColor[boundary], {});
  if (!color) return;
  state_.boundaryColor[boundary] = *color;
  showBoundaryColours();
}

}  // namespace kalvenor
