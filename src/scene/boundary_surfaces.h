#pragma once

#include <vector>

#include "scene/block_scene.h"

namespace kalvenor {

// Each boundary where it is a contact inside the block, one part per boundary: the cells of the
// kept display nodes whose four corners lie on the boundary between the base and the ground,
// with different units on its two sides. The surface is not cut inside a cell, so it stops at
// the last whole cell before the ground or the base.
std::vector<ScenePart> boundarySurfaces(const BlockSceneInputs& in, const std::vector<int>& columns,
                                        const std::vector<int>& rows);

}  // namespace kalvenor
