#include "scene/section_panel.h"

#include <cmath>
#include <utility>
#include <vector>

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

// The first and last columns of each straight run of the line: a run ends where the next span
// turns away from its first.
std::vector<std::pair<int, int>> straightRuns(const VerticalGrid& grid) {
  std::vector<std::pair<int, int>> runs;
  int first = 1;
  for (int h = 2; h <= grid.nH; ++h) {
    if (h < grid.nH) {
      const double ax = grid.x(first + 1) - grid.x(first), ay = grid.y(first + 1) - grid.y(first);
      const double bx = grid.x(h + 1) - grid.x(h), by = grid.y(h + 1) - grid.y(h);
      if (std::abs(ax * by - ay * bx) <= 1e-9 * std::hypot(ax, ay) * std::hypot(bx, by) &&
          ax * bx + ay * by > 0) {
        continue;
      }
    }
    runs.emplace_back(first, h);
    first = h;
  }
  return runs;
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
  const auto column = [&](int h) {
    const ScenePoint foot =
        s.laidFlat ? ScenePoint{line.distance(h), 0, 0} : ScenePoint{grid.x(h), grid.y(h), 0};
    PanelColumn c{foot, line.sectionSurfZ[h], std::vector<double>(Nbd + 1, 0.0)};
    for (int k = 1; k <= Nbd; ++k) c.boundaryZ[k] = s.profile.bndZ(k, h);
    return c;
  };
  UnitMeshes meshes(ScenePartKind::Section);
  // Each straight run of the line is a panel of its own, flattened and facing across its own
  // direction; a bend's column belongs to both runs beside it.
  const ScenePoint viewer = viewerSide(line.Fai);
  const auto runs =
      s.laidFlat ? std::vector<std::pair<int, int>>{{1, grid.nH}} : straightRuns(grid);
  for (const auto& [first, last] : runs) {
    const double dx = column(last).foot[0] - column(first).foot[0];
    const double dy = column(last).foot[1] - column(first).foot[1];
    ScenePoint facing{dy, -dx, 0};
    if (!s.laidFlat && facing[0] * viewer[0] + facing[1] * viewer[1] < 0) facing = {-dy, dx, 0};
    const BandPanel panel{
        .grid = grid,
        .panel = 0,
        .open = [&](int h, int h2) { return !line.groundKnown[h] || !line.groundKnown[h2]; },
        .column = column,
        .facing = facing,
        .flat = std::abs(dx) >= std::abs(dy) ? FlatAxis::Y : FlatAxis::X};
    std::vector<int> columns;
    for (int h = first; h <= last; ++h) columns.push_back(h);
    addUnitBands(in.model, panel, columns, meshes);
  }
  return styledUnitParts(meshes.parts(), in);
}

}  // namespace kalvenor
