#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "scene/scene.h"

namespace kalvenor {

// Which coordinate a polygon is flattened along to tell its straight sides: z for the terrain
// and the base, x or y for a wall.
enum class FlatAxis { X = 0, Y = 1, Z = 2 };

// Adds triangles to one part's mesh over vertices merged by what they are (a node, a crossing on
// a cell edge), never by how close they lie, so that every cell asking for a vertex gets the
// same one.
class MeshBuilder {
 public:
  explicit MeshBuilder(TriangleMesh& mesh) : mesh_(mesh) {}

  // The vertex of `key`, added at p the first time it is asked for.
  std::uint32_t vertex(std::uint64_t key, const ScenePoint& p);
  // A vertex the caller keeps the index of itself, as a grid of nodes can more cheaply.
  std::uint32_t add(const ScenePoint& p) {
    mesh_.vertices.push_back(p);
    return static_cast<std::uint32_t>(mesh_.vertices.size() - 1);
  }

  // A convex polygon through the vertices in order, its triangles facing `facing`. Points on
  // its straight sides (where a neighbouring polygon has a corner) are kept, and no triangle
  // has zero area: the fan starts at a corner with no such point beside it, or else at the
  // polygon's centre.
  void polygon(std::vector<std::uint32_t> corners, const ScenePoint& facing, FlatAxis flat);
  // The same for four corners, without allocating where no side has a point on it.
  void quad(const std::array<std::uint32_t, 4>& corners, const ScenePoint& facing, FlatAxis flat);
  // One triangle, turned to face `facing`.
  void triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c, const ScenePoint& facing);

 private:
  TriangleMesh& mesh_;
  std::unordered_map<std::uint64_t, std::uint32_t> index_;
  std::uint64_t centres_ = 0;
};

}  // namespace kalvenor
