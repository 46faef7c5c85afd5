#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "evaluation/line_geometry.h"
#include "model/grid_surface.h"
#include "model/logical_model.h"
#include "model/number_text.h"

namespace kalvenor {

// Unit of a point under the two on-boundary rules: strict counts a point on a boundary as
// below it, inclusive as above it. Units are model rows 1..Nbd+1, 0 for an unclaimed pattern.
struct Classification {
  std::int16_t unitStrict = 0;
  std::int16_t unitInclusive = 0;
};

// Rounds to 7 decimal places, halves to even. Inline: a map build rounds every node and every
// boundary under it.
inline double roundTo7Decimals(double value) { return roundHalfEven(value * 1e7) / 1e7; }

// Builds both patterns, boundary 1 the most significant bit, then looks up their units.
// `levels(k)` gives the point's elevation and boundary k's as the two are compared.
template <typename Levels>
Classification unitsOfPatterns(const LogicalModel& model, const Levels& levels) {
  int strict = 0;
  int inclusive = 0;
  for (int k = 1; k <= model.Nbd; ++k) {
    const auto [z, zb] = levels(k);
    const int weight = 1 << (model.Nbd - k);
    if (z > zb) strict += weight;
    if (z >= zb) inclusive += weight;
  }
  return {model.unitOfPattern[strict], model.unitOfPattern[inclusive]};
}

// The point's elevation rounded to 7 decimals, and written back, against each boundary's as
// boundaryAt(k) gives it.
template <typename BoundaryAt>
Classification classifyAgainst(const LogicalModel& model, const BoundaryAt& boundaryAt, double& z) {
  return unitsOfPatterns(model, [&](int k) {
    const double zb = boundaryAt(k);
    z = roundTo7Decimals(z);
    return std::pair{z, zb};
  });
}

// Classifies (x, y, z) against boundaries 1..Nbd of `grids`. z is replaced by its value rounded
// to 7 decimals (when there is a boundary to compare with).
Classification classifyPoint(const LogicalModel& model, const std::vector<GridSurface>& grids,
                             double x, double y, double& z);

// The same for a point where boundary k lies at boundaryAt(k): each is rounded to 7 decimals as
// classifyPoint rounds the boundaries it interpolates.
template <typename BoundaryAt>
Classification classifyWith(const LogicalModel& model, const BoundaryAt& boundaryAt, double& z) {
  return classifyAgainst(
      model, [&](int k) { return roundTo7Decimals(boundaryAt(k)); }, z);
}

// The unit test of the wall and section traces: like classifyPoint, but the point's elevation
// and each boundary's are first truncated toward zero to whole numbers.
Classification classifyTracePoint(const LogicalModel& model, const std::vector<GridSurface>& grids,
                                  double x, double y, double z);

// Classifies elevation z against boundaries at the elevations boundaryZ[1..Nbd], as they are:
// nothing is rounded. A point on boundary k (z == boundaryZ[k]) lies on a contact between units
// exactly when its two units differ.
Classification classifyAmong(const LogicalModel& model, const std::vector<double>& boundaryZ,
                             double z);

// Levels first..last of a column, all of one unit.
using LevelRun = std::function<void(int first, int last, std::int16_t unit)>;

// The same decision for many points of one vertical line: the boundary elevations under the
// line are interpolated and rounded once, which gives exactly what classifyPoint gives there.
class ColumnClassifier {
 public:
  ColumnClassifier(const LogicalModel& model, const std::vector<GridSurface>& grids);
  void moveTo(double x, double y);
  Classification classify(double& z) const;

  // The strict units of the levels z(1), z(2), ... of `levels` (dzV > 0) up to the last one not
  // above `ceiling`, whose number it returns, handed to `fill` in runs that cover them in order.
  // Each level gets what classify gives it: its rounded elevation rises with the level, so each
  // boundary's test turns once, at a level found by bisection, and the unit changes only there.
  int classifyLevels(const LineGeometry& levels, double ceiling, const LevelRun& fill);

 private:
  const LogicalModel& model_;
  const std::vector<GridSurface>& grids_;
  std::vector<double> roundedBoundary_;  // 1..Nbd
  std::vector<int> runStart_;            // levels where a run starts, and one past the last
};

}  // namespace kalvenor
