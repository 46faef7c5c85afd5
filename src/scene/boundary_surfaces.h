#pragma once

#include <vector>

#include "scene/block_scene.h"
#include "scene/display_nodes.h"

namespace kalvenor {

// Boundary k where it is a contact inside the block, as one part (none where it is nowhere): the
// cells of the kept display nodes at whose four corners the boundary has different units on its two
// sides, cut along the ground and the base, so that the surface ends where it meets the terrain's
// contact on the cells' edges. Whole cells are merged into larger triangles where it is flat.
std::vector<ScenePart> boundarySurface(const BlockSceneInputs& in, const std::vector<int>& columns,
                                       const std::vector<int>& rows, const NodeElevations& e,
                                       int k);

}  // namespace kalvenor
