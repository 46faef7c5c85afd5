#pragma once

#include <string>
#include <vector>

#include "model/logical_model.h"
#include "model/packed_color.h"

namespace kalvenor {

// How one value of a units grid is shown in a GIS.
struct UnitStyle {
  std::string name;
  PackedColor color = kBlack;
  int alpha = 255;
};

// The styles of values 0..Nbd+1 of a units grid: each unit's name and colour, and for value 0,
// which is NODATA, an empty name and the colour of "no unit" made transparent.
std::vector<UnitStyle> unitStyles(const LogicalModel& model,
                                  const std::vector<PackedColor>& unitColor);

}  // namespace kalvenor
