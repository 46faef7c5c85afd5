// Timing of the boreholes drawn over a picture: 1,000 holes 600 m deep with 20 intervals each,
// a fifth of them deviated, as strip logs on the section corner to corner across the scene and
// as lines through the block, each into a 1024 x 1024 picture. What is timed is what drawing the
// holes adds to a picture already there.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_scene.h"
#include "canvas/image_canvas.h"
#include "evaluation/angles.h"
#include "model/borehole_path.h"
#include "render/borehole_block.h"
#include "render/borehole_section.h"

namespace kalvenor::bench {
namespace {

constexpr int kHoles = 1000;
constexpr int kIntervals = 20;
constexpr double kDepth = 600.0;

const std::vector<PackedColor> kUnitColors = {kBlack,
                                              packRgb(214, 120, 120),
                                              packRgb(236, 200, 110),
                                              packRgb(140, 170, 110),
                                              packRgb(120, 150, 200),
                                              packRgb(200, 160, 220),
                                              packRgb(245, 240, 190)};

// Hole n at (x, y), logged in the scene's units in turn (every seventh interval in one the model
// does not have); every fifth hole dips 60 degrees toward the north-east.
Borehole benchHole(int n, double x, double y) {
  Borehole hole;
  hole.id = "BH" + std::to_string(n);
  hole.x = x;
  hole.y = y;
  hole.z = terrain(x, y);
  hole.depth = kDepth;
  const double length = kDepth / kIntervals;
  for (int k = 0; k < kIntervals; ++k) {
    const auto unit = static_cast<std::int16_t>(k % 7 == 6 ? 0 : 1 + (k + n) % (kBoundaries + 1));
    hole.intervals.push_back({k * length, (k + 1) * length, "U" + std::to_string(unit), unit});
  }
  std::vector<SurveyStation> survey;
  if (n % 5 == 0) survey = {{0, 45, -90}, {kDepth, 45, -60}};
  hole.path = holePath(hole, survey);
  return hole;
}

// Holes along the scene's diagonal, at most 150 m either side of it.
BoreholeSet holesAlongDiagonal() {
  BoreholeSet set;
  for (int n = 0; n < kHoles; ++n) {
    const double along = (n + 0.5) * kExtent / kHoles, off = 150.0 * std::sin(n * 1.7);
    set.holes.push_back(benchHole(n, along + off / std::sqrt(2.0), along - off / std::sqrt(2.0)));
  }
  return set;
}

// Holes on a 40 x 25 lattice over the scene.
BoreholeSet holesOverTheBlock() {
  BoreholeSet set;
  for (int n = 0; n < kHoles; ++n)
    set.holes.push_back(benchHole(n, (n % 40 + 0.5) * kExtent / 40, (n / 40 + 0.5) * kExtent / 25));
  return set;
}

void BM_SectionStripLogs(benchmark::State& state) {
  Scene& scene = bench::scene(1024);
  static const BoreholeSet holes = holesAlongDiagonal();
  SectionGrid section;
  section.Xend = kExtent;
  section.Yend = kExtent;
  section.Fai = 45 * kDegree;
  ViewSettings view{.Alpha = 135, .Gamma = 0, .Ve = 1, .Sca = 1.4};
  const Projection projection(view, {1024, 1024}, scene.display, 0.0);
  const SectionBoreholes in{holes, section, 200.0, 0.0, kUnitColors, kBlack};
  ImageCanvas canvas(QSize(1024, 1024));
  for (auto _ : state) {
    canvas.clear();
    drawSectionBoreholes(canvas, projection, in);
    benchmark::DoNotOptimize(canvas.image().bits());
  }
}
BENCHMARK(BM_SectionStripLogs)->Unit(benchmark::kMillisecond);

// Argument 1 writes the ids beside the collars.
void BM_BlockHoles(benchmark::State& state) {
  Scene& scene = bench::scene(512);
  static const BoreholeSet holes = holesOverTheBlock();
  ViewSettings view{.Alpha = 225, .Gamma = 30, .Ve = 2, .Sca = 1.2};
  const Projection projection(view, {1024, 1024}, scene.display, 0.0);
  const BlockBoreholes in{holes, scene.display, 0.0, kUnitColors, kBlack, state.range(0) == 1};
  ImageCanvas canvas(QSize(1024, 1024));
  for (auto _ : state) {
    canvas.clear();
    drawBlockBoreholes(canvas, projection, in);
    benchmark::DoNotOptimize(canvas.image().bits());
  }
}
BENCHMARK(BM_BlockHoles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvenor::bench
