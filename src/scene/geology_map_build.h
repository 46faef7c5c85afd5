#pragma once

#include "scene/block_scene.h"
#include "scene/geology_map.h"

namespace kalvenor {

// The geological map of the last map build as vectors, over every display node: each unit's
// terrain as the block's scene cuts it along the contacts, seen in plan and dissolved into one
// multipolygon (cells with a node without elevation, and ground of no unit, left out), and the
// contact lines the pictures trace, joined into lines boundary by boundary. Only the surface's
// units of `in.mapGrid` are read; the cells are cut on in.threads threads.
GeologyMap buildGeologyMap(const BlockSceneInputs& in);

}  // namespace kalvenor
