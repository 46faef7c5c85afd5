#pragma once

#include <vector>

#include "scene/block_scene.h"

namespace kalvenor {

// The block's base at Zbase under every cell whose four corners have an elevation, one part per
// unit classified at the base; the cells of one unit along a row make one rectangle.
std::vector<ScenePart> blockBase(const BlockSceneInputs& in, const std::vector<int>& columns,
                                 const std::vector<int>& rows);

}  // namespace kalvenor
