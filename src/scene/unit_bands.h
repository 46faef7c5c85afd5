#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "evaluation/vertical_grid.h"
#include "model/logical_model.h"
#include "scene/mesh_builder.h"
#include "scene/scene.h"

namespace kalvenor {

// One column of a vertical panel: the point under it (its z unused), the ground there, and every
// boundary's elevation under it in elements 1..Nbd (element 0 unused).
struct PanelColumn {
  ScenePoint foot{};
  double ground = 0;
  std::vector<double> boundaryZ{0.0};
};

// A vertical panel of units, a side wall of the block or the section: its grid of units, which
// spans between two columns are left open (no ground known there), where each column stands, and
// the side its triangles face. `panel` keeps the vertices of panels sharing a mesh apart.
struct BandPanel {
  const VerticalGrid& grid;
  int panel = 0;
  std::function<bool(int h, int h2)> open;
  std::function<PanelColumn(int h)> column;
  ScenePoint facing{};
  FlatAxis flat = FlatAxis::X;
};

// The meshes of one kind of part, one per unit, each built over its own merged vertices.
class UnitMeshes {
 public:
  explicit UnitMeshes(ScenePartKind kind) : kind_(kind) {}
  MeshBuilder& of(std::int32_t unit);
  std::map<std::int32_t, ScenePart>& parts() { return parts_; }

 private:
  ScenePartKind kind_;
  std::map<std::int32_t, ScenePart> parts_;
  std::map<std::int32_t, std::unique_ptr<MeshBuilder>> builders_;
};

// The panel's unit bands between each two consecutive `columns` that are not open: each run of
// levels of one unit is one band, from contact to contact where both columns hold the same runs,
// else between the panel's levels with the highest band cut along the ground.
void addUnitBands(const LogicalModel& model, const BandPanel& panel,
                  const std::vector<int>& columns, UnitMeshes& meshes);

}  // namespace kalvenor
