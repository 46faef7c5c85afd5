#include "scene/wall_bands.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>

#include "evaluation/classification.h"
#include "evaluation/map_grid.h"
#include "scene/display_nodes.h"
#include "scene/mesh_builder.h"
#include "scene/part_style.h"

namespace kalvenor {
namespace {

// Where a wall's vertex lies, which is what it is merged by: a level of a column, the ground
// at a column, where the ground line meets a level between two columns, or a contact at a column.
enum class WallPlace : std::uint64_t { Level = 0, Ground = 1, GroundOnLevel = 2, Contact = 3 };

// A corner of a band in the wall's own terms: s from 0 at the first column to 1 at the second.
struct BandCorner {
  double s = 0;
  double z = 0;
  WallPlace place = WallPlace::Level;
  int level = 0;
};

struct WallColumns {
  int slot = 0;
  int h = 0, h2 = 0;           // the two columns
  double g = 0, g2 = 0;        // the ground at each
  ScenePoint foot{}, foot2{};  // the display nodes under them
};

// A column's runs of one unit from the base up, each up to the contact above it: the height
// where a boundary between its levels separates the two units, else the level itself; the
// highest run reaches the ground.
struct ColumnRuns {
  std::vector<std::int32_t> unit;
  std::vector<double> top;
  bool rising = true;  // every run has a height
};

class WallBuilder {
 public:
  explicit WallBuilder(const BlockSceneInputs& in)
      : in_(in),
        Nbd_(static_cast<int>(in.boundaryGrids.size()) >= in.model.Nbd + 1 ? in.model.Nbd : 0),
        boundaries_(in.boundaryGrids, in.display, Nbd_) {}
  void addWall(int slot, const std::vector<int>& columns);
  std::vector<ScenePart> parts();

 private:
  ColumnRuns runsOf(const VerticalGrid& wall, int slot, int h, double ground) const;
  bool addSlopedBands(const VerticalGrid& wall, const WallColumns& at);
  void addColumns(const VerticalGrid& wall, const WallColumns& at);
  void addBand(const VerticalGrid& wall, const WallColumns& at, std::array<int, 2> levels,
               std::int32_t unit);
  std::uint64_t keyOf(const WallColumns& at, const BandCorner& c) const;
  MeshBuilder& builderOf(std::int32_t unit);

  const BlockSceneInputs& in_;
  int Nbd_;
  BoundaryAtNodes boundaries_;
  std::map<std::int32_t, ScenePart> parts_;
  std::map<std::int32_t, std::unique_ptr<MeshBuilder>> builders_;
};

MeshBuilder& WallBuilder::builderOf(std::int32_t unit) {
  auto& builder = builders_[unit];
  if (!builder) {
    ScenePart& part = parts_[unit];
    part.kind = ScenePartKind::Wall;
    builder = std::make_unique<MeshBuilder>(part.mesh);
  }
  return *builder;
}

// The display node under column h of a wall.
std::array<int, 2> edgeNode(const DisplaySurface& d, int slot, int h) {
  switch (slot) {
    case kSouthWall:
      return {h, 1};
    case kNorthWall:
      return {h, d.Ny};
    case kWestWall:
      return {1, h};
    default:
      return {d.Nx, h};
  }
}

void WallBuilder::addWall(int slot, const std::vector<int>& columns) {
  const VerticalGrid& wall = in_.mapGrid.verticalGrids[slot];
  const DisplaySurface& d = in_.display;
  if (wall.empty()) return;
  for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
    const int h = columns[c], h2 = columns[c + 1];
    if (h2 > wall.nH) break;
    const auto [i, j] = edgeNode(d, slot, h);
    const auto [i2, j2] = edgeNode(d, slot, h2);
    if (openCell(d, {i, j}, {i2, j2})) continue;
    addColumns(wall, {slot,
                      h,
                      h2,
                      d.dispZ(i, j),
                      d.dispZ(i2, j2),
                      {d.nodeX[i], d.nodeY[j], 0},
                      {d.nodeX[i2], d.nodeY[j2], 0}});
  }
}

ColumnRuns WallBuilder::runsOf(const VerticalGrid& wall, int slot, int h, double ground) const {
  const auto [i, j] = edgeNode(in_.display, slot, h);
  std::vector<double> zb(Nbd_ + 1, 0.0);
  for (int k = 1; k <= Nbd_; ++k) zb[k] = boundaries_.at(k, i, j);
  // The first boundary from lo up to hi with `unit` under it and another unit over it.
  const auto contact = [&](double lo, double hi, std::int32_t unit) -> std::optional<int> {
    for (int k = 1; k <= Nbd_; ++k) {
      if (zb[k] < lo || zb[k] > hi) continue;
      const Classification across = classifyAmong(in_.model, zb, zb[k]);
      if (across.unitStrict == unit && across.unitInclusive != unit) return k;
    }
    return std::nullopt;
  };
  ColumnRuns runs;
  const auto add = [&](std::int32_t unit, double top) {
    runs.rising = runs.rising && top > (runs.top.empty() ? wall.z(1) : runs.top.back());
    runs.unit.push_back(unit);
    runs.top.push_back(top);
  };
  for (int v = 1; v <= wall.nV && wall.unit(h, v) != kAir; ++v) {
    const std::int16_t unit = wall.unit(h, v);
    if (v < wall.nV && wall.unit(h, v + 1) == unit) continue;
    if (v < wall.nV && wall.unit(h, v + 1) != kAir) {
      const auto k = contact(wall.z(v), wall.z(v + 1), unit);
      add(unit, k ? zb[*k] : wall.z(v + 1));
      continue;
    }
    // A contact between the highest level and the ground splits the highest run.
    if (const auto k = contact(wall.z(v), ground, unit); k && zb[*k] < ground) {
      add(unit, zb[*k]);
      add(classifyAmong(in_.model, zb, zb[*k]).unitInclusive, ground);
    } else {
      add(unit, ground);
    }
  }
  return runs;
}

// Where both columns hold the same runs, each run is one band joining its contacts on the two
// columns, so the contacts slope along the wall as the boundaries do.
bool WallBuilder::addSlopedBands(const VerticalGrid& wall, const WallColumns& at) {
  const ColumnRuns a = runsOf(wall, at.slot, at.h, at.g), b = runsOf(wall, at.slot, at.h2, at.g2);
  if (a.unit.empty() || a.unit != b.unit || !a.rising || !b.rising) return false;
  const bool alongX = at.slot == kSouthWall || at.slot == kNorthWall;
  const double out = at.slot == kSouthWall || at.slot == kWestWall ? -1 : 1;
  const std::size_t runs = a.unit.size();
  for (std::size_t n = 0; n < runs; ++n) {
    MeshBuilder& mesh = builderOf(a.unit[n]);
    const auto corner = [&](double s, std::size_t boundary) {
      const ColumnRuns& column = s == 0 ? a : b;
      BandCorner c{s, wall.z(1), WallPlace::Level, 1};
      if (boundary == runs) c = {s, s == 0 ? at.g : at.g2, WallPlace::Ground, 0};
      if (boundary > 0 && boundary < runs) {
        c = {s, column.top[boundary - 1], WallPlace::Contact, static_cast<int>(boundary)};
      }
      const ScenePoint& foot = s == 0 ? at.foot : at.foot2;
      return mesh.vertex(keyOf(at, c), {foot[0], foot[1], c.z});
    };
    mesh.quad({corner(0, n), corner(1, n), corner(1, n + 1), corner(0, n + 1)},
              alongX ? ScenePoint{0, out, 0} : ScenePoint{out, 0, 0},
              alongX ? FlatAxis::Y : FlatAxis::X);
  }
  return true;
}

// Elsewhere the runs of one unit up the first column; the highest reaches over the ground of
// both columns, so that cutting it along the ground closes the wall up to the terrain's edge.
void WallBuilder::addColumns(const VerticalGrid& wall, const WallColumns& at) {
  if (addSlopedBands(wall, at)) return;
  int first = 1;
  for (int v = 1; v <= wall.nV; ++v) {
    const std::int16_t unit = wall.unit(at.h, v);
    const bool ends = v == wall.nV || wall.unit(at.h, v + 1) != unit;
    if (!ends) continue;
    if (unit != kAir) {
      const bool highest = v == wall.nV || wall.unit(at.h, v + 1) == kAir;
      addBand(wall, at, {first, highest ? 0 : v + 1}, unit);
    }
    first = v + 1;
  }
}

std::uint64_t WallBuilder::keyOf(const WallColumns& at, const BandCorner& c) const {
  const int column = c.place == WallPlace::GroundOnLevel ? at.h : (c.s == 0 ? at.h : at.h2);
  const int level = c.place == WallPlace::Ground ? 0 : c.level;
  return (static_cast<std::uint64_t>(at.slot) << 58) | (static_cast<std::uint64_t>(c.place) << 56) |
         (static_cast<std::uint64_t>(column) << 24) | static_cast<std::uint64_t>(level);
}

// The band from level levels[0] up to level levels[1] (0: above the ground everywhere), cut to
// what lies under the ground line between the two columns. Points on the ground are computed
// from the ground's own values, so the wall's top meets the terrain's edge exactly.
void WallBuilder::addBand(const VerticalGrid& wall, const WallColumns& at,
                          std::array<int, 2> levels, std::int32_t unit) {
  const double top = levels[1] == 0 ? std::max(at.g, at.g2) : wall.z(levels[1]);
  const double bottom = wall.z(levels[0]);
  const std::array<BandCorner, 4> box{{{0, bottom, WallPlace::Level, levels[0]},
                                       {1, bottom, WallPlace::Level, levels[0]},
                                       {1, top, WallPlace::Level, levels[1]},
                                       {0, top, WallPlace::Level, levels[1]}}};
  const auto ground = [&](double s) { return s == 0 ? at.g : s == 1 ? at.g2 : 0.0; };
  std::vector<BandCorner> kept;
  for (int n = 0; n < 4; ++n) {
    BandCorner p = box[n];
    const BandCorner& q = box[(n + 1) % 4];
    const double fp = p.z - ground(p.s), fq = q.z - ground(q.s);
    if (fp == 0) p = {p.s, ground(p.s), WallPlace::Ground, 0};
    if (fp <= 0) kept.push_back(p);
    if ((fp < 0 && fq > 0) || (fp > 0 && fq < 0)) {
      if (p.s == q.s) {
        kept.push_back({p.s, ground(p.s), WallPlace::Ground, 0});
      } else {
        kept.push_back({(at.g - p.z) / (at.g - at.g2), p.z, WallPlace::GroundOnLevel, p.level});
      }
    }
  }
  if (kept.size() < 3) return;
  const auto& [x, y, z0] = at.foot;
  const double dx = at.foot2[0] - x, dy = at.foot2[1] - y;
  MeshBuilder& mesh = builderOf(unit);
  std::vector<std::uint32_t> corners;
  for (const BandCorner& c : kept) {
    const double px = c.s == 1 ? at.foot2[0] : x + dx * c.s;
    const double py = c.s == 1 ? at.foot2[1] : y + dy * c.s;
    corners.push_back(mesh.vertex(keyOf(at, c), {px, py, c.z}));
  }
  const bool alongX = at.slot == kSouthWall || at.slot == kNorthWall;
  const double out = at.slot == kSouthWall || at.slot == kWestWall ? -1 : 1;
  mesh.polygon(std::move(corners), alongX ? ScenePoint{0, out, 0} : ScenePoint{out, 0, 0},
               alongX ? FlatAxis::Y : FlatAxis::X);
}

std::vector<ScenePart> WallBuilder::parts() { return styledUnitParts(parts_, in_); }

}  // namespace

std::vector<ScenePart> wallBands(const BlockSceneInputs& in, const std::vector<int>& columns,
                                 const std::vector<int>& rows) {
  WallBuilder builder(in);
  builder.addWall(kSouthWall, columns);
  builder.addWall(kNorthWall, columns);
  builder.addWall(kWestWall, rows);
  builder.addWall(kEastWall, rows);
  return builder.parts();
}

}  // namespace kalvenor
