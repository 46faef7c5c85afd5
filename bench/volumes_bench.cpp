// Timing of the units' volumes on the largest display grid the viewer takes: bench/large_grid.py's
// case of 4096 x 4096 nodes 5 m apart, five boundaries of the same size held as 32-bit reals (as
// read from its GeoTIFFs) and six stacked units; and of one unit's thickness grid there.
#include <benchmark/benchmark.h>

#include <cmath>

#include "evaluation/thickness_maps.h"
#include "evaluation/unit_volumes.h"
#include "model/parallel_for.h"

namespace kalvenor::bench {
namespace {

constexpr int kNodes = 4096;
constexpr double kSpacing = 5;
constexpr int kBoundaries = 5;

GridSurface floatGrid(const auto& z) {
  GridSurface grid;
  grid.header() = {kNodes, kNodes, 0, 0, kSpacing, kSpacing};
  Array2D<float> values(1, kNodes, 1, kNodes);
  for (int i = 1; i <= kNodes; ++i) {
    for (int j = 1; j <= kNodes; ++j) {
      values(i, j) = static_cast<float>(z((i - 1) * kSpacing, (j - 1) * kSpacing));
    }
  }
  grid.z = std::move(values);
  return grid;
}

// The surfaces of large_grid.py.
struct LargeCase {
  LargeCase() {
    for (int k = 1; k <= kBoundaries; ++k) {
      grids.push_back(floatGrid([k](double x, double) {
        return 100.0 * k + 40 * std::sin((x + k * 700) / (1500 + 200 * k)) + 0.002 * x;
      }));
    }
    LoadJitter jitter;
    display =
        makeDisplaySurface(floatGrid([](double x, double y) {
                             return 600 + 80 * std::sin(x / 2500) * std::cos(y / 1900) + 0.004 * y;
                           }),
                           jitter);
    for (int unit = 1; unit <= model.unitCount(); ++unit) {
      for (int k = 1; k <= kBoundaries; ++k) model.modelCell(unit, k) = k < unit ? 1 : -1;
    }
    buildUnitOfPattern(model);
  }
  ModelColumns columns() const { return {model, grids, display, 0.0}; }

  LogicalModel model = allocateModel(kBoundaries);
  std::vector<GridSurface> grids = std::vector<GridSurface>(1);
  DisplaySurface display;
};

LargeCase& largeCase() {
  static LargeCase made;
  return made;
}

void BM_UnitVolumes(benchmark::State& state) {
  const LargeCase& c = largeCase();
  const RenderContext context{static_cast<int>(state.range(0))};
  for (auto _ : state) {
    const std::vector<UnitVolume> volumes = unitVolumes(c.columns(), nullptr, context);
    benchmark::DoNotOptimize(volumes.front().volume);
  }
}
BENCHMARK(BM_UnitVolumes)->Arg(1)->Arg(availableThreads())->Unit(benchmark::kMillisecond);

void BM_ThicknessGrid(benchmark::State& state) {
  const LargeCase& c = largeCase();
  const RenderContext context{availableThreads()};
  for (auto _ : state) {
    const Array2D<double> grid = unitThicknessGrid(c.columns(), 3, context);
    benchmark::DoNotOptimize(grid(1, 1));
  }
}
BENCHMARK(BM_ThicknessGrid)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvenor::bench

BENCHMARK_MAIN();
