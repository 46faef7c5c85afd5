#include "evaluation/thickness_maps.h"

#include <algorithm>
#include <vector>

#include "evaluation/unit_column.h"
#include "model/parallel_for.h"

namespace kalvenor {
namespace {

// value(levels) at every node with an elevation, kNoValue at the others, a column of nodes at a
// time on the context's threads; each column gets its own value function from makeValue().
template <typename MakeValue>
Array2D<double> nodeGrid(const ModelColumns& columns, const RenderContext& context,
                         const MakeValue& makeValue) {
  const DisplaySurface& d = columns.display;
  const NodeLevels nodes(columns);
  Array2D<double> grid(1, d.Nx, 1, d.Ny, kNoValue);
  parallelFor(1, d.Nx,
              [&](int i) {
                std::vector<double> levels(columnSurfaces(columns.model.Nbd) + 1);
                auto value = makeValue();
                for (int j = 1; j <= d.Ny; ++j) {
                  if (!nodes.known(i, j)) continue;
                  nodes.fill(i, j, levels);
                  grid(i, j) = value(levels);
                }
              },
              {.threads = context.threads, .chunk = 8});
  return grid;
}

}  // namespace

Array2D<double> unitThicknessGrid(const ModelColumns& columns, int unit,
                                  const RenderContext& context) {
  return nodeGrid(columns, context, [&] {
    return [unit, column = UnitColumn(columns.model),
            perUnit = std::vector<double>(columns.model.unitCount() + 1)](
               const std::vector<double>& levels) mutable {
      std::fill(perUnit.begin(), perUnit.end(), 0.0);
      column.build(levels);
      column.addThicknesses(levels, 1.0, perUnit);
      return perUnit[unit];
    };
  });
}

Array2D<double> boundaryDepthGrid(const ModelColumns& columns, int k,
                                  const RenderContext& context) {
  const int ground = groundSurface(columns.model.Nbd);
  return nodeGrid(columns, context, [&] {
    return [&](const std::vector<double>& levels) {
      const double depth = levels[ground] - levels[k];
      return depth > 0 && isContact(columns.model, levels, k) ? depth : kNoValue;
    };
  });
}

}  // namespace kalvenor
