#include "scene/unit_bands.h"

#include <algorithm>
#include <array>
#include <optional>

#include "evaluation/classification.h"

namespace kalvenor {

MeshBuilder& UnitMeshes::of(std::int32_t unit) {
  auto& builder = builders_[unit];
  if (!builder) {
    ScenePart& part = parts_[unit];
    part.kind = kind_;
    builder = std::make_unique<MeshBuilder>(part.mesh);
  }
  return *builder;
}

namespace {

// Where a panel's vertex lies, which is what it is merged by: a level of a column, the ground
// at a column, where the ground line meets a level between two columns, or a contact at a column.
enum class PanelPlace : std::uint64_t { Level = 0, Ground = 1, GroundOnLevel = 2, Contact = 3 };

// A corner of a band in the panel's own terms: s from 0 at the first column to 1 at the second.
struct BandCorner {
  double s = 0;
  double z = 0;
  PanelPlace place = PanelPlace::Level;
  int level = 0;
};

// Two neighbouring columns of a panel and what stands under them.
struct ColumnPair {
  int h = 0, h2 = 0;
  PanelColumn a, b;
};

// A column's runs of one unit from the base up, each up to the contact above it: the height
// where a boundary between its levels separates the two units, else the level itself; the
// highest run reaches the ground.
struct ColumnRuns {
  std::vector<std::int32_t> unit;
  std::vector<double> top;
  bool rising = true;  // every run has a height
};

class PanelBands {
 public:
  PanelBands(const LogicalModel& model, const BandPanel& panel, UnitMeshes& meshes)
      : model_(model), panel_(panel), grid_(panel.grid), meshes_(meshes) {}
  void addColumns(const ColumnPair& at);

 private:
  ColumnRuns runsOf(const PanelColumn& column, int h) const;
  bool addSlopedBands(const ColumnPair& at);
  void addBand(const ColumnPair& at, std::array<int, 2> levels, std::int32_t unit);
  std::uint64_t keyOf(const ColumnPair& at, const BandCorner& c) const;

  const LogicalModel& model_;
  const BandPanel& panel_;
  const VerticalGrid& grid_;
  UnitMeshes& meshes_;
};

ColumnRuns PanelBands::runsOf(const PanelColumn& column, int h) const {
  const std::vector<double>& zb = column.boundaryZ;
  const int Nbd = static_cast<int>(zb.size()) - 1;
  // The first boundary from lo up to hi with `unit` under it and another unit over it.
  const auto contact = [&](double lo, double hi, std::int32_t unit) -> std::optional<int> {
    for (int k = 1; k <= Nbd; ++k) {
      if (zb[k] < lo || zb[k] > hi) continue;
      const Classification across = classifyAmong(model_, zb, zb[k]);
      if (across.unitStrict == unit && across.unitInclusive != unit) return k;
    }
    return std::nullopt;
  };
  ColumnRuns runs;
  const auto add = [&](std::int32_t unit, double top) {
    runs.rising = runs.rising && top > (runs.top.empty() ? grid_.z(1) : runs.top.back());
    runs.unit.push_back(unit);
    runs.top.push_back(top);
  };
  for (int v = 1; v <= grid_.nV && grid_.unit(h, v) != kAir; ++v) {
    const std::int16_t unit = grid_.unit(h, v);
    if (v < grid_.nV && grid_.unit(h, v + 1) == unit) continue;
    if (v < grid_.nV && grid_.unit(h, v + 1) != kAir) {
      const auto k = contact(grid_.z(v), grid_.z(v + 1), unit);
      add(unit, k ? zb[*k] : grid_.z(v + 1));
      continue;
    }
    // A contact between the highest level and the ground splits the highest run.
    if (const auto k = contact(grid_.z(v), column.ground, unit); k && zb[*k] < column.ground) {
      add(unit, zb[*k]);
      add(classifyAmong(model_, zb, zb[*k]).unitInclusive, column.ground);
    } else {
      add(unit, column.ground);
    }
  }
  return runs;
}

// Where both columns hold the same runs, each run is one band joining its contacts on the two
// columns, so the contacts slope along the panel as the boundaries do.
bool PanelBands::addSlopedBands(const ColumnPair& at) {
  const ColumnRuns a = runsOf(at.a, at.h), b = runsOf(at.b, at.h2);
  if (a.unit.empty() || a.unit != b.unit || !a.rising || !b.rising) return false;
  const std::size_t runs = a.unit.size();
  for (std::size_t n = 0; n < runs; ++n) {
    MeshBuilder& mesh = meshes_.of(a.unit[n]);
    const auto corner = [&](double s, std::size_t boundary) {
      const ColumnRuns& column = s == 0 ? a : b;
      BandCorner c{s, grid_.z(1), PanelPlace::Level, 1};
      if (boundary == runs) c = {s, s == 0 ? at.a.ground : at.b.ground, PanelPlace::Ground, 0};
      if (boundary > 0 && boundary < runs) {
        c = {s, column.top[boundary - 1], PanelPlace::Contact, static_cast<int>(boundary)};
      }
      const ScenePoint& foot = s == 0 ? at.a.foot : at.b.foot;
      return mesh.vertex(keyOf(at, c), {foot[0], foot[1], c.z});
    };
    mesh.quad({corner(0, n), corner(1, n), corner(1, n + 1), corner(0, n + 1)}, panel_.facing,
              panel_.flat);
  }
  return true;
}

// Elsewhere the runs of one unit up the first column; the highest reaches over the ground of
// both columns, so that cutting it along the ground closes the panel up to the terrain's edge.
void PanelBands::addColumns(const ColumnPair& at) {
  if (addSlopedBands(at)) return;
  int first = 1;
  for (int v = 1; v <= grid_.nV; ++v) {
    const std::int16_t unit = grid_.unit(at.h, v);
    const bool ends = v == grid_.nV || grid_.unit(at.h, v + 1) != unit;
    if (!ends) continue;
    if (unit != kAir) {
      const bool highest = v == grid_.nV || grid_.unit(at.h, v + 1) == kAir;
      addBand(at, {first, highest ? 0 : v + 1}, unit);
    }
    first = v + 1;
  }
}

std::uint64_t PanelBands::keyOf(const ColumnPair& at, const BandCorner& c) const {
  const int column = c.place == PanelPlace::GroundOnLevel ? at.h : (c.s == 0 ? at.h : at.h2);
  const int level = c.place == PanelPlace::Ground ? 0 : c.level;
  return (static_cast<std::uint64_t>(panel_.panel) << 58) |
         (static_cast<std::uint64_t>(c.place) << 56) | (static_cast<std::uint64_t>(column) << 24) |
         static_cast<std::uint64_t>(level);
}

// The band from level levels[0] up to level levels[1] (0: above the ground everywhere), cut to
// what lies under the ground line between the two columns. Points on the ground are computed
// from the ground's own values, so the panel's top meets the terrain's edge exactly.
void PanelBands::addBand(const ColumnPair& at, std::array<int, 2> levels, std::int32_t unit) {
  const double g = at.a.ground, g2 = at.b.ground;
  const double top = levels[1] == 0 ? std::max(g, g2) : grid_.z(levels[1]);
  const double bottom = grid_.z(levels[0]);
  const std::array<BandCorner, 4> box{{{0, bottom, PanelPlace::Level, levels[0]},
                                       {1, bottom, PanelPlace::Level, levels[0]},
                                       {1, top, PanelPlace::Level, levels[1]},
                                       {0, top, PanelPlace::Level, levels[1]}}};
  const auto ground = [&](double s) { return s == 0 ? g : s == 1 ? g2 : 0.0; };
  std::vector<BandCorner> kept;
  for (int n = 0; n < 4; ++n) {
    BandCorner p = box[n];
    const BandCorner& q = box[(n + 1) % 4];
    const double fp = p.z - ground(p.s), fq = q.z - ground(q.s);
    if (fp == 0) p = {p.s, ground(p.s), PanelPlace::Ground, 0};
    if (fp <= 0) kept.push_back(p);
    if ((fp < 0 && fq > 0) || (fp > 0 && fq < 0)) {
      if (p.s == q.s) {
        kept.push_back({p.s, ground(p.s), PanelPlace::Ground, 0});
      } else {
        kept.push_back({(g - p.z) / (g - g2), p.z, PanelPlace::GroundOnLevel, p.level});
      }
    }
  }
  if (kept.size() < 3) return;
  const auto& [x, y, z0] = at.a.foot;
  const double dx = at.b.foot[0] - x, dy = at.b.foot[1] - y;
  MeshBuilder& mesh = meshes_.of(unit);
  std::vector<std::uint32_t> corners;
  for (const BandCorner& c : kept) {
    const double px = c.s == 1 ? at.b.foot[0] : x + dx * c.s;
    const double py = c.s == 1 ? at.b.foot[1] : y + dy * c.s;
    corners.push_back(mesh.vertex(keyOf(at, c), {px, py, c.z}));
  }
  mesh.polygon(std::move(corners), panel_.facing, panel_.flat);
}

}  // namespace

void addUnitBands(const LogicalModel& model, const BandPanel& panel,
                  const std::vector<int>& columns, UnitMeshes& meshes) {
  if (panel.grid.empty()) return;
  PanelBands bands(model, panel, meshes);
  for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
    const int h = columns[c], h2 = columns[c + 1];
    if (h2 > panel.grid.nH) break;
    if (panel.open(h, h2)) continue;
    bands.addColumns({h, h2, panel.column(h), panel.column(h2)});
  }
}

}  // namespace kalvenor
