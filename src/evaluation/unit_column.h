#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/logical_model.h"

namespace kalvenor {

// The surfaces a vertical line meets, as one array indexed 1..Nbd + 2: boundary k at k, then the
// base of the block and the ground (element 0 unused).
inline int baseSurface(int Nbd) { return Nbd + 1; }
inline int groundSurface(int Nbd) { return Nbd + 2; }
inline int columnSurfaces(int Nbd) { return Nbd + 2; }

// A stretch of a vertical line in one unit (0 for a pattern no unit claims), from the surface
// `lower` up to the surface `upper`.
struct UnitRun {
  std::int16_t unit = 0;
  std::int8_t lower = 0;
  std::int8_t upper = 0;
};

// How a column's surfaces lie: the boundaries at or below the base, those at or above the
// ground, and the order of those in between. Where two columns lie alike, every boundary keeps
// its side of every other surface that matters between them.
struct ColumnOrder {
  std::uint64_t crossed = 0;  // the boundaries in between, 4 bits each, lowest in the low bits
  std::uint32_t under = 0;    // a bit per boundary
  std::uint32_t over = 0;
  friend bool operator==(const ColumnOrder&, const ColumnOrder&) = default;
};

// The units of a vertical line from the base up to the ground. Between two neighbouring levels of
// the sorted surfaces the unit does not change; it is the one the strict rule gives (a point on
// a boundary counts as below it), found by crossing the boundaries from the base upwards. Built
// again for every column, without allocating once its vectors have grown.
class UnitColumn {
 public:
  explicit UnitColumn(const LogicalModel& model);

  // `levels` holds the surfaces' elevations, indexed as columnSurfaces says.
  void build(std::span<const double> levels);

  // The runs of non-zero length, lowest first; none where the ground is not above the base.
  const std::vector<UnitRun>& runs() const { return runs_; }
  // The unit at the ground itself, as the map's classification of the surface gives it.
  std::int16_t surfaceUnit() const { return surfaceUnit_; }
  const ColumnOrder& order() const { return order_; }

  // Adds the thickness of each unit's runs, measured on `levels` (those built, or others in which
  // the surfaces keep the same order), times `weight`, to perUnit[unit].
  void addThicknesses(std::span<const double> levels, double weight,
                      std::span<double> perUnit) const;

 private:
  const LogicalModel& model_;
  std::vector<int> crossed_;  // boundaries between the base and the ground, sorted upwards
  std::vector<UnitRun> runs_;
  std::int16_t surfaceUnit_ = 0;
  ColumnOrder order_;
};

// Whether boundary k is a contact at `level`: the units just below and just above it differ.
// `boundaryZ` holds the boundaries' elevations at the point, 1..Nbd.
bool isContact(const LogicalModel& model, const std::vector<double>& boundaryZ, int k);

}  // namespace kalvenor
