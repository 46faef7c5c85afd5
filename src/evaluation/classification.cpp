#include "evaluation/classification.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "evaluation/boundary_interpolation.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

// The first v in first..last at which holds(v), or last + 1; holds turns from false to true at
// most once.
template <typename Holds>
int firstWhere(int first, int last, const Holds& holds) {
  while (first <= last) {
    const int middle = first + (last - first) / 2;
    if (holds(middle)) {
      last = middle - 1;
    } else {
      first = middle + 1;
    }
  }
  return first;
}

}  // namespace

Classification classifyPoint(const LogicalModel& model, const std::vector<GridSurface>& grids,
                             double x, double y, double& z) {
  return classifyWith(
      model, [&](int k) { return boundaryElevationAt(grids, k, x, y); }, z);
}

Classification classifyTracePoint(const LogicalModel& model, const std::vector<GridSurface>& grids,
                                  double x, double y, double z) {
  const double zt = Fix(z);
  return unitsOfPatterns(model, [&](int k) {
    return std::pair{zt, Fix(boundaryElevationAt(grids, k, x, y))};
  });
}

Classification classifyAmong(const LogicalModel& model, const std::vector<double>& boundaryZ,
                             double z) {
  return unitsOfPatterns(model, [&](int k) { return std::pair{z, boundaryZ[k]}; });
}

ColumnClassifier::ColumnClassifier(const LogicalModel& model, const std::vector<GridSurface>& grids)
    : model_(model), grids_(grids), roundedBoundary_(model.Nbd + 1, 0.0) {}

void ColumnClassifier::moveTo(double x, double y) {
  for (int k = 1; k <= model_.Nbd; ++k) {
    roundedBoundary_[k] = roundTo7Decimals(boundaryElevationAt(grids_, k, x, y));
  }
}

Classification ColumnClassifier::classify(double& z) const {
  return classifyAgainst(
      model_, [this](int k) { return roundedBoundary_[k]; }, z);
}

int ColumnClassifier::classifyLevels(const LineGeometry& levels, double ceiling,
                                     const LevelRun& fill) {
  const int top = firstWhere(1, levels.nV, [&](int v) { return levels.z(v) > ceiling; }) - 1;
  runStart_.assign({1, top + 1});
  for (int k = 1; k <= model_.Nbd; ++k) {
    runStart_.push_back(firstWhere(
        1, top, [&](int v) { return roundTo7Decimals(levels.z(v)) > roundedBoundary_[k]; }));
  }
  std::sort(runStart_.begin(), runStart_.end());
  for (std::size_t r = 0; r + 1 < runStart_.size(); ++r) {
    const int first = runStart_[r];
    const int last = runStart_[r + 1] - 1;
    if (first > last) continue;
    double z = levels.z(first);
    fill(first, last, classify(z).unitStrict);
  }
  return top;
}

}  // namespace kalvenor
