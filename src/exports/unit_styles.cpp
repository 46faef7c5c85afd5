#include "exports/unit_styles.h"

namespace kalvenor {

std::vector<UnitStyle> unitStyles(const LogicalModel& model,
                                  const std::vector<PackedColor>& unitColor) {
  const auto colourOf = [&](int unit) {
    return unit < static_cast<int>(unitColor.size()) ? unitColor[unit] : kBlack;
  };
  std::vector<UnitStyle> styles{{"", colourOf(0), 0}};
  for (int unit = 1; unit <= model.unitCount(); ++unit) {
    styles.push_back({model.unitName[unit], colourOf(unit), 255});
  }
  return styles;
}

}  // namespace kalvenor
