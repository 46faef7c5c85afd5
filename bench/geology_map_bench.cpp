// Timing of the geological map as vectors on square display grids with five boundary surfaces,
// the map grid's surface built once beforehand: the map alone, and the map with its GeoPackage
// (made in memory as the run makes it), the file's size beside them. The benchmark's ground lies
// above every boundary, which would leave one unit: the display surface is lowered 500 m so that
// it cuts all five, with six units and their contacts on the map.
#include <benchmark/benchmark.h>

#include <memory>
#include <utility>

#include "bench_scene.h"
#include "exports/geology_map_file.h"
#include "model/parallel_for.h"
#include "scene/geology_map_build.h"

namespace kalvenor::bench {
namespace {

// The benchmark's display surface, 500 m lower.
std::shared_ptr<const DisplaySurface> loweredSurface(const DisplaySurface& surface) {
  DisplaySurface lowered = surface;
  for (int i = 1; i <= lowered.Nx; ++i) {
    for (int j = 1; j <= lowered.Ny; ++j) lowered.dispZ(i, j) -= 500;
  }
  setupDisplayGrid(lowered);
  return std::make_shared<const DisplaySurface>(std::move(lowered));
}

void BM_GeologyMap(benchmark::State& state) {
  Scene& s = scene(static_cast<int>(state.range(0)));
  const auto display = loweredSurface(s.display);
  const MapBuild build =
      buildMapGrid({s.model, s.files, display, -500.0}, {}, MapParts::SurfaceOnly);
  const std::vector<PackedColor> unitColor(kBoundaries + 2, 0), boundaryColor(kBoundaries + 1, 0);
  const bool written = state.range(1) != 0;
  std::size_t bytes = 0, polygons = 0, lines = 0;
  for (auto _ : state) {
    const GeologyMap map = buildGeologyMap({s.model, *display, build.grid, build.boundaryGrids,
                                            unitColor, boundaryColor, 0.0, 1, availableThreads()});
    polygons = 0;
    for (const MapUnitArea& unit : map.units) polygons += unit.polygons.size();
    lines = map.contacts.size();
    if (!written) continue;
    bytes = 0;
    for (const ExportedFile& file : geologyMapFiles("map.gpkg", map)) bytes += file.bytes.size();
  }
  state.counters["polygons"] = static_cast<double>(polygons);
  state.counters["lines"] = static_cast<double>(lines);
  if (written) state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_GeologyMap)
    ->Args({128, 0})
    ->Args({1024, 0})
    ->Args({1024, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvenor::bench

BENCHMARK_MAIN();
