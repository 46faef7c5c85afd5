#include "scene/wall_bands.h"

#include <array>

#include "evaluation/map_grid.h"
#include "scene/display_nodes.h"
#include "scene/part_style.h"
#include "scene/unit_bands.h"

namespace kalvenor {
namespace {

// The display node under column h of a wall.
std::array<int, 2> edgeNode(const DisplaySurface& d, int slot, int h) {
  switch (slot) {
    case kSouthWall:
      return {h, 1};
    case kNorthWall:
      return {h, d.Ny};
    case kWestWall:
      return {1, h};
    default:
      return {d.Nx, h};
  }
}

// A wall as a panel: its columns stand on the display nodes along its edge, the ground and the
// boundaries taken there; a span over a node with no elevation is left open. Walls face out.
void addWall(const BlockSceneInputs& in, const BoundaryAtNodes& boundaries, int Nbd, int slot,
             const std::vector<int>& columns, UnitMeshes& meshes) {
  const DisplaySurface& d = in.display;
  const bool alongX = slot == kSouthWall || slot == kNorthWall;
  const double out = slot == kSouthWall || slot == kWestWall ? -1 : 1;
  const BandPanel panel{
      .grid = in.mapGrid.verticalGrids[slot],
      .panel = slot,
      .open = [&](int h,
                  int h2) { return openCell(d, edgeNode(d, slot, h), edgeNode(d, slot, h2)); },
      .column =
          [&](int h) {
            const auto [i, j] = edgeNode(d, slot, h);
            PanelColumn column{
                {d.nodeX[i], d.nodeY[j], 0}, d.dispZ(i, j), std::vector<double>(Nbd + 1, 0.0)};
            for (int k = 1; k <= Nbd; ++k) column.boundaryZ[k] = boundaries.at(k, i, j);
            return column;
          },
      .facing = alongX ? ScenePoint{0, out, 0} : ScenePoint{out, 0, 0},
      .flat = alongX ? FlatAxis::Y : FlatAxis::X};
  addUnitBands(in.model, panel, columns, meshes);
}

}  // namespace

std::vector<ScenePart> wallBands(const BlockSceneInputs& in, const std::vector<int>& columns,
                                 const std::vector<int>& rows) {
  const int Nbd = static_cast<int>(in.boundaryGrids.size()) >= in.model.Nbd + 1 ? in.model.Nbd : 0;
  const BoundaryAtNodes boundaries(in.boundaryGrids, in.display, Nbd);
  UnitMeshes meshes(ScenePartKind::Wall);
  addWall(in, boundaries, Nbd, kSouthWall, columns, meshes);
  addWall(in, boundaries, Nbd, kNorthWall, columns, meshes);
  addWall(in, boundaries, Nbd, kWestWall, rows, meshes);
  addWall(in, boundaries, Nbd, kEastWall, rows, meshes);
  return styledUnitParts(meshes.parts(), in);
}

}  // namespace kalvenor
