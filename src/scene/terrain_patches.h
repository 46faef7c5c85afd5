#pragma once

#include <vector>

#include "scene/block_scene.h"
#include "scene/display_nodes.h"

namespace kalvenor {

// The terrain over the kept display nodes (`columns`, `rows`), one part per unit: every cell
// whose four corners have an elevation, cut along the contacts.
std::vector<ScenePart> terrainPatches(const BlockSceneInputs& in, const std::vector<int>& columns,
                                      const std::vector<int>& rows, const NodeElevations& e);

}  // namespace kalvenor
