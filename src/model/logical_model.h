#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/array2d.h"

namespace kalvenor {

class ItemReader;

// A point's above/below pattern is held in a 16-bit signed integer, one bit per boundary.
constexpr int kMaxBoundaries = 15;

// Which unit lies on which side of each boundary. Units are the rows 1..Nbd+1 (unit 1 the
// lowest), boundaries the columns 1..Nbd (boundary 1 the lowest). Element 0 of every vector is
// unused.
struct LogicalModel {
  std::int16_t Nbd = 0;
  // +1: the unit lies above the boundary; -1: below it; 0: the boundary does not decide it.
  // Any other value can never be satisfied.
  Array2D<std::int16_t> modelCell;
  std::vector<std::string> unitName;
  std::vector<std::string> boundaryName;
  // Unit row chosen for every above/below pattern, 0 when no row fits.
  std::vector<std::int16_t> unitOfPattern;

  int unitCount() const { return Nbd + 1; }
};

// A blank model of `Nbd` boundaries: cells 0, names empty, no pattern claimed. Throws
// std::invalid_argument when Nbd lies outside 0..kMaxBoundaries.
LogicalModel allocateModel(int Nbd);

// One boundary "s" with unit "a" below it and unit "b" above it.
LogicalModel twoUnitTemplate();

// Reads a model file: Nbd, the boundary names, then per unit its name and Nbd cells. Throws
// ReadError naming the file, line and item where reading stopped.
LogicalModel readLogicalModel(const std::string& path);
LogicalModel readLogicalModel(ItemReader& reader);

// Fills unitOfPattern: for every pattern the first unit row whose cells it satisfies. Returns
// true when every pattern found a unit.
bool buildUnitOfPattern(LogicalModel& model);

}  // namespace kalvenor
