#include "shell/volumes_table.h"

#include <QHeaderView>
#include <QLocale>
#include <QStringList>
#include <QTableWidget>

namespace kalvenor {
namespace {

// Figures right-aligned, volumes and areas in whole units with thousands grouped.
QTableWidgetItem* figure(double value, int decimals) {
  auto* item = new QTableWidgetItem(QLocale::c().toString(value, 'f', decimals));
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QString unitName(const LogicalModel& model, int unit) {
  const std::string& name = model.unitName[unit];
  return name.empty() ? QString::number(unit) : QString::fromStdString(name);
}

}  // namespace

void clearVolumes(QTableWidget& table) {
  table.clearContents();
  table.setRowCount(0);
  table.setColumnCount(5);
  table.setHorizontalHeaderLabels({QStringLiteral("地層"), QStringLiteral("体積 (m³)"),
                                   QStringLiteral("露出面積 (m²)"), QStringLiteral("平均層厚 (m)"),
                                   QStringLiteral("最大層厚 (m)")});
  table.verticalHeader()->hide();
}

void showVolumes(QTableWidget& table, const LogicalModel& model,
                 const std::vector<UnitVolume>& volumes) {
  clearVolumes(table);
  table.setRowCount(static_cast<int>(volumes.size()));
  int row = 0;
  for (auto v = volumes.rbegin(); v != volumes.rend(); ++v, ++row) {
    table.setItem(row, 0, new QTableWidgetItem(unitName(model, v->unit)));
    table.setItem(row, 1, figure(v->volume, 0));
    table.setItem(row, 2, figure(v->outcropArea, 0));
    table.setItem(row, 3, figure(v->meanThickness(), 2));
    table.setItem(row, 4, figure(v->largestThickness, 2));
  }
  table.resizeColumnsToContents();
}

}  // namespace kalvenor
