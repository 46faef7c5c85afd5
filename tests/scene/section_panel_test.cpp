#include "scene/section_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "evaluation/boundary_interpolation.h"
#include "evaluation/classification.h"
#include "evaluation/grid_builds.h"
#include "evaluation/grid_fixtures.h"
#include "temp_file.h"
#include "test_paths.h"

namespace kalvenor {
namespace {

// A section built as the window builds it, with what its panel is made from.
struct Section {
  LogicalModel model;
  std::shared_ptr<const DisplaySurface> display;
  SectionBuild build;
  std::vector<PackedColor> unitColor;
  double Zbase = 0;
  ScenePoint viewer{};  // roughly toward the side the section's picture is seen from

  std::vector<ScenePart> panel() const {
    static const MapGrid noMap{};
    static const std::vector<PackedColor> noColours;
    const BlockSceneInputs in{model,     *display,  noMap, build.boundaryGrids,
                              unitColor, noColours, Zbase, 1};
    return sectionPanel(in, {build.grid, build.section, build.sectionProfile});
  }
};

Section buildSection(LogicalModel model, DisplaySurface display,
                     const std::vector<std::string>& files, double Zbase, SectionLine line) {
  Section s{std::move(model),
            std::make_shared<const DisplaySurface>(std::move(display)),
            {},
            {},
            Zbase,
            {}};
  s.build = buildSectionGrid({s.model, files, s.display, Zbase}, line);
  for (int u = 0; u <= s.model.unitCount(); ++u) s.unitColor.push_back(packRgb(40 * u, 90, 7));
  return s;
}

// A 9 x 9 plane slope over 80 m cut by one tilted boundary, whose contact reaches the ground
// in the east; `hole` takes out node (hole, hole), none for 0.
Section tiltedContact(SectionLine line, ScenePoint viewer, int hole = 0) {
  const auto ground = [](double x, double y) { return 100 + 0.3 * x + 0.1 * y; };
  DisplaySurface display = exactDisplaySurface(makeGrid(9, 9, 0, 0, 10, 10, ground));
  if (hole) {
    display.missing = MissingNodes(9, 9);
    display.missing.set(hole, hole);
  }
  static const TempFile boundary{gridFileText(makeGrid(9, 9, 0, 0, 10, 10, [&](double x, double y) {
    return ground(x, y) - 30 + 0.5 * x + 0.25 * y;
  }))};
  Section s = buildSection(twoLayers(), std::move(display), {"", boundary.path()}, 50, line);
  s.viewer = viewer;
  return s;
}

// The bundled example along the line of its section picture.
Section foldedBasin() {
  const std::string e = KALVENOR_EXAMPLES_DIR "/folded-basin/";
  LogicalModel model = readLogicalModel(e + "model.txt");
  buildUnitOfPattern(model);
  LoadJitter jitter;
  DisplaySurface display = makeDisplaySurface(readGridSurface(e + "topography.txt"), jitter);
  const double Zbase = defaultZbase(display.Zmin);
  Section s = buildSection(std::move(model), std::move(display),
                           {"", e + "limestone_top.txt", e + "sandstone_top.txt",
                            e + "mudstone_top.txt", e + "unconformity.txt"},
                           Zbase, {30200, 41000, true, 34800, 43500, 0});
  s.viewer = {0.5, -1, 0};
  return s;
}

struct Case {
  std::string name;
  std::function<Section()> make;
};

const std::vector<Case>& cases() {
  static const std::vector<Case> all{
      {"due east",
       [] {
         return tiltedContact({0, 35, true, 80, 35, 0}, {0, -1, 0});
       }},
      {"north-east",
       [] {
         return tiltedContact({5, 5, true, 75, 70, 0}, {1, -1, 0});
       }},
      {"north-west, the eastern end first",
       [] {
         return tiltedContact({75, 10, true, 10, 75, 0}, {-1, -1, 0});
       }},
      {"due north",
       [] {
         return tiltedContact({45, 0, true, 45, 80, 0}, {-1, 0, 0});
       }},
      {"across a node without elevation",
       [] {
         return tiltedContact({0, 40, true, 80, 40, 0}, {0, -1, 0}, 5);
       }},
      {"folded basin", foldedBasin},
  };
  return all;
}

// The panel's own terms: distance along the clipped line from its start, and off it.
struct Along {
  double t = 0;
  double off = 0;
};

Along alongLine(const SectionGrid& s, const ScenePoint& p) {
  const double dx = s.Xend - s.Xstart, dy = s.Yend - s.Ystart, L = std::hypot(dx, dy);
  const double px = p[0] - s.Xstart, py = p[1] - s.Ystart;
  return {(px * dx + py * dy) / L, (px * dy - py * dx) / L};
}

double lineLength(const SectionGrid& s) { return std::hypot(s.Xend - s.Xstart, s.Yend - s.Ystart); }

// The column span a distance along the line lies in, from 1.
int spanAt(const Section& s, double t) {
  const double step = lineLength(s.build.section) / (s.build.grid.nH - 1);
  return std::clamp(static_cast<int>(std::floor(t / step)) + 1, 1, s.build.grid.nH - 1);
}

// The ground line of the panel: straight between the ground under each two columns.
double groundAt(const Section& s, double t) {
  const double step = lineLength(s.build.section) / (s.build.grid.nH - 1);
  const int h = spanAt(s, t);
  const double u = t / step - (h - 1);
  const std::vector<double>& z = s.build.section.sectionSurfZ;
  return (1 - u) * z[h] + u * z[h + 1];
}

bool spanOpen(const Section& s, int h) {
  return !s.build.section.groundKnown[h] || !s.build.section.groundKnown[h + 1];
}

ScenePoint normalOf(const TriangleMesh& mesh, const std::array<std::uint32_t, 3>& t) {
  const ScenePoint &a = mesh.vertices[t[0]], &b = mesh.vertices[t[1]], &c = mesh.vertices[t[2]];
  const ScenePoint u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
  const ScenePoint v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
  return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

TEST(SectionPanel, StandsInTheLinesPlaneOverItsClippedLengthFromTheBaseToTheGround) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    const Section s = c.make();
    const SectionGrid& line = s.build.section;
    const double L = lineLength(line), tolerance = 1e-9 * (L + std::abs(line.Xstart));
    double lo = L, hi = 0, bottom = 1e300;
    for (const ScenePart& part : s.panel()) {
      EXPECT_EQ(part.kind, ScenePartKind::Section);
      for (const ScenePoint& p : part.mesh.vertices) {
        const Along a = alongLine(line, p);
        ASSERT_NEAR(a.off, 0, tolerance);
        ASSERT_GE(a.t, -tolerance);
        ASSERT_LE(a.t, L + tolerance);
        ASSERT_LE(p[2], groundAt(s, a.t) + 1e-9 * std::abs(p[2])) << "above the ground at " << a.t;
        lo = std::min(lo, a.t);
        hi = std::max(hi, a.t);
        bottom = std::min(bottom, p[2]);
      }
      for (const auto& t : part.mesh.triangles) {
        const auto& V = part.mesh.vertices;
        const double middle =
            (alongLine(line, V[t[0]]).t + alongLine(line, V[t[1]]).t + alongLine(line, V[t[2]]).t) /
            3;
        ASSERT_FALSE(spanOpen(s, spanAt(s, middle))) << "a triangle over no ground at " << middle;
      }
    }
    EXPECT_NEAR(lo, 0, tolerance);
    EXPECT_NEAR(hi, L, tolerance);
    EXPECT_EQ(bottom, s.Zbase);
  }
}

// The area of each unit under the panel's ground line, from points sampled n x n in every span
// with ground at both columns, each classified where it lies.
std::map<int, double> sampledArea(const Section& s, int n) {
  const SectionGrid& line = s.build.section;
  const VerticalGrid& g = s.build.grid;
  const double step = lineLength(line) / (g.nH - 1);
  std::map<int, double> area;
  for (int h = 1; h < g.nH; ++h) {
    if (spanOpen(s, h)) continue;
    for (int a = 0; a < n; ++a) {
      const double u = (a + 0.5) / n, t = (h - 1 + u) * step;
      const double x = g.x(h) + u * g.dxH, y = g.y(h) + u * g.dyH, top = groundAt(s, t);
      const double piece = step * (top - s.Zbase) / (n * n);
      for (int b = 0; b < n; ++b) {
        double z = s.Zbase + (b + 0.5) / n * (top - s.Zbase);
        area[classifyPoint(s.model, s.build.boundaryGrids, x, y, z).unitStrict] += piece;
      }
    }
  }
  return area;
}

double meshArea(const TriangleMesh& mesh) {
  double area = 0;
  for (const auto& t : mesh.triangles) {
    const ScenePoint n = normalOf(mesh, t);
    area += std::hypot(n[0], n[1], n[2]) / 2;
  }
  return area;
}

// The spans where a contact meets the ground between the two columns: the highest unit differs.
int groundContacts(const Section& s) {
  const VerticalGrid& g = s.build.grid;
  const auto highest = [&](int h) {
    std::int16_t unit = kAir;
    for (int v = 1; v <= g.nV && g.unit(h, v) != kAir; ++v) unit = g.unit(h, v);
    return unit;
  };
  int count = 0;
  for (int h = 1; h < g.nH; ++h) count += !spanOpen(s, h) && highest(h) != highest(h + 1);
  return count;
}

// In a span where a contact meets the ground the two columns' runs differ, so the bands there
// step at the section's levels rather than follow the contact: that moves at most one span
// times one level step between two units for each such span. Beyond it, the sampling's own
// error stays under 0.5 %; a unit left out or a band counted twice is far beyond both.
TEST(SectionPanel, HasOnePartPerUnitOfTheSectionCoveringWhatIsClassifiedToIt) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    const Section s = c.make();
    const VerticalGrid& g = s.build.grid;
    std::set<int> seen;
    for (int h = 1; h <= g.nH; ++h) {
      for (int v = 1; v <= g.nV; ++v) {
        if (g.unit(h, v) != kAir) seen.insert(g.unit(h, v));
      }
    }
    const std::map<int, double> sampled = sampledArea(s, 40);
    const double stepped = groundContacts(s) * lineLength(s.build.section) / (g.nH - 1) * g.dzV;
    std::set<int> parts;
    for (const ScenePart& part : s.panel()) {
      EXPECT_TRUE(parts.insert(part.unit).second) << "unit " << part.unit << " twice";
      EXPECT_EQ(part.name, s.model.unitName[part.unit]);
      EXPECT_EQ(part.color, s.unitColor[part.unit]);
      const double area = sampled.count(part.unit) ? sampled.at(part.unit) : 0.0;
      EXPECT_NEAR(meshArea(part.mesh), area, 0.005 * area + stepped) << "unit " << part.unit;
    }
    EXPECT_EQ(parts, seen);
    EXPECT_GE(parts.size(), 2u);
  }
}

TEST(SectionPanel, FacesTheSideItsPictureIsSeenFrom) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    const Section s = c.make();
    for (const ScenePart& part : s.panel()) {
      for (const auto& t : part.mesh.triangles) {
        const ScenePoint n = normalOf(part.mesh, t);
        const double length = std::hypot(n[0], n[1], n[2]);
        ASSERT_GT(length, 0);
        ASSERT_NEAR(n[2] / length, 0, 1e-9);
        ASSERT_GT(n[0] * s.viewer[0] + n[1] * s.viewer[1], 0) << "unit " << part.unit;
      }
    }
  }
}

// A section bent from east to north stands on both legs: each triangle upright in the plane of
// one leg, each leg covered along its whole length.
TEST(SectionPanel, ABentSectionStandsOnEveryLegOfItsLine) {
  SectionLine line{0, 0, true, 0, 0, 0, {{0, 35}, {40, 35}, {40, 80}}};
  const Section s = tiltedContact(line, {0, -1, 0});
  std::array<std::array<double, 2>, 2> extent{{{1e300, -1e300}, {1e300, -1e300}}};
  for (const ScenePart& part : s.panel()) {
    for (const auto& t : part.mesh.triangles) {
      const ScenePoint &a = part.mesh.vertices[t[0]], &b = part.mesh.vertices[t[1]],
                       &c = part.mesh.vertices[t[2]];
      const bool east = a[1] == 35 && b[1] == 35 && c[1] == 35;
      const bool north = a[0] == 40 && b[0] == 40 && c[0] == 40;
      ASSERT_TRUE(east || north) << "a triangle off both legs in " << part.name;
      auto& [lo, hi] = extent[east ? 0 : 1];
      for (const ScenePoint* p : {&a, &b, &c}) {
        lo = std::min(lo, (*p)[east ? 0 : 1]);
        hi = std::max(hi, (*p)[east ? 0 : 1]);
      }
    }
  }
  EXPECT_DOUBLE_EQ(extent[0][1], 40);  // the east leg from where it enters the area to the bend
  EXPECT_DOUBLE_EQ(extent[1][0], 35);  // the north leg from the bend to the area's edge
  EXPECT_DOUBLE_EQ(extent[1][1], 80);
}

}  // namespace
}  // namespace kalvenor
