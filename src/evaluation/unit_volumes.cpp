#include "evaluation/unit_volumes.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "evaluation/cell_integral.h"
#include "evaluation/clip_coverage.h"
#include "evaluation/unit_column.h"
#include "model/parallel_for.h"

namespace kalvenor {
namespace {

// Columns of cells taken together by one thread: each band works out the nodes on its edges
// again, which costs a band's width less.
constexpr int kBandColumns = 16;

// The columns of one column of display nodes, j = 1..Ny, kept while the cells beside it are
// integrated.
class NodeColumn {
 public:
  NodeColumn(const ModelColumns& columns, int Ny)
      : surfaces_(columnSurfaces(columns.model.Nbd) + 1),
        units_(columns.model.unitCount() + 1),
        column_(columns.model),
        known_(Ny + 1),
        levels_(static_cast<std::size_t>(Ny + 1) * surfaces_),
        thickness_(static_cast<std::size_t>(Ny + 1) * units_),
        order_(Ny + 1),
        surfaceUnit_(Ny + 1) {}

  // Node column i; the largest thicknesses of its nodes inside the area go into `largest`.
  void build(const NodeLevels& nodes, int i, const ClipCoverage* coverage,
             std::vector<double>& largest) {
    for (int j = 1; j < static_cast<int>(known_.size()); ++j) {
      known_[j] = nodes.known(i, j);
      if (!known_[j]) continue;
      const std::span<double> levels = levelsOf(j);
      nodes.fill(i, j, levels);
      column_.build(levels);
      const std::span<double> thickness = thicknessOf(j);
      std::fill(thickness.begin(), thickness.end(), 0.0);
      column_.addThicknesses(levels, 1.0, thickness);
      order_[j] = column_.order();
      surfaceUnit_[j] = column_.surfaceUnit();
      if (coverage && !coverage->nodeInside(i, j)) continue;
      for (std::size_t u = 0; u < units_; ++u) largest[u] = std::max(largest[u], thickness[u]);
    }
  }

  bool known(int j) const { return known_[j] != 0; }
  std::span<double> levelsOf(int j) {
    return {levels_.data() + static_cast<std::size_t>(j) * surfaces_, surfaces_};
  }
  std::span<double> thicknessOf(int j) {
    return {thickness_.data() + static_cast<std::size_t>(j) * units_, units_};
  }
  const ColumnOrder& order(int j) const { return order_[j]; }
  std::int16_t surfaceUnit(int j) const { return surfaceUnit_[j]; }

 private:
  std::size_t surfaces_;
  std::size_t units_;
  UnitColumn column_;
  std::vector<std::uint8_t> known_;
  std::vector<double> levels_;
  std::vector<double> thickness_;
  std::vector<ColumnOrder> order_;
  std::vector<std::int16_t> surfaceUnit_;
};

// The cells of one band of columns.
struct Band {
  const ModelColumns& columns;
  const NodeLevels& nodes;
  const ClipCoverage* coverage;
};

void integrateColumn(NodeColumn& west, NodeColumn& east, int i, const Band& band,
                     CellIntegral& integral, UnitSums& sums) {
  std::vector<PlanePolygon> polygons;
  PlanePolygon scratch;
  const int Ny = band.columns.display.Ny;
  for (int j = 1; j < Ny; ++j) {
    if (!west.known(j) || !east.known(j) || !east.known(j + 1) || !west.known(j + 1)) continue;
    const CellCover cover = band.coverage ? band.coverage->cell(i, j) : CellCover::Inside;
    if (cover == CellCover::Outside) continue;
    IntegratedPart part;
    if (cover == CellCover::Edge) {
      band.coverage->cellPolygons(i, j, polygons, scratch);
      part = {&polygons, band.coverage->orientation()};
    }
    const ColumnOrder& order = west.order(j);
    if (east.order(j) == order && east.order(j + 1) == order && west.order(j + 1) == order) {
      CellIntegral::addAlike({west.thicknessOf(j), east.thicknessOf(j), east.thicknessOf(j + 1),
                              west.thicknessOf(j + 1)},
                             west.surfaceUnit(j), part, sums);
    } else {
      integral.addCut(
          {west.levelsOf(j), east.levelsOf(j), east.levelsOf(j + 1), west.levelsOf(j + 1)}, part,
          sums);
    }
  }
}

void integrateBand(int first, int last, const Band& band, UnitSums& sums) {
  const int Ny = band.columns.display.Ny;
  NodeColumn a(band.columns, Ny);
  NodeColumn b(band.columns, Ny);
  NodeColumn* west = &a;
  NodeColumn* east = &b;
  CellIntegral integral(band.columns.model);
  west->build(band.nodes, first, band.coverage, sums.largest);
  for (int i = first; i <= last; ++i) {
    east->build(band.nodes, i + 1, band.coverage, sums.largest);
    integrateColumn(*west, *east, i, band, integral, sums);
    std::swap(west, east);
  }
}

}  // namespace

std::vector<UnitVolume> unitVolumes(const ModelColumns& columns, const ClipArea* clip,
                                    const RenderContext& context) {
  const DisplaySurface& d = columns.display;
  const int units = columns.model.unitCount();
  std::optional<ClipCoverage> coverage;
  if (clip) coverage.emplace(*clip, d.header());
  const NodeLevels nodes(columns);
  const Band band{columns, nodes, coverage ? &*coverage : nullptr};
  const int cellColumns = d.Nx - 1;
  const int bands = (cellColumns + kBandColumns - 1) / kBandColumns;
  std::vector<UnitSums> bandSums(bands, UnitSums(units));
  parallelFor(0, bands - 1,
              [&](int b) {
                const int first = b * kBandColumns + 1;
                integrateBand(first, std::min(cellColumns, first + kBandColumns - 1), band,
                              bandSums[b]);
              },
              {.threads = context.threads});
  UnitSums total(units);
  for (const UnitSums& sums : bandSums) total.add(sums);
  const double cellArea = std::abs(d.Dx * d.Dy);
  std::vector<UnitVolume> volumes;
  for (int u = 1; u <= units; ++u) {
    volumes.push_back({u, total.volume[u] * cellArea, total.outcrop[u] * cellArea,
                       total.present[u] * cellArea, total.largest[u]});
  }
  return volumes;
}

}  // namespace kalvenor
