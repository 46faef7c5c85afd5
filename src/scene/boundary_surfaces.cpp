#include "scene/boundary_surfaces.h"

#include "evaluation/classification.h"
#include "model/array2d.h"
#include "scene/display_nodes.h"
#include "scene/mesh_builder.h"
#include "scene/part_style.h"

namespace kalvenor {
namespace {

// The boundaries' elevations at every kept node, (c, r) in the kept columns and rows.
class NodeElevations {
 public:
  NodeElevations(const BlockSceneInputs& in, const std::vector<int>& columns,
                 const std::vector<int>& rows)
      : columns_(columns.size()), stride_(static_cast<std::size_t>(in.model.Nbd) + 1) {
    const BoundaryAtNodes boundaries(in.boundaryGrids, in.display, in.model.Nbd);
    z_.reserve(columns.size() * rows.size() * stride_);
    for (const int j : rows) {
      for (const int i : columns) {
        z_.push_back(0.0);
        for (int k = 1; k <= in.model.Nbd; ++k) z_.push_back(boundaries.at(k, i, j));
      }
    }
  }
  // Boundaries 1..Nbd at node (c, r) into z, element 0 unused.
  void at(std::size_t c, std::size_t r, std::vector<double>& z) const {
    const auto first = z_.begin() + static_cast<std::ptrdiff_t>((r * columns_ + c) * stride_);
    z.assign(first, first + static_cast<std::ptrdiff_t>(stride_));
  }
  double at(std::size_t c, std::size_t r, int k) const {
    return z_[(r * columns_ + c) * stride_ + static_cast<std::size_t>(k)];
  }

 private:
  std::size_t columns_, stride_;
  std::vector<double> z_;
};

// True where boundary k at a node lies within the block and separates two units: a point on it
// counts as below it by one rule and above it by the other, so the two units differ exactly
// where it is a contact.
bool contactAt(const BlockSceneInputs& in, const std::vector<double>& z, int k, double ground) {
  if (!(z[k] >= in.Zbase && z[k] <= ground)) return false;
  const Classification units = classifyAmong(in.model, z, z[k]);
  return units.unitStrict != units.unitInclusive;
}

ScenePart boundarySurface(const BlockSceneInputs& in, const std::vector<int>& columns,
                          const std::vector<int>& rows, const NodeElevations& e, int k) {
  const DisplaySurface& d = in.display;
  Array2D<std::uint8_t> contact(0, static_cast<int>(columns.size()) - 1, 0,
                                static_cast<int>(rows.size()) - 1, 0);
  std::vector<double> z;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const int i = columns[c], j = rows[r];
      if (d.missing.at(i, j)) continue;
      e.at(c, r, z);
      contact(static_cast<int>(c), static_cast<int>(r)) = contactAt(in, z, k, d.dispZ(i, j));
    }
  }
  ScenePart part;
  part.kind = ScenePartKind::BoundarySurface;
  styleAsBoundary(part, in, k);
  MeshBuilder mesh(part.mesh);
  constexpr std::uint32_t kNone = 0xFFFFFFFF;
  Array2D<std::uint32_t> index(0, static_cast<int>(columns.size()) - 1, 0,
                               static_cast<int>(rows.size()) - 1, kNone);
  const auto corner = [&](std::size_t c, std::size_t r) {
    std::uint32_t& n = index(static_cast<int>(c), static_cast<int>(r));
    if (n == kNone) n = mesh.add({d.nodeX[columns[c]], d.nodeY[rows[r]], e.at(c, r, k)});
    return n;
  };
  for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
    for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
      const int ci = static_cast<int>(c), ri = static_cast<int>(r);
      if (!(contact(ci, ri) && contact(ci + 1, ri) && contact(ci + 1, ri + 1) &&
            contact(ci, ri + 1)) ||
          openCell(d, {columns[c], rows[r]}, {columns[c + 1], rows[r + 1]})) {
        continue;
      }
      mesh.quad({corner(c, r), corner(c + 1, r), corner(c + 1, r + 1), corner(c, r + 1)}, {0, 0, 1},
                FlatAxis::Z);
    }
  }
  return part;
}

}  // namespace

std::vector<ScenePart> boundarySurfaces(const BlockSceneInputs& in, const std::vector<int>& columns,
                                        const std::vector<int>& rows) {
  std::vector<ScenePart> parts;
  if (static_cast<int>(in.boundaryGrids.size()) < in.model.Nbd + 1) return parts;
  const NodeElevations e(in, columns, rows);
  for (int k = 1; k <= in.model.Nbd; ++k) {
    ScenePart part = boundarySurface(in, columns, rows, e, k);
    if (!part.mesh.triangles.empty()) parts.push_back(std::move(part));
  }
  return parts;
}

}  // namespace kalvenor
