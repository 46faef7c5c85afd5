// A fence diagram in the block: the 1024 x 1024 display grid of the benchmark model with walls
// and boundary lines drawn through the session into a 1024 x 1024 picture, without a fence, with
// five panels under the terrain, and with the block cut away in front of them; and the build of
// the five panels on a map grid already built.
#include <benchmark/benchmark.h>

#include "bench_scene.h"
#include "canvas/image_canvas.h"
#include "session/session.h"

namespace kalvenor::bench {
namespace {

constexpr int kCanvas = 1024;

// Five lines across the block: two straight, crossing, and three bent.
std::vector<FenceLine> fiveLines() {
  const double e = kExtent;
  return {{"A", {{0, 0.3 * e}, {e, 0.45 * e}}},
          {"B", {{0.4 * e, 0}, {0.55 * e, e}}},
          {"C", {{0, 0.8 * e}, {0.3 * e, 0.6 * e}, {0.7 * e, 0.75 * e}, {e, 0.9 * e}}},
          {"D", {{0.1 * e, 0}, {0.2 * e, 0.4 * e}, {0.15 * e, e}}},
          {"E", {{0.7 * e, 0}, {0.85 * e, 0.35 * e}, {e, 0.5 * e}}}};
}

struct Block {
  Block() {
    Scene& scene = bench::scene(1024);
    session.enterModel(scene.model, true);
    for (int k = 1; k <= kBoundaries; ++k) session.setBoundaryFile(k, scene.files[k]);
    for (int unit = 1; unit <= kBoundaries + 1; ++unit) {
      session.setUnitColor(unit, packRgb(40 * unit, 200 - 25 * unit, 120));
    }
    session.loadDisplaySurface((scene.folder / "surface.txt").string());
    session.setZbase(0);
    session.setBoundaryLines(true);
    session.setContacts(Contacts::Smooth);
    session.buildMapGrid();
    session.applyView({.Alpha = 200, .Gamma = 35, .Sca = 1.2, .Ve = 3}, kCanvas, kCanvas);
  }
  Session session;
};

Block& block() {
  static Block b;
  return b;
}

// Argument 0: no fence; 1: five panels under the terrain; 2: the block cut away in front of them.
void BM_FenceMap(benchmark::State& state) {
  Session& session = block().session;
  session.setFence(state.range(0) == 0 ? std::vector<FenceLine>{} : fiveLines());
  session.setFenceCut(state.range(0) == 2);
  ImageCanvas canvas(QSize(kCanvas, kCanvas));
  for (auto _ : state) {
    session.drawGeoMap(canvas);
    benchmark::DoNotOptimize(canvas.image().bits());
  }
}
BENCHMARK(BM_FenceMap)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FencePanelsBuild(benchmark::State& state) {
  Session& session = block().session;
  for (auto _ : state) {
    session.setFence({});
    session.setFence(fiveLines());
  }
}
BENCHMARK(BM_FencePanelsBuild)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kalvenor::bench
