#include "exports/scene_materials.h"

namespace kalvenor {
namespace {

constexpr PackedColor kNoUnitGrey = packRgb(128, 128, 128);

}  // namespace

SceneMaterials::SceneMaterials(const Scene& scene) {
  for (const ScenePart& part : scene.parts) {
    if (part.kind != ScenePartKind::Borehole) {
      const bool boundary = part.kind == ScenePartKind::BoundarySurface;
      add({boundary, boundary ? part.boundary : part.unit, part.name, part.color});
      continue;
    }
    for (std::int32_t unit : part.line.segmentUnit) {
      SceneMaterial material{false, unit, "no unit", kNoUnitGrey};
      for (const SceneUnit& known : scene.units) {
        if (known.number == unit) material = {false, unit, known.name, known.color};
      }
      add(material);
    }
  }
}

std::size_t SceneMaterials::add(const SceneMaterial& material) {
  const auto [at, added] = index_.try_emplace({material.boundary, material.number}, 0);
  if (added) {
    at->second = materials_.size();
    materials_.push_back(material);
  }
  return at->second;
}

std::size_t SceneMaterials::ofPart(const ScenePart& part) const {
  const bool boundary = part.kind == ScenePartKind::BoundarySurface;
  return index_.at({boundary, boundary ? part.boundary : part.unit});
}

std::size_t SceneMaterials::ofSegmentUnit(std::int32_t unit) const {
  return index_.at({false, unit});
}

std::vector<LineRun> unitRuns(const SceneLine& line) {
  std::vector<LineRun> runs;
  const std::size_t segments = line.vertices.size() < 2 ? 0 : line.vertices.size() - 1;
  for (std::size_t s = 0; s < segments && s < line.segmentUnit.size(); ++s) {
    if (!runs.empty() && runs.back().unit == line.segmentUnit[s]) {
      ++runs.back().count;
    } else {
      runs.push_back({s, 1, line.segmentUnit[s]});
    }
  }
  return runs;
}

const char* partKindName(ScenePartKind kind) {
  switch (kind) {
    case ScenePartKind::Terrain:
      return "terrain";
    case ScenePartKind::Wall:
      return "wall";
    case ScenePartKind::Base:
      return "base";
    case ScenePartKind::BoundarySurface:
      return "boundary surface";
    case ScenePartKind::Section:
      return "section";
    case ScenePartKind::Borehole:
      return "borehole";
  }
  return "";
}

std::string partLabel(const ScenePart& part) {
  return part.name + " (" + partKindName(part.kind) + ")";
}

bool hasGeometry(const ScenePart& part) {
  if (part.kind == ScenePartKind::Borehole) return !unitRuns(part.line).empty();
  return !part.mesh.triangles.empty();
}

}  // namespace kalvenor
