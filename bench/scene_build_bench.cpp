// Timing of the block's scene on square display grids with five boundary surfaces, the map
// grid built once beforehand; the triangles of each kind of part are counted beside the time.
// The export times the scene and its file together, with the file's size beside them.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "bench_scene.h"
#include "exports/scene_files.h"
#include "model/parallel_for.h"
#include "scene/block_scene.h"

namespace kalvenor::bench {
namespace {

void BM_BlockScene(benchmark::State& state) {
  Scene& s = scene(static_cast<int>(state.range(0)));
  const auto display = std::make_shared<const DisplaySurface>(s.display);
  const MapBuild build = buildMapGrid({s.model, s.files, display, 0.0});
  const std::vector<PackedColor> unitColor(kBoundaries + 2, 0), boundaryColor(kBoundaries + 1, 0);
  std::array<std::size_t, 4> triangles{};  // terrain, walls, base, boundary surfaces
  for (auto _ : state) {
    const kalvenor::Scene block =
        buildBlockScene({s.model, *display, build.grid, build.boundaryGrids, unitColor,
                         boundaryColor, 0.0, static_cast<int>(state.range(1)), availableThreads()});
    triangles = {};
    for (const ScenePart& part : block.parts) {
      triangles[static_cast<std::size_t>(part.kind)] += part.mesh.triangles.size();
    }
  }
  state.counters["terrain"] = static_cast<double>(triangles[0]);
  state.counters["walls"] = static_cast<double>(triangles[1]);
  state.counters["base"] = static_cast<double>(triangles[2]);
  state.counters["surfaces"] = static_cast<double>(triangles[3]);
}
BENCHMARK(BM_BlockScene)
    ->Args({128, 1})
    ->Args({1024, 1})
    ->Args({1024, 4})
    ->Unit(benchmark::kMillisecond);

const char* const kForms[] = {"block.glb", "block.vtp", "block.obj"};

void BM_SceneExport(benchmark::State& state) {
  Scene& s = scene(static_cast<int>(state.range(0)));
  const auto display = std::make_shared<const DisplaySurface>(s.display);
  const MapBuild build = buildMapGrid({s.model, s.files, display, 0.0});
  const std::vector<PackedColor> unitColor(kBoundaries + 2, 0), boundaryColor(kBoundaries + 1, 0);
  const char* form = kForms[state.range(2)];
  std::size_t bytes = 0;
  for (auto _ : state) {
    const kalvenor::Scene block =
        buildBlockScene({s.model, *display, build.grid, build.boundaryGrids, unitColor,
                         boundaryColor, 0.0, static_cast<int>(state.range(1)), availableThreads()});
    bytes = 0;
    for (const ExportedFile& file : sceneFiles(form, block, {})) bytes += file.bytes.size();
  }
  state.SetLabel(form);
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_SceneExport)
    ->Args({1024, 1, 0})
    ->Args({1024, 1, 1})
    ->Args({1024, 1, 2})
    ->Args({1024, 4, 0})
    ->Args({1024, 4, 1})
    ->Args({1024, 4, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvenor::bench

BENCHMARK_MAIN();
