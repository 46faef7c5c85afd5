#include "scene/section_panel.h"

#include <cmath>

#include "scene/display_nodes.h"
#include "scene/part_style.h"
#include "scene/unit_bands.h"

namespace kalvenor {
namespace {

// The horizontal normal toward the viewer of the section's picture, who has the line's eastern
// end on the right: to the right of the line's direction when it heads east, else to its left.
ScenePoint viewerSide(double Fai) {
  const double dx = std::sin(Fai), dy = std::cos(Fai);
  return dx <= 0 ? ScenePoint{-dy, dx, 0} : ScenePoint{dy, -dx, 0};
}

}  // namespace

std::vector<ScenePart> sectionPanel(const BlockSceneInputs& in, const SectionPanelInputs& s) {
  const VerticalGrid& grid = s.grid;
  const SectionGrid& line = s.section;
  const auto columns = static_cast<std::size_t>(grid.nH) + 1;
  if (grid.empty() || line.sectionSurfZ.size() < columns || line.groundKnown.size() < columns) {
    return {};
  }
  const int Nbd = s.profile.Nbd() == in.model.Nbd && s.profile.nH() >= grid.nH ? in.model.Nbd : 0;
  const BandPanel panel{
      .grid = grid,
      .panel = 0,
      .open = [&](int h, int h2) { return !line.groundKnown[h] || !line.groundKnown[h2]; },
      .column =
          [&](int h) {
            PanelColumn column{
                {grid.x(h), grid.y(h), 0}, line.sectionSurfZ[h], std::vector<double>(Nbd + 1, 0.0)};
            for (int k = 1; k <= Nbd; ++k) column.boundaryZ[k] = s.profile.bndZ(k, h);
            return column;
          },
      .facing = viewerSide(line.Fai),
      .flat = std::abs(grid.dxH) >= std::abs(grid.dyH) ? FlatAxis::Y : FlatAxis::X};
  UnitMeshes meshes(ScenePartKind::Section);
  addUnitBands(in.model, panel, keptNodes(grid.nH, 1), meshes);
  return styledUnitParts(meshes.parts(), in);
}

}  // namespace kalvenor
