#include "scene/boundary_surfaces.h"

#include "evaluation/classification.h"
#include "model/array2d.h"
#include "scene/display_nodes.h"
#include "scene/mesh_builder.h"
#include "scene/part_style.h"

namespace kalvenor {
namespace {

// The boundaries' elevations at every kept node, (c, r) in the kept columns and rows.
struct NodeElevations {
  int columns = 0;
  std::vector<std::vector<double>> at;  // per node: boundaries 1..Nbd
  const std::vector<double>& operator()(std::size_t c, std::size_t r) const {
    return at[r * static_cast<std::size_t>(columns) + c];
  }
};

NodeElevations boundariesAtNodes(const BlockSceneInputs& in, const std::vector<int>& columns,
                                 const std::vector<int>& rows) {
  const BoundaryAtNodes boundaries(in.boundaryGrids, in.display, in.model.Nbd);
  NodeElevations e{static_cast<int>(columns.size()), {}};
  for (const int j : rows) {
    for (const int i : columns) {
      std::vector<double> z(in.model.Nbd + 1, 0.0);
      for (int k = 1; k <= in.model.Nbd; ++k) z[k] = boundaries.at(k, i, j);
      e.at.push_back(std::move(z));
    }
  }
  return e;
}

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
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const int i = columns[c], j = rows[r];
      contact(static_cast<int>(c), static_cast<int>(r)) =
          !d.missing.at(i, j) && contactAt(in, e(c, r), k, d.dispZ(i, j));
    }
  }
  ScenePart part;
  part.kind = ScenePartKind::BoundarySurface;
  styleAsBoundary(part, in, k);
  MeshBuilder mesh(part.mesh);
  const auto corner = [&](std::size_t c, std::size_t r) {
    return mesh.vertex(nodeKey(d, columns[c], rows[r]),
                       {d.nodeX[columns[c]], d.nodeY[rows[r]], e(c, r)[k]});
  };
  for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
    for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
      const int ci = static_cast<int>(c), ri = static_cast<int>(r);
      if (!(contact(ci, ri) && contact(ci + 1, ri) && contact(ci + 1, ri + 1) &&
            contact(ci, ri + 1))) {
        continue;
      }
      mesh.polygon({corner(c, r), corner(c + 1, r), corner(c + 1, r + 1), corner(c, r + 1)},
                   {0, 0, 1}, FlatAxis::Z);
    }
  }
  return part;
}

}  // namespace

std::vector<ScenePart> boundarySurfaces(const BlockSceneInputs& in, const std::vector<int>& columns,
                                        const std::vector<int>& rows) {
  std::vector<ScenePart> parts;
  if (static_cast<int>(in.boundaryGrids.size()) < in.model.Nbd + 1) return parts;
  const NodeElevations e = boundariesAtNodes(in, columns, rows);
  for (int k = 1; k <= in.model.Nbd; ++k) {
    ScenePart part = boundarySurface(in, columns, rows, e, k);
    if (!part.mesh.triangles.empty()) parts.push_back(std::move(part));
  }
  return parts;
}

}  // namespace kalvenor
