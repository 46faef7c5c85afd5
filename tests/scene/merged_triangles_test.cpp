#include "scene/merged_triangles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <string>

namespace kalvenor {
namespace {

struct Merged {
  std::vector<std::array<GridNode, 3>> triangles;
  std::vector<std::int32_t> region;
};

Merged merge(const MergeGrid& grid, double tolerance) {
  Merged m;
  mergedTriangles(grid, tolerance, [&m](const std::array<GridNode, 3>& t, std::int32_t region) {
    m.triangles.push_back(t);
    m.region.push_back(region);
  });
  return m;
}

MergeGrid makeGrid(std::size_t columns, std::size_t rows,
                   const std::function<double(double, double)>& z,
                   const std::function<std::int32_t(std::size_t, std::size_t)>& region) {
  MergeGrid g{columns, rows, {}, {}};
  for (std::size_t r = 0; r < rows; ++r) {
    for (std::size_t c = 0; c < columns; ++c) g.z.push_back(z(double(c), double(r)));
  }
  for (std::size_t r = 0; r + 1 < rows; ++r) {
    for (std::size_t c = 0; c + 1 < columns; ++c) g.cellRegion.push_back(region(c, r));
  }
  return g;
}

double area(const std::array<GridNode, 3>& t) {
  const auto x = [&](int n) { return double(t[n][0]); };
  const auto y = [&](int n) { return double(t[n][1]); };
  return std::abs((x(1) - x(0)) * (y(2) - y(0)) - (x(2) - x(0)) * (y(1) - y(0))) / 2;
}

// Every node on a triangle's side between its ends is a T-junction: a crack where the triangle
// beside that side has a corner.
bool hasNodeInsideASide(const Merged& m, const std::set<GridNode>& corners) {
  for (const auto& t : m.triangles) {
    for (int s = 0; s < 3; ++s) {
      const GridNode& a = t[s];
      const GridNode& b = t[(s + 1) % 3];
      const long dx = long(b[0]) - long(a[0]), dy = long(b[1]) - long(a[1]);
      const long steps = std::max(std::abs(dx), std::abs(dy));
      for (long n = 1; n < steps; ++n) {
        const GridNode p{std::size_t(long(a[0]) + dx / steps * n),
                         std::size_t(long(a[1]) + dy / steps * n)};
        if (corners.contains(p)) return true;
      }
    }
  }
  return false;
}

TEST(MergedTriangles, CoverEachRegionExactlyAndMeetEdgeToEdge) {
  struct Case {
    std::string name;
    std::size_t columns, rows;
    std::function<double(double, double)> z;
    std::function<std::int32_t(std::size_t, std::size_t)> region;
  };
  const auto plane = [](double x, double y) { return 3 + 0.2 * x - 0.1 * y; };
  const auto hills = [](double x, double y) { return 40 * std::sin(x / 30) * std::cos(y / 20); };
  const std::vector<Case> cases{
      {"a plane, one region, over two tiles", 300, 41, plane, [](auto, auto) { return 0; }},
      {"hills in two regions beside cells left to the caller and a hole", 90, 70, hills,
       [](std::size_t c, std::size_t r) -> std::int32_t {
         if (c == 40) return kOwnCell;
         if (r > 20 && r < 30 && c > 60 && c < 70) return kEmptyCell;
         return c < 40 ? 1 : 2;
       }},
      {"a chequer of regions", 33, 17, plane,
       [](std::size_t c, std::size_t r) { return std::int32_t((c / 5 + r / 3) % 2); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MergeGrid grid = makeGrid(c.columns, c.rows, c.z, c.region);
    const Merged m = merge(grid, 0.01);
    std::map<std::int32_t, double> cells, covered;
    std::set<GridNode> corners;
    for (std::size_t r = 0; r + 1 < c.rows; ++r) {
      for (std::size_t k = 0; k + 1 < c.columns; ++k) {
        const std::int32_t region = grid.cellRegion[r * (c.columns - 1) + k];
        cells[region] += 1;
        if (region != kOwnCell) continue;
        for (const GridNode& n :
             {GridNode{k, r}, GridNode{k + 1, r}, GridNode{k, r + 1}, GridNode{k + 1, r + 1}}) {
          corners.insert(n);
        }
      }
    }
    for (std::size_t t = 0; t < m.triangles.size(); ++t) {
      covered[m.region[t]] += area(m.triangles[t]);
      for (const GridNode& n : m.triangles[t]) corners.insert(n);
    }
    for (const auto& [region, count] : cells) {
      if (region >= 0) {
        EXPECT_DOUBLE_EQ(covered[region], count) << "region " << region;
      }
    }
    EXPECT_FALSE(covered.contains(kOwnCell) || covered.contains(kEmptyCell));
    EXPECT_FALSE(hasNodeInsideASide(m, corners));
    EXPECT_LT(m.triangles.size(), 2 * (c.columns - 1) * (c.rows - 1));
  }
}

TEST(MergedTriangles, KeepANodeOffThePlaneByMoreThanTheTolerance) {
  struct Case {
    double bump;
    bool kept;
  };
  for (const Case& c : {Case{0.5, true}, Case{0.005, false}}) {
    SCOPED_TRACE("a bump of " + std::to_string(c.bump));
    const MergeGrid grid = makeGrid(
        65, 65, [&](double x, double y) { return x == 20 && y == 36 ? c.bump : 0.0; },
        [](auto, auto) { return 0; });
    bool kept = false;
    for (const auto& t : merge(grid, 0.01).triangles) {
      for (const GridNode& n : t) kept = kept || (n == GridNode{20, 36});
    }
    EXPECT_EQ(kept, c.kept);
  }
}

}  // namespace
}  // namespace kalvenor
