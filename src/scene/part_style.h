#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "scene/block_scene.h"

namespace kalvenor {

// Names and colours a part as unit `unit` of the model (no name for unit 0 or one beyond it).
void styleAsUnit(ScenePart& part, const BlockSceneInputs& in, std::int32_t unit);

// The parts of a mesh kept per unit, each named and coloured as its unit, those with no
// triangles left out, in the order of the units.
std::vector<ScenePart> styledUnitParts(std::map<std::int32_t, ScenePart>& parts,
                                       const BlockSceneInputs& in);

// Names and colours a part as boundary k.
void styleAsBoundary(ScenePart& part, const BlockSceneInputs& in, std::int32_t k);

}  // namespace kalvenor
