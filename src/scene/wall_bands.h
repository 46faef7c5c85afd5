#pragma once

#include <vector>

#include "scene/block_scene.h"

namespace kalvenor {

// The four side walls from the base up to the ground along the block's edges, one part per
// unit: between two kept columns, each run of levels of one unit is one band, from contact to
// contact where both columns hold the same runs, else between the wall's levels with the highest
// band cut along the ground. Columns whose edge node has no elevation are left open.
std::vector<ScenePart> wallBands(const BlockSceneInputs& in, const std::vector<int>& columns,
                                 const std::vector<int>& rows);

}  // namespace kalvenor
