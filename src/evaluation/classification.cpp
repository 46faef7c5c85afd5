#include "evaluation/classification.h"

#include <cmath>

#include "evaluation/boundary_interpolation.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

// Builds both patterns, boundary 1 the most significant bit, then looks up their units.
template <typename BoundaryAt>
Classification classifyAgainst(const LogicalModel& model, const BoundaryAt& boundaryAt,
                               double& z) {
  int strict = 0;
  int inclusive = 0;
  for (int k = 1; k <= model.Nbd; ++k) {
    const double zb = boundaryAt(k);
    z = roundTo7Decimals(z);
    const int weight = 1 << (model.Nbd - k);
    if (z > zb) strict += weight;
    if (z >= zb) inclusive += weight;
  }
  return {model.unitOfPattern[strict], model.unitOfPattern[inclusive]};
}

}  // namespace

double roundTo7Decimals(double value) { return roundHalfEven(value * 1e7) / 1e7; }

Classification classifyPoint(const LogicalModel& model, const std::vector<GridSurface>& grids,
                             double x, double y, double& z) {
  return classifyAgainst(
      model, [&](int k) { return roundTo7Decimals(boundaryElevationAt(grids, k, x, y)); }, z);
}

Classification classifyTracePoint(const LogicalModel& model, const std::vector<GridSurface>& grids,
                                  double x, double y, double z) {
  const double zt = Fix(z);
  int strict = 0;
  int inclusive = 0;
  for (int k = 1; k <= model.Nbd; ++k) {
    const double wt = Fix(boundaryElevationAt(grids, k, x, y));
    const int weight = 1 << (model.Nbd - k);
    if (zt > wt) strict += weight;
    if (zt >= wt) inclusive += weight;
  }
  return {model.unitOfPattern[strict], model.unitOfPattern[inclusive]};
}

ColumnClassifier::ColumnClassifier(const LogicalModel& model,
                                   const std::vector<GridSurface>& grids)
    : model_(model), grids_(grids), roundedBoundary_(model.Nbd + 1, 0.0) {}

void ColumnClassifier::moveTo(double x, double y) {
  for (int k = 1; k <= model_.Nbd; ++k) {
    roundedBoundary_[k] = roundTo7Decimals(boundaryElevationAt(grids_, k, x, y));
  }
}

Classification ColumnClassifier::classify(double& z) const {
  return classifyAgainst(model_, [this](int k) { return roundedBoundary_[k]; }, z);
}

}  // namespace kalvenor
