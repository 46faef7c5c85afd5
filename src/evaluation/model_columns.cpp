#include "evaluation/model_columns.h"

#include "evaluation/unit_column.h"

namespace kalvenor {

NodeLevels::NodeLevels(const ModelColumns& columns)
    : display_(columns.display), Zbase_(columns.Zbase) {
  boundaries_.reserve(columns.model.Nbd);
  for (int k = 1; k <= columns.model.Nbd; ++k) {
    boundaries_.emplace_back(columns.boundaryGrids[k], columns.display);
  }
}

void NodeLevels::fill(int i, int j, std::span<double> levels) const {
  const int Nbd = static_cast<int>(boundaries_.size());
  for (int k = 1; k <= Nbd; ++k) levels[k] = boundaries_[k - 1].at(i, j);
  levels[baseSurface(Nbd)] = Zbase_;
  levels[groundSurface(Nbd)] = display_.dispZ(i, j);
}

}  // namespace kalvenor
