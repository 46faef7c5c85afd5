// The atlas of 20 parallel sections across the 1024 x 1024 benchmark grid, north-south 500 m
// apart: the series built from the boundary grids of the survey line's build, and the whole
// 20-page PDF (the series, the location map's classification and the pages).
#include <benchmark/benchmark.h>

#include "bench_scene.h"
#include "canvas/vector_pictures.h"
#include "session/section_atlas.h"

namespace kalvenor::bench {
namespace {

constexpr int kPages = 20;

// The benchmark model in a session with its survey line built: north along x 250 m, the series
// going east.
Session& atlasSession() {
  static Session session = [] {
    Scene& s = scene(1024);
    Session made;
    made.enterModel(s.model, true);
    made.setBoundaryFiles(std::vector<std::string>(s.files.begin() + 1, s.files.end()));
    for (int unit = 1; unit <= s.model.unitCount(); ++unit) {
      made.setUnitColor(unit, packRgb(40 * unit, 255 - 30 * unit, 120));
    }
    made.loadDisplaySurface((s.folder / "surface.txt").string());
    made.setZbase(0);
    made.buildSectionGrid({250, 0, false, 0, 0, 0});
    made.setSectionSeries({kPages, 500});
    return made;
  }();
  return session;
}

void BM_SeriesBuild(benchmark::State& state) {
  Session& session = atlasSession();
  for (auto _ : state) {
    const SeriesSections series = session.buildSectionSeries();
    benchmark::DoNotOptimize(series.build->members.size());
  }
}
BENCHMARK(BM_SeriesBuild)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AtlasPdf(benchmark::State& state) {
  Session& session = atlasSession();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const AtlasPaper paper;
    SectionAtlas atlas(session, session.buildSectionSeries(), paper, 4);
    const QByteArray pdf =
        pagedPdf({QSizeF(paper.widthMm, paper.heightMm), paper.dotsPerInch, atlas.pageCount()},
                 kWhite, false, [&](Canvas& canvas, int page) { atlas.drawPage(canvas, page); });
    bytes = static_cast<std::size_t>(pdf.size());
  }
  state.counters["pages"] = kPages;
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_AtlasPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace kalvenor::bench
