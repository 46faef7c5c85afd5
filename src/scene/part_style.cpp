#include "scene/part_style.h"

#include <string>
#include <vector>

namespace kalvenor {
namespace {

template <typename T>
T entry(const std::vector<T>& list, std::int32_t index) {
  return index >= 0 && index < static_cast<std::int32_t>(list.size()) ? list[index] : T{};
}

}  // namespace

void styleAsUnit(ScenePart& part, const BlockSceneInputs& in, std::int32_t unit) {
  part.unit = unit;
  part.boundary = 0;
  part.name = unit >= 1 ? entry(in.model.unitName, unit) : std::string();
  part.color = entry(in.unitColor, unit);
}

void styleAsBoundary(ScenePart& part, const BlockSceneInputs& in, std::int32_t k) {
  part.unit = 0;
  part.boundary = k;
  part.name = entry(in.model.boundaryName, k);
  part.color = entry(in.boundaryColor, k);
}

std::vector<ScenePart> styledUnitParts(std::map<std::int32_t, ScenePart>& parts,
                                       const BlockSceneInputs& in) {
  std::vector<ScenePart> result;
  for (auto& [unit, part] : parts) {
    if (part.mesh.triangles.empty()) continue;
    styleAsUnit(part, in, unit);
    result.push_back(std::move(part));
  }
  return result;
}

}  // namespace kalvenor
