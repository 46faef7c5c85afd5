#pragma once

#include <string>

#include "exports/exported_file.h"
#include "scene/scene.h"

namespace kalvenor {

// The scene as Wavefront OBJ at `path` with its materials beside it (the same name ending in
// .mtl): comments with the origin and the coordinate system first, then one group and one
// usemtl per part, its vertices relative to the origin and its faces; a borehole's runs of one
// unit become polylines (`l`) with their unit's material. Materials are named after their unit
// or boundary and coloured by Kd.
ExportedFiles sceneObjFiles(const std::string& path, const Scene& scene);

// The materials file sceneObjFiles writes beside `path`.
std::string objMaterialsName(const std::string& path);

}  // namespace kalvenor
