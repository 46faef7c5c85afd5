#include "exports/scene_files.h"

#include <cmath>

#include "exports/export_error.h"
#include "exports/file_extension.h"
#include "exports/scene_gltf.h"
#include "exports/scene_obj.h"
#include "exports/scene_vtk.h"
#include "model/message_text.h"
#include "model/number_text.h"

namespace kalvenor {

void checkSceneName(const std::string& path) {
  const std::string extension = lowerExtension(path);
  if (extension == ".glb" || extension == ".vtp" || extension == ".vtm" || extension == ".obj") {
    return;
  }
  if (extension.empty()) {
    throw ExportError(path, translated("a 3D model is written as .glb, .vtp, .vtm or .obj as its "
                                       "name ends, and this name has no extension"));
  }
  throw ExportError(path, fill(translated("a 3D model is written as .glb, .vtp, .vtm or .obj as "
                                          "its name ends, and {1} is none of them"),
                               {extension}));
}

ExportedFiles sceneFiles(const std::string& path, const Scene& scene, const SceneWriting& how) {
  checkSceneName(path);
  if (!(how.verticalExaggeration > 0.0 && std::isfinite(how.verticalExaggeration))) {
    throw ExportError(path, fill(translated("the vertical exaggeration must be a number above 0, "
                                            "not {1}"),
                                 {numberText(how.verticalExaggeration)}));
  }
  const std::string extension = lowerExtension(path);
  if (extension == ".glb") {
    checkGlbSize(path, glbSizeEstimate(sceneCounts(scene)));
    return {{path, sceneGlb(scene, how)}};
  }
  if (extension == ".vtp") return {{path, scenePolyData(scene)}};
  if (extension == ".vtm") return sceneMultiBlockFiles(path, scene);
  return sceneObjFiles(path, scene);
}

std::vector<std::string> sceneFileNames(const std::string& path) {
  checkSceneName(path);
  const std::string extension = lowerExtension(path);
  if (extension == ".obj") return {path, objMaterialsName(path)};
  if (extension == ".vtm") return {path, multiBlockFolder(path)};
  return {path};
}

std::vector<std::string> sceneFolders(const std::string& path) {
  if (lowerExtension(path) == ".vtm") return {multiBlockFolder(path)};
  return {};
}

}  // namespace kalvenor
