#include "shell/borehole_check_table.h"

#include <QHeaderView>
#include <QTableWidget>
#include <cmath>

namespace kalvenor {
namespace {

constexpr int kSortKey = Qt::UserRole;

// Sorts by the value it shows rather than its text, with a blank (NaN) after every number in
// either order, so that contacts the model lacks never push the residuals out of sight.
class NumberItem : public QTableWidgetItem {
 public:
  explicit NumberItem(double value)
      : QTableWidgetItem(std::isnan(value) ? QString() : QString::number(value, 'f', 2)) {
    setData(kSortKey, value);
    setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }

  bool operator<(const QTableWidgetItem& other) const override {
    const double a = data(kSortKey).toDouble();
    const double b = other.data(kSortKey).toDouble();
    if (std::isnan(a) || std::isnan(b))
      return descending() ? std::isnan(a) && !std::isnan(b) : !std::isnan(a) && std::isnan(b);
    return a < b;
  }

 private:
  bool descending() const {
    const QTableWidget* table = tableWidget();
    return table && table->horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder;
  }
};

QString statusText(ContactStatus status) {
  switch (status) {
    case ContactStatus::Modelled:
      return QStringLiteral("照合");
    case ContactStatus::NotInModel:
      return QStringLiteral("モデルに無い");
    case ContactStatus::OutsideModel:
      return QStringLiteral("モデルの範囲外");
  }
  return {};
}

QString nameAt(const std::vector<std::string>& names, int index) {
  const auto i = static_cast<std::size_t>(index);
  return i < names.size() ? QString::fromStdString(names[i]) : QString::number(index);
}

void fillRow(QTableWidget& table, int row, const BoreholeCheck& check, const ContactCheck& c) {
  const auto put = [&](CheckColumn column, QTableWidgetItem* item) {
    table.setItem(row, static_cast<int>(column), item);
  };
  const auto hole = static_cast<std::size_t>(c.hole);
  const QString id = hole < check.holes.size() ? QString::fromStdString(check.holes[hole].id) : "";
  put(CheckColumn::Hole, new QTableWidgetItem(id));
  put(CheckColumn::Boundary, new QTableWidgetItem(nameAt(check.boundaryName, c.boundary)));
  put(CheckColumn::LoggedZ, new NumberItem(c.z));
  put(CheckColumn::ModelledZ, new NumberItem(c.modelledZ));
  put(CheckColumn::Residual, new NumberItem(c.residual));
  put(CheckColumn::Status, new QTableWidgetItem(statusText(c.status)));
}

}  // namespace

void clearBoreholeCheck(QTableWidget& table) {
  table.setSortingEnabled(false);
  table.setRowCount(0);
}

// Sorting is switched on only once the rows stand in the check's order, with no column chosen,
// so that the table opens worst first and a header click is what sorts it.
void showBoreholeCheck(QTableWidget& table, const BoreholeCheck& check) {
  clearBoreholeCheck(table);
  const std::vector<std::size_t> order = worstFirst(check);
  table.setRowCount(static_cast<int>(order.size()));
  for (std::size_t row = 0; row < order.size(); ++row) {
    fillRow(table, static_cast<int>(row), check, check.contacts[order[row]]);
  }
  table.horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  table.setSortingEnabled(true);
  table.resizeColumnsToContents();
}

QString agreementCaption(const BoreholeCheck& check) {
  const double percent = check.all.agreementPercent();
  const QString agreement =
      std::isnan(percent) ? QStringLiteral("—") : QString::number(percent, 'f', 1) + " %";
  return QStringLiteral("一致率 %1（接点 %2、うちモデルに無い %3）")
      .arg(agreement)
      .arg(check.all.contacts)
      .arg(check.all.notInModel);
}

}  // namespace kalvenor
