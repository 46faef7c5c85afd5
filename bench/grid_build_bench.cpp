// Timing of the two grid builds on square display grids with five boundary surfaces.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_scene.h"

namespace kalvenor::bench {
namespace {

void BM_MapBuild(benchmark::State& state) {
  Scene& s = scene(static_cast<int>(state.range(0)));
  const auto display = std::make_shared<const DisplaySurface>(s.display);
  for (auto _ : state) {
    MapBuild build = buildMapGrid({s.model, s.files, display, 0.0});
    benchmark::DoNotOptimize(build.grid.mapUnit(1, 1));
  }
}
BENCHMARK(BM_MapBuild)->Arg(128)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_SectionBuild(benchmark::State& state) {
  Scene& s = scene(static_cast<int>(state.range(0)));
  const SectionLine diagonal{0, 0, true, kExtent, kExtent, 0};
  const auto display = std::make_shared<const DisplaySurface>(s.display);
  for (auto _ : state) {
    SectionBuild build = buildSectionGrid({s.model, s.files, display, 0.0}, diagonal);
    benchmark::DoNotOptimize(build.section.Nxy);
  }
}
BENCHMARK(BM_SectionBuild)->Arg(1024)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvenor::bench

BENCHMARK_MAIN();
