#include "render/fence_detail.h"

#include <algorithm>
#include <cmath>

namespace kalvenor {
namespace {

// The canvas distance between two model points, in pixels and not rounded; 0 when either lies
// behind the eye.
double pixelsBetween(const Projection& p, const ModelPoint& a, const ModelPoint& b) {
  const auto from = p.screenOffset({a.x, a.y, p.exaggerateHeight(a.z)});
  const auto to = p.screenOffset({b.x, b.y, p.exaggerateHeight(b.z)});
  if (!from || !to) return 0;
  return std::hypot((*to)[0] - (*from)[0], (*to)[1] - (*from)[1]) * p.scale();
}

// Every `stride`-th index from 1 up to `count`, and `count` itself.
std::vector<int> keptIndices(int count, int stride) {
  std::vector<int> kept;
  for (int n = 1; n < count; n += stride) kept.push_back(n);
  kept.push_back(count);
  return kept;
}

}  // namespace

// The widest strip and the tallest column decide: at the base and the top of every column.
PanelStride panelStride(const FencePanel& panel, const Projection& projection) {
  const VerticalGrid& g = panel.grid;
  if (g.nH < 2 || g.nV < 2) return {};
  const double bottom = g.z(1), top = g.z(g.nV);
  double widest = 0, tallest = 0;
  for (int h = 1; h <= g.nH; ++h) {
    const ModelPoint base{g.x(h), g.y(h), bottom};
    tallest = std::max(tallest, pixelsBetween(projection, base, {base.x, base.y, top}));
    if (h < g.nH) {
      widest = std::max(widest, pixelsBetween(projection, base, {g.x(h + 1), g.y(h + 1), bottom}));
      widest = std::max(
          widest, pixelsBetween(projection, {base.x, base.y, top}, {g.x(h + 1), g.y(h + 1), top}));
    }
  }
  const auto stride = [](double pixels, int count) {
    if (!(pixels > 0)) return 1;
    return std::clamp(static_cast<int>(std::floor(1 / pixels)), 1, std::max(1, count - 1));
  };
  return {stride(widest, g.nH), stride(tallest / (g.nV - 1), g.nV)};
}

std::optional<FencePanel> panelInDetail(const FencePanel& panel, PanelStride stride,
                                        const std::vector<GridSurface>& grids, int Nbd) {
  if (stride == PanelStride{}) return std::nullopt;
  const VerticalGrid& g = panel.grid;
  const SectionGrid& s = panel.section;
  const std::vector<int> columns = keptIndices(g.nH, stride.columns);
  const int nH = static_cast<int>(columns.size());
  // The last level kept lies at or above the top, so that no ground is lost there.
  const int nV = (g.nV - 2) / stride.levels + 2;
  FencePanel kept{panel.name, {}, {}, {}};
  VerticalGrid& grid = kept.grid;
  static_cast<LineGeometry&>(grid) = {nH,
                                      nV,
                                      g.x0,
                                      g.y0,
                                      g.z0,
                                      g.dxH * stride.columns,
                                      g.dyH * stride.columns,
                                      g.dzV * stride.levels};
  grid.unit = LevelUnits(nH, nV, kAir);
  // What the drawing reads of the section: the ground under the columns and the levels.
  SectionGrid& section = kept.section;
  section.Nxy = nH;
  section.Nz = nV;
  section.Zbase = s.Zbase;
  section.Dzz = s.Dzz * stride.levels;
  section.sectionSurfZ.assign(nH + 1, 0.0);
  section.groundKnown.assign(nH + 1, true);
  grid.columnX.assign(nH + 1, 0.0);
  grid.columnY.assign(nH + 1, 0.0);
  for (int n = 1; n <= nH; ++n) {
    const int h = columns[n - 1];
    grid.columnX[n] = g.x(h);
    grid.columnY[n] = g.y(h);
    section.sectionSurfZ[n] = s.sectionSurfZ[h];
    section.groundKnown[n] = h >= static_cast<int>(s.groundKnown.size()) || s.groundKnown[h];
    for (int v = 1, level = 1; v <= nV && level <= g.nV; ++v, level += stride.levels) {
      grid.unit.set(n, v, g.unit(h, level));
    }
  }
  kept.profile = buildBoundaryProfile(grid, grids, Nbd);
  return kept;
}

}  // namespace kalvenor
