#pragma once

namespace kalvenor {

// How a 3D scene is written. The vertical exaggeration goes into the glTF root node's scale, so
// the vertices keep the model's elevations; the VTK and OBJ files keep them as they are.
struct SceneWriting {
  double verticalExaggeration = 1.0;
};

}  // namespace kalvenor
