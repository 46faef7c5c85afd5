#pragma once

#include <cstdint>
#include <string>

#include "exports/scene_writing.h"
#include "scene/scene.h"

namespace kalvenor {

// The scene as glTF 2.0 binary (.glb): one mesh per part and one material per unit or boundary
// (its name, its colour as baseColorFactor, matte and double-sided), triangles with per-vertex
// normals, boreholes as lines with one primitive per run of one unit. glTF is Y-up: a model
// point (x, y, z) is written as (x, z, -y) relative to the scene's origin, and the root node
// carries the origin as its translation in the same axes and the vertical exaggeration as its
// scale (1, VE, 1), so float32 positions keep millimetres at map scale. asset.extras holds the
// origin in model coordinates and the coordinate system (WKT) as "srs".
std::string sceneGlb(const Scene& scene, const SceneWriting& how);

// What decides the size of a scene's .glb.
struct SceneCounts {
  std::uint64_t parts = 0;
  std::uint64_t meshVertices = 0;
  std::uint64_t triangles = 0;
  std::uint64_t lineVertices = 0;
  std::uint64_t lineSegments = 0;
};
SceneCounts sceneCounts(const Scene& scene);

// The bytes of the .glb sceneGlb makes for a scene of these counts, from above: its binary
// buffer exactly, its JSON by a generous allowance per part.
std::uint64_t glbSizeEstimate(const SceneCounts& counts);

// A .glb holds at most 2 GiB: a larger one throws ExportError naming `path`, the size and the
// option that lightens the scene.
void checkGlbSize(const std::string& path, std::uint64_t bytes);

}  // namespace kalvenor
