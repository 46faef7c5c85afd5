#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "render/canvas.h"

namespace kalvenor {

// The canvas points of the nodes of a wall or a section, projected when first asked for. The
// cells are drawn a pair of neighbouring columns at a time, so two columns are kept; most nodes
// of a dense section are never asked for, as runs of cells of one unit are filled at once.
class ColumnNodes {
 public:
  using ProjectNode = std::function<MaybePoint(int h, int v)>;

  ColumnNodes(int nV, ProjectNode project) : project_(std::move(project)) {
    for (Column& column : columns_) {
      column.h.assign(nV + 1, 0);
      column.point.resize(nV + 1);
    }
  }

  // Node (h, v), h >= 1 and 1 <= v <= nV. A copy: asking for another node may overwrite it.
  MaybePoint operator()(int h, int v) {
    Column& column = columns_[h & 1];
    if (column.h[v] != h) {
      column.point[v] = project_(h, v);
      column.h[v] = h;
    }
    return column.point[v];
  }

 private:
  // Which column each level's point was projected for: neighbouring columns differ in parity.
  struct Column {
    std::vector<std::int32_t> h;
    std::vector<MaybePoint> point;
  };

  ProjectNode project_;
  std::array<Column, 2> columns_;
};

}  // namespace kalvenor
