// What a turn of the picture costs in the drawing window, drawn through the session as the
// window draws: the preview drawn on a worker thread while a drag lasts, the scene it is drawn
// from (made once per gesture), and the whole picture drawn when the mouse is released. The map
// is the 512 x 512 display grid of the benchmark model with walls, boundary lines and contours
// every 10 m; the section runs corner to corner across the 1024 x 1024 grid. Both go into a
// 1024 x 1024 picture. The copy of the session and the whole picture are also timed for the map
// of a 2048 x 2048 grid, the largest the window was once drawing on its own thread.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>

#include "bench_scene.h"
#include "canvas/image_canvas.h"
#include "session/preview_picture.h"
#include "session/session.h"

namespace kalvenor::bench {
namespace {

constexpr int kCanvas = 1024;

// The benchmark model's steps taken in a session, its map or section grid built and drawn once.
struct Viewer {
  Viewer(int n, bool section) {
    Scene& scene = bench::scene(n);
    session.enterModel(scene.model, true);
    for (int k = 1; k <= kBoundaries; ++k) session.setBoundaryFile(k, scene.files[k]);
    for (int unit = 1; unit <= kBoundaries + 1; ++unit) {
      session.setUnitColor(unit, packRgb(40 * unit, 200 - 25 * unit, 120));
    }
    session.loadDisplaySurface((scene.folder / "surface.txt").string());
    session.setZbase(0);
    session.setBoundaryLines(true);
    session.setContours({.Cst = 700, .Cen = 1000, .Cin = 10, .wanted = true});
    TypedView view;
    if (section) {
      session.buildSectionGrid({0, 0, true, kExtent, kExtent, 0});
      const ViewValues frontal = session.sectionView();
      view.Alpha = frontal.Alpha;
      view.Gamma = frontal.Gamma;
      view.Sca = frontal.Sca;
      view.Ve = frontal.Ve;
    } else {
      session.buildMapGrid();
      view.Alpha = 225;
      view.Gamma = 30;
      view.Sca = 1.2;
      view.Ve = 2;
    }
    session.applyView(view, kCanvas, kCanvas);
    if (section) {
      session.drawSection(canvas);
    } else {
      session.drawGeoMap(canvas);
    }
    kind = session.redrawablePicture();
  }

  Session session;
  ImageCanvas canvas{QSize(kCanvas, kCanvas)};
  PictureKind kind = PictureKind::None;
};

// The benchmarks' argument: 0 the 512 x 512 map, 1 the section, 2 the 2048 x 2048 map.
Viewer& viewer(std::int64_t which) {
  if (which == 2) {
    static Viewer large(2048, false);
    return large;
  }
  static Viewer map(512, false);
  if (which == 0) return map;
  static Viewer cut(1024, true);
  return cut;
}

void BM_PreviewScene(benchmark::State& state) {
  Viewer& v = viewer(state.range(0));
  for (auto _ : state) {
    PreviewScene scene = makePreviewScene(v.session.state(), v.kind);
    benchmark::DoNotOptimize(scene.units);
  }
}
BENCHMARK(BM_PreviewScene)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// As the worker draws it: a fresh canvas of the window's size, the preview, the image handed on.
void BM_Preview(benchmark::State& state) {
  Viewer& v = viewer(state.range(0));
  const PreviewScene scene = makePreviewScene(v.session.state(), v.kind);
  const std::atomic<bool> cancelled = false;
  for (auto _ : state) {
    ImageCanvas canvas(QSize(kCanvas, kCanvas));
    drawPreview(canvas, scene, v.session.projection(),
                {v.session.renderContext().threads, &cancelled});
    benchmark::DoNotOptimize(canvas.screen().bits());
  }
  state.counters["cells"] =
      static_cast<double>(scene.units.iLast() - 1) * (scene.units.jLast() - 1);
}
BENCHMARK(BM_Preview)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The copy of the session the picture on release is drawn from, made on the window's thread.
void BM_SessionCopy(benchmark::State& state) {
  Viewer& v = viewer(state.range(0));
  for (auto _ : state) {
    Session copy = v.session.detachedCopy();
    benchmark::DoNotOptimize(copy.state().display);
  }
}
BENCHMARK(BM_SessionCopy)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The picture drawn whole on release, as the worker draws it: from a copy of the session, as
// "地質図" or "断面図" draws it, painted in bands on a fresh canvas.
void BM_FullPicture(benchmark::State& state) {
  Viewer& v = viewer(state.range(0));
  for (auto _ : state) {
    Session copy = v.session.detachedCopy();
    ImageCanvas canvas(QSize(kCanvas, kCanvas));
    copy.redrawPicture(canvas);
    benchmark::DoNotOptimize(canvas.image().bits());
  }
}
BENCHMARK(BM_FullPicture)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvenor::bench
