#include "evaluation/unit_column.h"

#include "evaluation/classification.h"

namespace kalvenor {

UnitColumn::UnitColumn(const LogicalModel& model) : model_(model) {
  crossed_.reserve(model.Nbd);
  runs_.reserve(model.Nbd + 1);
}

void UnitColumn::build(std::span<const double> levels) {
  const int Nbd = model_.Nbd;
  const double base = levels[baseSurface(Nbd)];
  const double ground = levels[groundSurface(Nbd)];
  runs_.clear();
  crossed_.clear();
  order_ = {};
  int pattern = 0;
  if (ground <= base) {
    // No column: only the ground's side of each boundary matters, for the unit at the surface.
    for (int k = 1; k <= Nbd; ++k) {
      if (ground > levels[k]) pattern += 1 << (Nbd - k);
    }
    surfaceUnit_ = model_.unitOfPattern[pattern];
    order_ = {~std::uint64_t{0}, static_cast<std::uint32_t>(pattern), 0};
    return;
  }
  // Just above the base every boundary at or below it has been crossed.
  for (int k = 1; k <= Nbd; ++k) {
    const double z = levels[k];
    if (z <= base) {
      pattern += 1 << (Nbd - k);
      order_.under |= 1U << k;
    } else if (z >= ground) {
      order_.over |= 1U << k;
    } else {
      auto at = crossed_.end();
      while (at != crossed_.begin() && levels[*(at - 1)] > z) --at;
      crossed_.insert(at, k);
    }
  }
  int lower = baseSurface(Nbd);
  int shift = 0;
  for (const int k : crossed_) {
    order_.crossed |= static_cast<std::uint64_t>(k) << shift;
    shift += 4;
    if (levels[k] > levels[lower]) {
      runs_.push_back({model_.unitOfPattern[pattern], static_cast<std::int8_t>(lower),
                       static_cast<std::int8_t>(k)});
      lower = k;
    }
    pattern += 1 << (Nbd - k);
  }
  surfaceUnit_ = model_.unitOfPattern[pattern];
  runs_.push_back({surfaceUnit_, static_cast<std::int8_t>(lower),
                   static_cast<std::int8_t>(groundSurface(Nbd))});
}

void UnitColumn::addThicknesses(std::span<const double> levels, double weight,
                                std::span<double> perUnit) const {
  for (const UnitRun& run : runs_) {
    perUnit[run.unit] += weight * (levels[run.upper] - levels[run.lower]);
  }
}

bool isContact(const LogicalModel& model, const std::vector<double>& boundaryZ, int k) {
  const Classification sides = classifyAmong(model, boundaryZ, boundaryZ[k]);
  return sides.unitStrict != sides.unitInclusive;
}

}  // namespace kalvenor
