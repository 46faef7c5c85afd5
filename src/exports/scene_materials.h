#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "scene/scene.h"

namespace kalvenor {

// A material of a 3D export: one per unit and one per boundary, shared by the parts of the same
// unit, named and coloured as the model names and colours it.
struct SceneMaterial {
  bool boundary = false;
  std::int32_t number = 0;
  std::string name;
  PackedColor color{};
};

// The materials of a scene, in the order their parts and borehole segments first use them. A
// borehole segment in a unit the scene does not list gets a grey material of its own.
class SceneMaterials {
 public:
  explicit SceneMaterials(const Scene& scene);

  const std::vector<SceneMaterial>& all() const { return materials_; }
  std::size_t ofPart(const ScenePart& part) const;
  std::size_t ofSegmentUnit(std::int32_t unit) const;

 private:
  using Key = std::pair<bool, std::int32_t>;
  std::size_t add(const SceneMaterial& material);

  std::vector<SceneMaterial> materials_;
  std::map<Key, std::size_t> index_;
};

// A run of consecutive borehole segments in one unit: segments first .. first + count - 1, so
// vertices first .. first + count.
struct LineRun {
  std::size_t first = 0;
  std::size_t count = 0;
  std::int32_t unit = 0;
};
std::vector<LineRun> unitRuns(const SceneLine& line);

// The kind of a part as the files name it ("terrain", "wall", "base", "boundary surface",
// "section", "borehole"), and a part's name with its kind, "Sandstone (wall)", which tells the
// patches of one unit apart.
const char* partKindName(ScenePartKind kind);
std::string partLabel(const ScenePart& part);

// A part that has something to draw: triangles, or a line of at least one segment.
bool hasGeometry(const ScenePart& part);

}  // namespace kalvenor
