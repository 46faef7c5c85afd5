#include "scene/block_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>

#include "evaluation/boundary_interpolation.h"
#include "evaluation/classification.h"
#include "evaluation/grid_builds.h"
#include "evaluation/grid_fixtures.h"
#include "temp_file.h"
#include "test_paths.h"

namespace kalvenor {
namespace {

// The inputs of a block scene, built as the window builds them: a map build over grid files.
struct Block {
  LogicalModel model;
  std::shared_ptr<const DisplaySurface> display;
  MapBuild build;
  std::vector<PackedColor> unitColor;
  std::vector<PackedColor> boundaryColor;
  double Zbase = 0;

  Scene scene(int decimate = 1) const {
    return buildBlockScene({model, *display, build.grid, build.boundaryGrids, unitColor,
                            boundaryColor, Zbase, decimate});
  }
};

Block buildBlock(LogicalModel model, DisplaySurface display, const std::vector<std::string>& files,
                 double Zbase) {
  Block b{std::move(model),
          std::make_shared<const DisplaySurface>(std::move(display)),
          {},
          {},
          {},
          Zbase};
  b.build = buildMapGrid({b.model, files, b.display, Zbase});
  for (int u = 0; u <= b.model.unitCount(); ++u) b.unitColor.push_back(packRgb(40 * u, 200, 7));
  for (int k = 0; k <= b.model.Nbd; ++k) b.boundaryColor.push_back(packRgb(9, 9, 30 * k));
  return b;
}

// A 9 x 9 slope cut by one tilted boundary, its contact running across the cells' diagonals;
// `hole` takes out node (hole, hole), none for 0.
Block oneContact(int hole) {
  const auto ground = [](double x, double y) { return 100 + 0.3 * x + 0.1 * y + 0.002 * x * y; };
  DisplaySurface display = exactDisplaySurface(makeGrid(9, 9, 0, 0, 10, 10, ground));
  if (hole) {
    display.missing = MissingNodes(9, 9);
    display.missing.set(hole, hole);
  }
  static const TempFile boundary{gridFileText(makeGrid(9, 9, 0, 0, 10, 10, [&](double x, double y) {
    return ground(x, y) - 30 + 0.5 * x + 0.25 * y;
  }))};
  return buildBlock(twoLayers(), std::move(display), {"", boundary.path()}, 50);
}

// Two boundaries that cross under a 12 x 12 surface: unit 1 below boundary 1, unit 2 between
// them, unit 3 above both, so the two contacts meet inside the map.
Block twoCrossingContacts() {
  LogicalModel model = allocateModel(2);
  model.modelCell(1, 1) = -1;
  model.modelCell(2, 1) = 1;
  model.modelCell(2, 2) = -1;
  model.modelCell(3, 1) = 1;
  model.modelCell(3, 2) = 1;
  model.unitName = {"", "a", "b", "c"};
  model.boundaryName = {"", "s", "t"};
  buildUnitOfPattern(model);
  const auto ground = [](double x, double y) {
    return 200 + 0.05 * (x - 1000) - 0.04 * (y - 2000);
  };
  static const TempFile first{gridFileText(
      makeGrid(12, 12, 1000, 2000, 5, 5, [](double x, double) { return 160 + 1.1 * (x - 1000); }))};
  static const TempFile second{gridFileText(
      makeGrid(12, 12, 1000, 2000, 5, 5, [](double, double y) { return 150 + 1.3 * (y - 2000); }))};
  return buildBlock(std::move(model),
                    exactDisplaySurface(makeGrid(12, 12, 1000, 2000, 5, 5, ground)),
                    {"", first.path(), second.path()}, 100);
}

// The bundled example as the programs read it.
Block foldedBasin() {
  const std::string e = KALVENOR_EXAMPLES_DIR "/folded-basin/";
  LogicalModel model = readLogicalModel(e + "model.txt");
  buildUnitOfPattern(model);
  LoadJitter jitter;
  DisplaySurface display = makeDisplaySurface(readGridSurface(e + "topography.txt"), jitter);
  const double Zbase = defaultZbase(display.Zmin);
  return buildBlock(std::move(model), std::move(display),
                    {"", e + "limestone_top.txt", e + "sandstone_top.txt", e + "mudstone_top.txt",
                     e + "unconformity.txt"},
                    Zbase);
}

using Point = ScenePoint;

double planArea(const Point& a, const Point& b, const Point& c) {
  return ((b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1])) / 2;
}

double spaceArea(const Point& a, const Point& b, const Point& c) {
  const std::array<double, 3> u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
  const std::array<double, 3> v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
  return std::hypot(u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                    u[0] * v[1] - u[1] * v[0]) /
         2;
}

std::vector<const ScenePart*> partsOf(const Scene& scene, ScenePartKind kind) {
  std::vector<const ScenePart*> parts;
  for (const ScenePart& part : scene.parts) {
    if (part.kind == kind) parts.push_back(&part);
  }
  return parts;
}

// The plan area of the terrain of each unit.
std::map<int, double> terrainArea(const Scene& scene) {
  std::map<int, double> area;
  for (const ScenePart* part : partsOf(scene, ScenePartKind::Terrain)) {
    for (const auto& t : part->mesh.triangles) {
      const auto& V = part->mesh.vertices;
      area[part->unit] += std::abs(planArea(V[t[0]], V[t[1]], V[t[2]]));
    }
  }
  return area;
}

// The area of the ground classified to each unit, from points sampled n x n in every cell with
// four elevations, each classified at the ground's bilinear elevation there.
std::map<int, double> sampledArea(const Block& b, int n) {
  const DisplaySurface& d = *b.display;
  std::map<int, double> area;
  for (int i = 1; i < d.Nx; ++i) {
    for (int j = 1; j < d.Ny; ++j) {
      if (d.missing.touches(i, j, i + 1, j + 1)) continue;
      const double piece = std::abs(d.Dx * d.Dy) / (n * n);
      for (int a = 0; a < n; ++a) {
        for (int c = 0; c < n; ++c) {
          const double u = (a + 0.5) / n, v = (c + 0.5) / n;
          const double x = d.nodeX[i] + u * d.Dx, y = d.nodeY[j] + v * d.Dy;
          double z = (1 - u) * (1 - v) * d.dispZ(i, j) + u * (1 - v) * d.dispZ(i + 1, j) +
                     u * v * d.dispZ(i + 1, j + 1) + (1 - u) * v * d.dispZ(i, j + 1);
          area[classifyPoint(b.model, b.build.boundaryGrids, x, y, z).unitStrict] += piece;
        }
      }
    }
  }
  return area;
}

// An edge by the exact positions of its ends, the same whichever triangle walks it.
using Edge = std::array<Point, 2>;
Edge edgeOf(Point a, Point b) { return a < b ? Edge{a, b} : Edge{b, a}; }

std::map<Edge, int> terrainEdges(const Scene& scene) {
  std::map<Edge, int> uses;
  for (const ScenePart* part : partsOf(scene, ScenePartKind::Terrain)) {
    const auto& V = part->mesh.vertices;
    for (const auto& t : part->mesh.triangles) {
      for (int n = 0; n < 3; ++n) ++uses[edgeOf(V[t[n]], V[t[(n + 1) % 3]])];
    }
  }
  return uses;
}

// True when the edge runs along a grid line of the kept nodes with a cell that is left out (or
// beyond the block) on one side of it: the outer boundary of the terrain.
bool onOpenEdge(const Block& b, const Edge& e, int decimate) {
  const DisplaySurface& d = *b.display;
  std::vector<int> kept;
  const auto cellOpen = [&](int ci, int cj, const std::vector<int>& cols,
                            const std::vector<int>& rows) {
    if (ci < 0 || cj < 0 || ci + 1 >= int(cols.size()) || cj + 1 >= int(rows.size())) return true;
    for (int i = cols[ci]; i <= cols[ci + 1]; ++i) {
      for (int j = rows[cj]; j <= rows[cj + 1]; ++j) {
        if (d.missing.at(i, j)) return true;
      }
    }
    return false;
  };
  std::vector<int> cols, rows;
  for (int i = 1; i <= d.Nx; i += decimate) cols.push_back(i);
  if (cols.back() != d.Nx) cols.push_back(d.Nx);
  for (int j = 1; j <= d.Ny; j += decimate) rows.push_back(j);
  if (rows.back() != d.Ny) rows.push_back(d.Ny);
  const auto find = [](const std::vector<int>& nodes, const std::vector<double>& at, double v) {
    for (std::size_t n = 0; n < nodes.size(); ++n) {
      if (at[nodes[n]] == v) return int(n);
    }
    return -1;
  };
  const auto interval = [](const std::vector<int>& nodes, const std::vector<double>& at, double v) {
    for (std::size_t n = 0; n + 1 < nodes.size(); ++n) {
      if (v > at[nodes[n]] && v < at[nodes[n + 1]]) return int(n);
    }
    return -1;
  };
  const double mx = (e[0][0] + e[1][0]) / 2, my = (e[0][1] + e[1][1]) / 2;
  if (e[0][0] == e[1][0]) {
    const int c = find(cols, d.nodeX, e[0][0]), r = interval(rows, d.nodeY, my);
    return c >= 0 && r >= 0 && (cellOpen(c - 1, r, cols, rows) || cellOpen(c, r, cols, rows));
  }
  if (e[0][1] == e[1][1]) {
    const int r = find(rows, d.nodeY, e[0][1]), c = interval(cols, d.nodeX, mx);
    return c >= 0 && r >= 0 && (cellOpen(c, r - 1, cols, rows) || cellOpen(c, r, cols, rows));
  }
  return false;
}

struct Case {
  std::string name;
  std::function<Block()> make;
  int decimate = 1;
};

const std::vector<Case>& cases() {
  static const std::vector<Case> all{
      {"one contact", [] { return oneContact(0); }},
      {"one contact, a node without elevation", [] { return oneContact(5); }},
      {"one contact, a node without elevation between kept ones", [] { return oneContact(4); }, 2},
      {"two crossing contacts", twoCrossingContacts},
      {"two crossing contacts, every second node", twoCrossingContacts, 2},
      {"folded basin", foldedBasin},
      {"folded basin, every second node", foldedBasin, 2},
  };
  return all;
}

TEST(BlockScene, EachUnitsTerrainCoversTheGroundClassifiedToIt) {
  for (const Case& c : cases()) {
    if (c.decimate != 1) continue;
    SCOPED_TRACE(c.name);
    const Block b = c.make();
    const std::map<int, double> sampled = sampledArea(b, 16);
    const std::map<int, double> meshed = terrainArea(b.scene());
    double total = 0;
    for (const auto& [unit, area] : sampled) total += area;
    for (const auto& [unit, area] : sampled) {
      EXPECT_NEAR(meshed.count(unit) ? meshed.at(unit) : 0.0, area, 0.005 * area)
          << "unit " << unit << " (" << 100 * area / total << " % of the ground)";
    }
    for (const auto& [unit, area] : meshed) EXPECT_TRUE(sampled.count(unit)) << "unit " << unit;
  }
}

TEST(BlockScene, NoTriangleHasZeroArea) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    const Scene scene = c.make().scene(c.decimate);
    for (const ScenePart& part : scene.parts) {
      const auto& V = part.mesh.vertices;
      for (const auto& t : part.mesh.triangles) {
        ASSERT_GT(spaceArea(V[t[0]], V[t[1]], V[t[2]]), 0) << part.name;
        if (part.kind == ScenePartKind::Terrain) {
          ASSERT_GT(planArea(V[t[0]], V[t[1]], V[t[2]]), 0) << "faces down in " << part.name;
        }
      }
    }
  }
}

TEST(BlockScene, TheTerrainHasNoCracks) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    const Block b = c.make();
    int open = 0;
    for (const auto& [edge, uses] : terrainEdges(b.scene(c.decimate))) {
      ASSERT_LE(uses, 2);
      if (uses == 2) continue;
      ++open;
      ASSERT_TRUE(onOpenEdge(b, edge, c.decimate))
          << "an edge used once inside the terrain from (" << edge[0][0] << ", " << edge[0][1]
          << ") to (" << edge[1][0] << ", " << edge[1][1] << ")";
    }
    EXPECT_GT(open, 0);
  }
}

TEST(BlockScene, TheBoundingBoxIsTheBlock) {
  for (const Case& c : cases()) {
    if (c.name.find("without elevation") != std::string::npos) continue;
    SCOPED_TRACE(c.name);
    const Block b = c.make();
    const Scene scene = b.scene(c.decimate);
    Point lo{1e300, 1e300, 1e300}, hi{-1e300, -1e300, -1e300};
    for (const ScenePart& part : scene.parts) {
      for (const Point& p : part.mesh.vertices) {
        for (int a = 0; a < 3; ++a) {
          lo[a] = std::min(lo[a], p[a]);
          hi[a] = std::max(hi[a], p[a]);
        }
      }
    }
    const DisplaySurface& d = *b.display;
    EXPECT_EQ(lo, (Point{d.Xmin, d.Ymin, b.Zbase}));
    EXPECT_EQ(scene.origin, lo);
    EXPECT_EQ(hi[0], d.Xmax);
    EXPECT_EQ(hi[1], d.Ymax);
    if (c.decimate == 1) {
      EXPECT_EQ(hi[2], d.Zmax);
    }
    for (const ScenePartKind kind :
         {ScenePartKind::Terrain, ScenePartKind::Wall, ScenePartKind::Base}) {
      EXPECT_FALSE(partsOf(scene, kind).empty());
    }
  }
}

std::size_t triangleCount(const Scene& scene, ScenePartKind kind) {
  std::size_t count = 0;
  for (const ScenePart* part : partsOf(scene, kind)) count += part->mesh.triangles.size();
  return count;
}

double partsArea(const Scene& scene, ScenePartKind kind) {
  double area = 0;
  for (const ScenePart* part : partsOf(scene, kind)) {
    const auto& V = part->mesh.vertices;
    for (const auto& t : part->mesh.triangles) area += spaceArea(V[t[0]], V[t[1]], V[t[2]]);
  }
  return area;
}

// The walls stand from the base up to the ground of the block's edges, straight between two kept
// nodes: their area is that of those trapezoids, with no gap and no overlap.
double perimeterArea(const Block& b, int decimate) {
  const DisplaySurface& d = *b.display;
  double area = 0;
  const auto along = [&](int count, const std::function<std::array<int, 2>(int)>& node) {
    std::vector<int> kept;
    for (int n = 1; n <= count; n += decimate) kept.push_back(n);
    if (kept.back() != count) kept.push_back(count);
    for (std::size_t n = 0; n + 1 < kept.size(); ++n) {
      const auto [i, j] = node(kept[n]);
      const auto [i2, j2] = node(kept[n + 1]);
      if (d.missing.at(i, j) || d.missing.at(i2, j2)) continue;
      const double length = std::hypot(d.nodeX[i2] - d.nodeX[i], d.nodeY[j2] - d.nodeY[j]);
      area += length * (d.dispZ(i, j) + d.dispZ(i2, j2) - 2 * b.Zbase) / 2;
    }
  };
  along(d.Nx, [](int h) { return std::array{h, 1}; });
  along(d.Nx, [&](int h) { return std::array{h, d.Ny}; });
  along(d.Ny, [](int h) { return std::array{1, h}; });
  along(d.Ny, [&](int h) { return std::array{d.Nx, h}; });
  return area;
}

TEST(BlockScene, TheWallsAndTheBaseCloseTheBlock) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    const Block b = c.make();
    const Scene scene = b.scene(c.decimate);
    const double walls = perimeterArea(b, c.decimate);
    EXPECT_NEAR(partsArea(scene, ScenePartKind::Wall), walls, 1e-9 * walls);
    double terrain = 0;
    for (const auto& [unit, area] : terrainArea(scene)) terrain += area;
    EXPECT_NEAR(partsArea(scene, ScenePartKind::Base), terrain, 1e-9 * terrain);
  }
}

// The normal of a triangle as its vertices turn, counter-clockwise seen from where it points.
Point normalOf(const Point& a, const Point& b, const Point& c) {
  const Point u{b[0] - a[0], b[1] - a[1], b[2] - a[2]}, v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
  return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

TEST(BlockScene, TheWallsAndTheBaseFaceOutOfTheBlock) {
  const Block b = foldedBasin();
  const DisplaySurface& d = *b.display;
  const Point middle{(d.Xmin + d.Xmax) / 2, (d.Ymin + d.Ymax) / 2, (b.Zbase + d.Zmin) / 2};
  const Scene scene = b.scene();
  for (const ScenePartKind kind : {ScenePartKind::Wall, ScenePartKind::Base}) {
    for (const ScenePart* part : partsOf(scene, kind)) {
      const auto& V = part->mesh.vertices;
      for (const auto& t : part->mesh.triangles) {
        const Point n = normalOf(V[t[0]], V[t[1]], V[t[2]]);
        double outward = 0;
        for (int a = 0; a < 3; ++a) outward += n[a] * (V[t[0]][a] - middle[a]);
        ASSERT_GT(outward, 0) << part->name;
      }
    }
  }
}

TEST(BlockScene, TheContactsOnTheWallsLieOnTheBoundary) {
  const Block b = oneContact(0);
  const Scene scene = b.scene();
  const DisplaySurface& d = *b.display;
  const GridSurface& boundary = b.build.boundaryGrids[1];
  std::map<Point, int> below;  // the wall vertices of the unit under the boundary
  for (const ScenePart* part : partsOf(scene, ScenePartKind::Wall)) {
    for (const Point& p : part->mesh.vertices) below[p] += part->unit == 1;
  }
  int contacts = 0;
  for (int i = 1; i <= d.Nx; ++i) {
    for (const int j : {1, d.Ny}) {
      const double zb = boundary.z(i, j);
      if (zb <= b.Zbase || zb >= d.dispZ(i, j)) continue;
      ++contacts;
      const Point contact{d.nodeX[i], d.nodeY[j], zb};
      EXPECT_GT(below[contact], 0) << "node (" << i << ", " << j << ")";
    }
  }
  EXPECT_GT(contacts, 4);
}

TEST(BlockScene, AWallRunOfOneUnitIsOneBand) {
  const Block b = oneContact(0);
  const Scene scene = b.scene();
  const std::size_t intervals = 4 * 8;
  // Two units a column: a quad below, and the band cut along the ground above it.
  EXPECT_LE(triangleCount(scene, ScenePartKind::Wall), 5 * intervals);
  EXPECT_EQ(partsOf(scene, ScenePartKind::Wall).size(), 2u);
}

TEST(BlockScene, EverySecondNodeKeepsTheEdgesWithFewerTriangles) {
  const Block b = foldedBasin();
  const Scene full = b.scene(1), light = b.scene(2);
  const double ratio = double(triangleCount(light, ScenePartKind::Terrain)) /
                       double(triangleCount(full, ScenePartKind::Terrain));
  EXPECT_LT(ratio, 0.5);
  const std::map<int, double> fullArea = terrainArea(full), lightArea = terrainArea(light);
  double fullTotal = 0, lightTotal = 0;
  for (const auto& [unit, area] : fullArea) fullTotal += area;
  for (const auto& [unit, area] : lightArea) lightTotal += area;
  EXPECT_NEAR(lightTotal, fullTotal, 1e-6 * fullTotal);
}

TEST(BlockScene, ANodeWithoutElevationLeavesAHoleInTheTerrainAndTheBase) {
  struct Hole {
    int node;
    int decimate;
    double area;  // of the cells left out
  };
  for (const Hole& hole : {Hole{5, 1, 4 * 10 * 10}, Hole{4, 2, 20 * 20}, Hole{5, 2, 4 * 20 * 20}}) {
    SCOPED_TRACE("node " + std::to_string(hole.node) + ", every " + std::to_string(hole.decimate) +
                 " nodes");
    const Scene whole = oneContact(0).scene(hole.decimate);
    const Scene holed = oneContact(hole.node).scene(hole.decimate);
    double wholeArea = 0, holedArea = 0;
    for (const auto& [unit, area] : terrainArea(whole)) wholeArea += area;
    for (const auto& [unit, area] : terrainArea(holed)) holedArea += area;
    EXPECT_NEAR(wholeArea - holedArea, hole.area, 1e-6);
    EXPECT_NEAR(partsArea(whole, ScenePartKind::Base) - partsArea(holed, ScenePartKind::Base),
                hole.area, 1e-6);
  }
}

// Where a boundary reaches the ground on a cell edge, its surface ends there on a vertex of
// the terrain's contact, and nowhere does it rise above the ground or sink below the base.
TEST(BlockScene, ABoundarySurfaceEndsOnTheTerrainsContact) {
  for (const auto& [name, make] : std::vector<std::pair<std::string, std::function<Block()>>>{
           {"one contact", [] { return oneContact(0); }},
           {"two crossing contacts", twoCrossingContacts}}) {
    SCOPED_TRACE(name);
    const Block b = make();
    const Scene scene = b.scene();
    const DisplaySurface& d = *b.display;
    std::vector<Point> terrain;
    for (const ScenePart* part : partsOf(scene, ScenePartKind::Terrain)) {
      terrain.insert(terrain.end(), part->mesh.vertices.begin(), part->mesh.vertices.end());
    }
    // The ground along the cell edge a point lies on, or NaN inside a cell.
    const auto groundOnEdge = [&](const Point& p) {
      for (int i = 1; i < d.Nx; ++i) {
        for (int j = 1; j < d.Ny; ++j) {
          const double x0 = d.nodeX[i], x1 = d.nodeX[i + 1], y0 = d.nodeY[j], y1 = d.nodeY[j + 1];
          if (p[1] == y0 && p[0] >= x0 && p[0] <= x1) {
            const double t = (p[0] - x0) / (x1 - x0);
            return d.dispZ(i, j) + t * (d.dispZ(i + 1, j) - d.dispZ(i, j));
          }
          if (p[0] == x0 && p[1] >= y0 && p[1] <= y1) {
            const double t = (p[1] - y0) / (y1 - y0);
            return d.dispZ(i, j) + t * (d.dispZ(i, j + 1) - d.dispZ(i, j));
          }
        }
      }
      return std::numeric_limits<double>::quiet_NaN();
    };
    int onGround = 0;
    for (const ScenePart* part : partsOf(scene, ScenePartKind::BoundarySurface)) {
      for (const Point& p : part->mesh.vertices) {
        EXPECT_GE(p[2], b.Zbase - 1e-9);
        const double ground = groundOnEdge(p);
        if (std::isnan(ground)) continue;
        EXPECT_LE(p[2], ground + 1e-9);
        if (std::abs(p[2] - ground) > 1e-9) continue;
        ++onGround;
        EXPECT_TRUE(std::any_of(terrain.begin(), terrain.end(),
                                [&](const Point& q) {
                                  return std::hypot(q[0] - p[0], q[1] - p[1], q[2] - p[2]) < 1e-6;
                                }))
            << "(" << p[0] << ", " << p[1] << ", " << p[2] << ")";
      }
    }
    EXPECT_GT(onGround, 4);
  }
}

TEST(BlockScene, PartsCarryTheirUnitsAndBoundaries) {
  const Block b = twoCrossingContacts();
  const Scene scene = b.scene();
  ASSERT_EQ(scene.units.size(), 3u);
  EXPECT_EQ(scene.units[1].name, "b");
  EXPECT_EQ(scene.units[1].color, b.unitColor[2]);
  for (const ScenePart& part : scene.parts) {
    if (part.kind == ScenePartKind::BoundarySurface) {
      EXPECT_EQ(part.name, b.model.boundaryName[part.boundary]);
      EXPECT_EQ(part.color, b.boundaryColor[part.boundary]);
      for (const Point& p : part.mesh.vertices) EXPECT_GE(p[2], b.Zbase);
    } else {
      EXPECT_EQ(part.name, b.model.unitName[part.unit]);
      EXPECT_EQ(part.color, b.unitColor[part.unit]);
    }
  }
  EXPECT_EQ(partsOf(scene, ScenePartKind::BoundarySurface).size(), 2u);
}

}  // namespace
}  // namespace kalvenor
