#include "scene/merged_triangles.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>

namespace kalvenor {
namespace {

// The coverage of a triangle made of cells of more than one kind, or of cells the caller makes.
constexpr std::int32_t kMixedCells = -3;
constexpr std::size_t kLargestTile = 256;
constexpr float kKeep = std::numeric_limits<float>::infinity();

// The triangles of a tile of size x size cells as a binary tree stored level by level, the two
// halves of the tile first: each triangle by the two ends of its long side (ax, ay, bx, by); its
// right angle lies to the left of a -> b. Made once per tile size.
const std::vector<std::uint16_t>& triangleTree(std::size_t size) {
  static std::mutex guard;
  static std::map<std::size_t, std::vector<std::uint16_t>> trees;
  const std::scoped_lock lock(guard);
  auto& tree = trees[size];
  if (!tree.empty()) return tree;
  const auto s = static_cast<std::uint16_t>(size);
  const std::size_t count = 2 * size * size - 2;
  tree.resize(4 * count);
  for (std::size_t t = 0; t < count; ++t) {
    std::size_t id = t + 2;
    std::uint16_t ax = 0, ay = 0, bx = 0, by = 0, cx = 0, cy = 0;
    if (id & 1) {
      bx = by = cx = s;
    } else {
      ax = ay = cy = s;
    }
    while ((id >>= 1) > 1) {
      const auto mx = static_cast<std::uint16_t>((ax + bx) / 2);
      const auto my = static_cast<std::uint16_t>((ay + by) / 2);
      if (id & 1) {
        bx = ax, by = ay, ax = cx, ay = cy;
      } else {
        ax = bx, ay = by, bx = cx, by = cy;
      }
      cx = mx, cy = my;
    }
    tree[4 * t] = ax, tree[4 * t + 1] = ay, tree[4 * t + 2] = bx, tree[4 * t + 3] = by;
  }
  return tree;
}

std::int32_t together(std::int32_t a, std::int32_t b) { return a == b ? a : kMixedCells; }

// One tile: its nodes' heights and its cells' regions copied from the grid, nodes and cells
// beyond the grid empty.
class Tile {
 public:
  Tile(const MergeGrid& grid, std::size_t size, GridNode from);
  void measure();
  void emit(double tolerance,
            const std::function<void(const std::array<GridNode, 3>&, std::int32_t)>& out) const;

 private:
  struct Corner {
    std::size_t x = 0, y = 0;
  };
  double z(std::size_t x, std::size_t y) const { return z_[y * (size_ + 1) + x]; }
  float& error(std::size_t x, std::size_t y) { return error_[y * (size_ + 1) + x]; }
  std::int32_t cellOf(const Corner& a, const Corner& b, const Corner& c) const;
  void split(const std::array<Corner, 3>& t, double tolerance,
             const std::function<void(const std::array<GridNode, 3>&, std::int32_t)>& out) const;

  std::size_t size_;
  GridNode from_;
  std::vector<double> z_;
  std::vector<std::int32_t> region_;
  std::vector<float> error_;
};

Tile::Tile(const MergeGrid& grid, std::size_t size, GridNode from)
    : size_(size),
      from_(from),
      z_((size + 1) * (size + 1), 0.0),
      region_(size * size, kEmptyCell),
      error_((size + 1) * (size + 1), 0.0F) {
  for (std::size_t y = 0; y <= size; ++y) {
    for (std::size_t x = 0; x <= size; ++x) {
      const std::size_t c = from[0] + x, r = from[1] + y;
      if (c >= grid.columns || r >= grid.rows) continue;
      const double h = grid.z[r * grid.columns + c];
      z_[y * (size + 1) + x] = std::isfinite(h) ? h : 0.0;
      // The tile's edges and the grid's keep every node, so that tiles and walls meet them.
      if (x == 0 || y == 0 || x == size || y == size || c + 1 == grid.columns ||
          r + 1 == grid.rows) {
        error(x, y) = kKeep;
      }
      if (x < size && y < size && c + 1 < grid.columns && r + 1 < grid.rows) {
        const std::int32_t region = grid.cellRegion[r * (grid.columns - 1) + c];
        region_[y * size + x] = region == kOwnCell ? kMixedCells : region;
      }
    }
  }
}

std::int32_t Tile::cellOf(const Corner& a, const Corner& b, const Corner& c) const {
  return region_[std::min({a.y, b.y, c.y}) * size_ + std::min({a.x, b.x, c.x})];
}

// Smallest triangles first: each long side's middle node gets the largest error of the
// triangles beside it and of their children, so that a node kept by one triangle is kept by
// every triangle it borders and no edge ends in the middle of another.
void Tile::measure() {
  const std::vector<std::uint16_t>& tree = triangleTree(size_);
  const std::size_t count = tree.size() / 4, parents = count - size_ * size_;
  std::vector<std::int32_t> coverage(count);
  for (std::size_t t = count; t-- > 0;) {
    const Corner a{tree[4 * t], tree[4 * t + 1]}, b{tree[4 * t + 2], tree[4 * t + 3]};
    const Corner m{(a.x + b.x) / 2, (a.y + b.y) / 2};
    const Corner c{m.x + m.y - a.y, m.y + a.x - m.x};
    const Corner left{(a.x + c.x) / 2, (a.y + c.y) / 2}, right{(b.x + c.x) / 2, (b.y + c.y) / 2};
    if (t >= parents) {
      coverage[t] = together(cellOf(c, a, m), cellOf(b, c, m));
    } else {
      const std::size_t depthBit = std::bit_floor(t + 2);
      coverage[t] = together(coverage[t + 2 * depthBit], coverage[t + depthBit]);
    }
    float& e = error(m.x, m.y);
    if (coverage[t] == kMixedCells) {
      e = kKeep;
    } else if (coverage[t] != kEmptyCell) {
      const double off = std::abs(z(m.x, m.y) - (z(a.x, a.y) + z(b.x, b.y)) / 2);
      e = std::max(e, static_cast<float>(off));
      if (t < parents) e = std::max({e, error(left.x, left.y), error(right.x, right.y)});
    }
  }
}

void Tile::split(
    const std::array<Corner, 3>& t, double tolerance,
    const std::function<void(const std::array<GridNode, 3>&, std::int32_t)>& out) const {
  const auto& [a, b, c] = t;
  const Corner m{(a.x + b.x) / 2, (a.y + b.y) / 2};
  const bool smallest =
      (a.x > c.x ? a.x - c.x : c.x - a.x) + (a.y > c.y ? a.y - c.y : c.y - a.y) <= 1;
  if (!smallest && error_[m.y * (size_ + 1) + m.x] > tolerance) {
    split({c, a, m}, tolerance, out);
    split({b, c, m}, tolerance, out);
    return;
  }
  const std::int32_t region = region_[((a.y + b.y + c.y) / 3) * size_ + (a.x + b.x + c.x) / 3];
  if (region < 0) return;
  const auto node = [this](const Corner& p) { return GridNode{from_[0] + p.x, from_[1] + p.y}; };
  out({node(a), node(b), node(c)}, region);
}

void Tile::emit(
    double tolerance,
    const std::function<void(const std::array<GridNode, 3>&, std::int32_t)>& out) const {
  const std::size_t s = size_;
  split({Corner{0, 0}, Corner{s, s}, Corner{s, 0}}, tolerance, out);
  split({Corner{s, s}, Corner{0, 0}, Corner{0, s}}, tolerance, out);
}

}  // namespace

void mergedTriangles(
    const MergeGrid& grid, double tolerance,
    const std::function<void(const std::array<GridNode, 3>&, std::int32_t)>& emit) {
  if (grid.columns < 2 || grid.rows < 2) return;
  const std::size_t cells = std::max(grid.columns, grid.rows) - 1;
  const std::size_t size = std::min(kLargestTile, std::bit_ceil(std::max<std::size_t>(cells, 2)));
  for (std::size_t r = 0; r + 1 < grid.rows; r += size) {
    for (std::size_t c = 0; c + 1 < grid.columns; c += size) {
      Tile tile(grid, size, {c, r});
      tile.measure();
      tile.emit(tolerance, emit);
    }
  }
}

}  // namespace kalvenor
