#pragma once

#include <string>
#include <vector>

#include "exports/exported_file.h"
#include "exports/scene_writing.h"
#include "scene/scene.h"

namespace kalvenor {

// The scene in the form the name's extension asks for, in any case: .glb (sceneGlb), .vtp
// (scenePolyData), .vtm (sceneMultiBlockFiles) or .obj (sceneObjFiles, with its .mtl). Throws
// ExportError naming the file for an unknown extension, a vertical exaggeration that is not a
// number above 0, and a .glb beyond glTF's 2 GiB, before any of it is made.
ExportedFiles sceneFiles(const std::string& path, const Scene& scene, const SceneWriting& how);

// Refuses, with ExportError naming the file and the extensions a 3D export takes, a name no
// writer fits; for a check before anything is built.
void checkSceneName(const std::string& path);

// The files sceneFiles writes for `path` as far as the name tells: the file itself, and the
// .mtl beside an .obj; for a .vtm, the file and the folder its part files go in (their number
// depends on the scene: one part_<i>.vtp per part).
std::vector<std::string> sceneFileNames(const std::string& path);

// The folders sceneFiles puts files in that the writer of the files must make: the part files'
// folder of a .vtm; none for the other forms.
std::vector<std::string> sceneFolders(const std::string& path);

}  // namespace kalvenor
