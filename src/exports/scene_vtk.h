#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "exports/exported_file.h"
#include "scene/scene.h"

namespace kalvenor {

// The scene as VTK XML PolyData (.vtp, ASCII): every part in one piece, the points in model
// coordinates as Float64, triangles as polygons and each borehole segment as a line. Each cell
// carries `unit` (its unit's number, 0 for none), `boundary` (its boundary's number, 0 for
// none) and `part` (the kind of its part: 0 terrain, 1 wall, 2 base, 3 boundary surface,
// 4 section, 5 borehole); the field data lists the units (`unit_number`, `unit_color` as RGB
// bytes, `unit_name`), the names of the part kinds and the scene's origin.
std::string scenePolyData(const Scene& scene);

// The scene as a VTK multiblock (.vtm) at `path` with one .vtp per part, named by the part, in
// the folder named like `path` without its extension: model.vtm, model/part_0.vtp, ...
ExportedFiles sceneMultiBlockFiles(const std::string& path, const Scene& scene);

// The folder the part files of the multiblock at `path` go in.
std::string multiBlockFolder(const std::string& path);

}  // namespace kalvenor
