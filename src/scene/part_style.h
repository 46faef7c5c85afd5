#pragma once

#include <cstdint>

#include "scene/block_scene.h"

namespace kalvenor {

// Names and colours a part as unit `unit` of the model (no name for unit 0 or one beyond it).
void styleAsUnit(ScenePart& part, const BlockSceneInputs& in, std::int32_t unit);

// Names and colours a part as boundary k.
void styleAsBoundary(ScenePart& part, const BlockSceneInputs& in, std::int32_t k);

}  // namespace kalvenor
