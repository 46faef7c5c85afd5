#include "scene/boundary_surfaces.h"

#include <tuple>

#include "evaluation/classification.h"
#include "scene/display_nodes.h"
#include "scene/merged_triangles.h"
#include "scene/mesh_builder.h"
#include "scene/part_style.h"
#include "scene/terrain_cell.h"

namespace kalvenor {
namespace {

// How a boundary stands at a node: whether it separates two units there (a point on it counts
// as below it by one rule and above it by the other, so the units differ exactly where it is a
// contact), and how far it lies below the ground and above the base.
struct SurfaceNode {
  bool separates = false;
  std::array<double, 2> inside{};  // ground - z, z - base: both at least 0 inside the block
};

// A corner of a cell's part that lies in the block, with what it is merged by.
struct ClipPoint {
  std::uint64_t key = 0;
  ScenePoint p{};
  std::array<double, 2> inside{};
};

constexpr std::uint64_t kNoEdge = ~std::uint64_t{0};

// What is left of a convex polygon where inside[q] is at least 0, its sides still tagged with
// the cell edge they lie on. A point cut on a cell edge is keyed by the edge, and computed from
// the edge's ends in one order, so the cells on both sides of it share it.
class CellClip {
 public:
  std::vector<ClipPoint> points;
  std::vector<std::uint64_t> sides;  // side n runs from point n to point n + 1

  void cut(int q, std::uint64_t& insideKeys) {
    CellClip kept;
    const std::size_t n = points.size();
    for (std::size_t m = 0; m < n; ++m) {
      const ClipPoint& a = points[m];
      const ClipPoint& b = points[(m + 1) % n];
      const double va = a.inside[q], vb = b.inside[q];
      // A corner on the cut keeps it; the side after it runs along the cut when b is cut away.
      if (va >= 0) kept.add(a, va == 0 && vb < 0 ? kNoEdge : sides[m]);
      if (!((va > 0 && vb < 0) || (va < 0 && vb > 0))) continue;
      const auto& [from, to] = a.key < b.key ? std::tie(a, b) : std::tie(b, a);
      const double t = from.inside[q] / (from.inside[q] - to.inside[q]);
      ClipPoint x{sides[m] == kNoEdge ? kInsideKeys | insideKeys++
                                      : kCrossingKeys | (2 * sides[m] + static_cast<unsigned>(q)),
                  {},
                  {}};
      for (int c = 0; c < 3; ++c) x.p[c] = from.p[c] + t * (to.p[c] - from.p[c]);
      for (int c = 0; c < 2; ++c)
        x.inside[c] = from.inside[c] + t * (to.inside[c] - from.inside[c]);
      x.inside[q] = 0;
      kept.add(x, va > 0 ? kNoEdge : sides[m]);
    }
    *this = std::move(kept);
  }

 private:
  void add(const ClipPoint& p, std::uint64_t side) {
    points.push_back(p);
    sides.push_back(side);
  }
};

class SurfaceBuilder {
 public:
  SurfaceBuilder(const BlockSceneInputs& in, const std::vector<int>& columns,
                 const std::vector<int>& rows, int k)
      : in_(in),
        columns_(columns),
        rows_(rows),
        k_(k),
        grid_{columns.size(), rows.size(), {}, {}} {}

  ScenePart build(const NodeElevations& e);

 private:
  std::uint64_t nodeKey(std::size_t c, std::size_t r) const { return r * columns_.size() + c; }
  std::uint64_t edgeKey(std::size_t c, std::size_t r, bool alongY) const {
    return 2 * nodeKey(c, r) + (alongY ? 1 : 0);
  }
  ClipPoint corner(std::size_t c, std::size_t r) const {
    const std::size_t n = nodeKey(c, r);
    return {n,
            {in_.display.nodeX[columns_[c]], in_.display.nodeY[rows_[r]], grid_.z[n]},
            nodes_[n].inside};
  }
  std::int32_t region(std::size_t c, std::size_t r) const;
  void addCutCell(MeshBuilder& mesh, std::size_t c, std::size_t r);

  const BlockSceneInputs& in_;
  const std::vector<int>& columns_;
  const std::vector<int>& rows_;
  int k_;
  MergeGrid grid_;
  std::vector<SurfaceNode> nodes_;
  std::uint64_t insideKeys_ = 0;
};

// A cell is the surface's where the boundary separates two units at all four corners: whole
// when the four lie inside the block, else cut along the ground and the base.
std::int32_t SurfaceBuilder::region(std::size_t c, std::size_t r) const {
  if (openCell(in_.display, {columns_[c], rows_[r]}, {columns_[c + 1], rows_[r + 1]})) {
    return kEmptyCell;
  }
  bool inside = true;
  for (const std::size_t n :
       {nodeKey(c, r), nodeKey(c + 1, r), nodeKey(c, r + 1), nodeKey(c + 1, r + 1)}) {
    if (!nodes_[n].separates) return kEmptyCell;
    inside = inside && nodes_[n].inside[0] >= 0 && nodes_[n].inside[1] >= 0;
  }
  return inside ? 0 : kOwnCell;
}

// The cell's two triangles, each cut to what lies between the base and the ground.
void SurfaceBuilder::addCutCell(MeshBuilder& mesh, std::size_t c, std::size_t r) {
  const std::array<std::array<ClipPoint, 3>, 2> halves{
      {{corner(c, r), corner(c + 1, r), corner(c + 1, r + 1)},
       {corner(c, r), corner(c + 1, r + 1), corner(c, r + 1)}}};
  const std::array<std::array<std::uint64_t, 3>, 2> sides{
      {{edgeKey(c, r, false), edgeKey(c + 1, r, true), kNoEdge},
       {kNoEdge, edgeKey(c, r + 1, false), edgeKey(c, r, true)}}};
  for (std::size_t h = 0; h < 2; ++h) {
    CellClip part{{halves[h].begin(), halves[h].end()}, {sides[h].begin(), sides[h].end()}};
    part.cut(0, insideKeys_);
    part.cut(1, insideKeys_);
    std::vector<std::uint32_t> corners;
    for (const ClipPoint& p : part.points) corners.push_back(mesh.vertex(p.key, p.p));
    if (corners.size() >= 3) mesh.polygon(std::move(corners), {0, 0, 1}, FlatAxis::Z);
  }
}

ScenePart SurfaceBuilder::build(const NodeElevations& e) {
  const DisplaySurface& d = in_.display;
  std::vector<double> z;
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      const int i = columns_[c], j = rows_[r];
      e.at(c, r, z);
      SurfaceNode node;
      if (!d.missing.at(i, j)) {
        const Classification units = classifyAmong(in_.model, z, z[k_]);
        node = {units.unitStrict != units.unitInclusive,
                {d.dispZ(i, j) - z[k_], z[k_] - in_.Zbase}};
      }
      nodes_.push_back(node);
      grid_.z.push_back(z[k_]);
    }
  }
  ScenePart part;
  part.kind = ScenePartKind::BoundarySurface;
  styleAsBoundary(part, in_, k_);
  MeshBuilder mesh(part.mesh);
  for (std::size_t r = 0; r + 1 < rows_.size(); ++r) {
    for (std::size_t c = 0; c + 1 < columns_.size(); ++c) {
      grid_.cellRegion.push_back(region(c, r));
      if (grid_.cellRegion.back() == kOwnCell) addCutCell(mesh, c, r);
    }
  }
  mergedTriangles(grid_, kMergeTolerance, [&](const std::array<GridNode, 3>& t, std::int32_t) {
    std::array<std::uint32_t, 3> v{};
    for (std::size_t n = 0; n < 3; ++n) {
      const ClipPoint p = corner(t[n][0], t[n][1]);
      v[n] = mesh.vertex(p.key, p.p);
    }
    mesh.triangle(v[0], v[1], v[2], {0, 0, 1});
  });
  return part;
}

}  // namespace

std::vector<ScenePart> boundarySurface(const BlockSceneInputs& in, const std::vector<int>& columns,
                                       const std::vector<int>& rows, const NodeElevations& e,
                                       int k) {
  ScenePart part = SurfaceBuilder(in, columns, rows, k).build(e);
  if (part.mesh.triangles.empty()) return {};
  return {std::move(part)};
}

}  // namespace kalvenor
