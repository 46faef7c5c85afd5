#include "scene/geology_map_build.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <utility>

#include "model/parallel_for.h"
#include "scene/contact_chains.h"
#include "scene/display_nodes.h"
#include "scene/merged_triangles.h"
#include "scene/plan_outlines.h"
#include "scene/terrain_cells.h"

namespace kalvenor {
namespace {

template <typename T>
T entry(const std::vector<T>& list, std::int32_t index) {
  return index >= 0 && index < static_cast<std::int32_t>(list.size()) ? list[index] : T{};
}

PlanPoint plan(const ScenePoint& p) { return {p[0], p[1]}; }

// A cell that was cut, by its column in the row.
struct RowCut {
  std::size_t c = 0;
  TerrainSplit split;
};

class GeologyMapBuilder {
 public:
  explicit GeologyMapBuilder(const BlockSceneInputs& in)
      : in_(in),
        d_(in.display),
        columns_(keptNodes(d_.Nx, 1)),
        rows_(keptNodes(d_.Ny, 1)),
        cellColumns_(columns_.empty() ? 0 : columns_.size() - 1),
        cellRows_(rows_.empty() ? 0 : rows_.size() - 1),
        // The cells are walked counter-clockwise unless one of the axes runs backwards.
        counterClockwise_((d_.Dx > 0) == (d_.Dy > 0)) {}

  GeologyMap build();

 private:
  void cutCells();
  std::int32_t cellAt(std::size_t c, std::size_t r) const {
    return c < cellColumns_ && r < cellRows_ ? code_[r * cellColumns_ + c] : kEmptyCell;
  }
  void addPart(const TerrainPart& part);
  void addCellSides(std::size_t c, std::size_t r);
  void addCutCells(const std::vector<RowCut>& cuts);
  std::vector<MapUnitArea> units() const;
  std::vector<MapContactLine> contacts() const;

  const BlockSceneInputs& in_;
  const DisplaySurface& d_;
  std::vector<int> columns_, rows_;
  std::size_t cellColumns_, cellRows_;
  bool counterClockwise_;
  std::vector<std::int32_t> code_;  // each cell's unit, kEmptyCell or kOwnCell
  std::vector<std::vector<RowCut>> cuts_;
  RegionOutlines outlines_;
  std::map<int, std::vector<KeyedSegment>> contactPieces_;
};

// Every cell's fate, the cut ones with their parts; rows side by side.
void GeologyMapBuilder::cutCells() {
  const NodeElevations e(in_.boundaryGrids, d_, in_.model.Nbd, {columns_, rows_, in_.threads});
  const TerrainCells cells(in_, e);
  code_.assign(cellColumns_ * cellRows_, kEmptyCell);
  cuts_.assign(cellRows_, {});
  parallelFor(0, static_cast<int>(cellRows_) - 1,
              [&](int row) {
                const auto r = static_cast<std::size_t>(row);
                const RowGaps low = cells.gapsOfRow(columns_, rows_, r);
                const RowGaps high = cells.gapsOfRow(columns_, rows_, r + 1);
                for (std::size_t c = 0; c < cellColumns_; ++c) {
                  CutCell cell = cells.cell(
                      {columns_[c], rows_[r], columns_[c + 1], rows_[r + 1], c}, low, high);
                  code_[r * cellColumns_ + c] = cell.unit;
                  if (cell.unit == kOwnCell) cuts_[r].push_back({c, std::move(cell.split)});
                }
              },
              {.threads = in_.threads, .chunk = 8, .dynamic = true});
}

void GeologyMapBuilder::addPart(const TerrainPart& part) {
  if (part.unit < 1) return;
  std::vector<std::uint64_t> keys;
  std::vector<PlanPoint> points;
  for (const TerrainVertex& v : part.corners) {
    keys.push_back(v.key);
    points.push_back(plan(v.p));
  }
  if (!counterClockwise_) {
    std::reverse(keys.begin(), keys.end());
    std::reverse(points.begin(), points.end());
  }
  outlines_.addPolygon(part.unit, keys, points);
}

// The sides of an uncut cell where its neighbour is not of its unit: inside a unit's uncut
// cells nothing is kept, so a map of a million cells keeps only its outlines.
void GeologyMapBuilder::addCellSides(std::size_t c, std::size_t r) {
  const std::int32_t unit = cellAt(c, r);
  if (unit < 1) return;
  const int i = columns_[c], j = rows_[r], i2 = columns_[c + 1], j2 = rows_[r + 1];
  const std::array<std::array<int, 2>, 5> corner{{{i, j}, {i2, j}, {i2, j2}, {i, j2}, {i, j}}};
  const std::array<std::int32_t, 4> beside{cellAt(c, r - 1), cellAt(c + 1, r), cellAt(c, r + 1),
                                           cellAt(c - 1, r)};
  for (std::size_t side = 0; side < 4; ++side) {
    if (beside[side] == unit) continue;
    const auto [ai, aj] = corner[side];
    const auto [bi, bj] = corner[side + 1];
    const std::uint64_t a = nodeKey(d_, ai, aj), b = nodeKey(d_, bi, bj);
    const PlanPoint pa{d_.nodeX[ai], d_.nodeY[aj]}, pb{d_.nodeX[bi], d_.nodeY[bj]};
    if (counterClockwise_) {
      outlines_.addEdge(unit, a, pa, b, pb);
    } else {
      outlines_.addEdge(unit, b, pb, a, pa);
    }
  }
}

void GeologyMapBuilder::addCutCells(const std::vector<RowCut>& cuts) {
  for (const RowCut& cut : cuts) {
    for (const TerrainPart& part : cut.split.parts) addPart(part);
    for (const TerrainContact& piece : cut.split.contacts) {
      contactPieces_[piece.boundary].push_back(
          {piece.a.key, piece.b.key, plan(piece.a.p), plan(piece.b.p)});
    }
  }
}

std::vector<MapUnitArea> GeologyMapBuilder::units() const {
  std::vector<MapUnitArea> units;
  for (auto& [unit, polygons] : outlines_.polygons()) {
    MapUnitArea area{unit, entry(in_.model.unitName, unit), entry(in_.unitColor, unit),
                     std::move(polygons)};
    for (const PlanPolygon& polygon : area.polygons) area.area += polygonArea(polygon);
    units.push_back(std::move(area));
  }
  return units;
}

std::vector<MapContactLine> GeologyMapBuilder::contacts() const {
  std::vector<MapContactLine> lines;
  for (const auto& [k, pieces] : contactPieces_) {
    for (std::vector<PlanPoint>& points : chainedLines(pieces)) {
      MapContactLine line{k, entry(in_.model.boundaryName, k), entry(in_.boundaryColor, k),
                          std::move(points)};
      for (std::size_t n = 1; n < line.points.size(); ++n) {
        line.length += std::hypot(line.points[n][0] - line.points[n - 1][0],
                                  line.points[n][1] - line.points[n - 1][1]);
      }
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

GeologyMap GeologyMapBuilder::build() {
  if (!d_.loaded() || cellColumns_ == 0 || cellRows_ == 0) return {};
  cutCells();
  for (std::size_t r = 0; r < cellRows_; ++r) {
    for (std::size_t c = 0; c < cellColumns_; ++c) addCellSides(c, r);
    addCutCells(cuts_[r]);
    cuts_[r] = {};
  }
  return {units(), contacts(), d_.srs};
}

}  // namespace

GeologyMap buildGeologyMap(const BlockSceneInputs& in) { return GeologyMapBuilder(in).build(); }

}  // namespace kalvenor
