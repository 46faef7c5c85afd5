#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/packed_color.h"

namespace kalvenor {

// A point in model coordinates: metres east and north in the display surface's system, and the
// elevation, with no vertical exaggeration.
using ScenePoint = std::array<double, 3>;

// Triangles over shared vertices, counter-clockwise seen from the side the normal points to.
struct TriangleMesh {
  std::vector<ScenePoint> vertices;
  std::vector<std::array<std::uint32_t, 3>> triangles;
};

// Lines through vertices, each segment with its own unit (a borehole's logged units).
struct SceneLine {
  std::vector<ScenePoint> vertices;
  std::vector<std::int32_t> segmentUnit;  // one per segment: vertices.size() - 1
};

enum class ScenePartKind { Terrain, Wall, Base, BoundarySurface, Section, Borehole };

// One part of the scene: a unit's patch of the terrain, the walls or the base, a boundary
// surface, the section's panel of a unit, or one borehole. `unit` is the unit's number (0 for a
// boundary surface or a borehole, whose segments carry their units); `boundary` the boundary's
// number (0 for the others).
struct ScenePart {
  ScenePartKind kind = ScenePartKind::Terrain;
  std::int32_t unit = 0;
  std::int32_t boundary = 0;
  std::string name;  // the unit's or the boundary's name, or the hole id
  PackedColor color{};
  TriangleMesh mesh;  // empty for a borehole
  SceneLine line;     // a borehole's path; empty for the others
};

// A unit of the model as the writers name and colour it.
struct SceneUnit {
  std::int32_t number = 0;
  std::string name;
  PackedColor color{};
};

// Everything a 3D export writes. `origin` is the block's south-west corner at its base, which
// the writers subtract so that single-precision positions keep millimetres at map scale.
struct Scene {
  std::vector<ScenePart> parts;
  std::vector<SceneUnit> units;  // every unit of the model, for the colours of line segments
  ScenePoint origin{};
  std::string srs;  // the display surface's system (WKT), "" when it names none
};

}  // namespace kalvenor
