// What the figure options cost on the bundled example, drawn through the session as both
// programs draw: smooth contacts against cell by cell, annotations on and off, and the map as a
// PNG, an SVG and a PDF file.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/option_steps.h"
#include "canvas/bitmap_file.h"
#include "canvas/image_canvas.h"
#include "canvas/vector_pictures.h"
#include "session/session.h"

namespace kalvenor::bench {
namespace {

// The options of a run that draws the example; the map file named is never written.
RenderOptions exampleOptions() {
  const std::string e = KALVENOR_EXAMPLES_DIR "/folded-basin/";
  return parseRenderOptions(
      {"--model",    e + "model.txt",         "--boundary", e + "limestone_top.txt",
       "--boundary", e + "sandstone_top.txt", "--boundary", e + "mudstone_top.txt",
       "--boundary", e + "unconformity.txt",  "--surface",  e + "topography.txt",
       "--colors",   e + "colors.txt",        "--zbase",    "0",
       "--view",     "225,30,1.2,2",          "--start",    "30200,41000",
       "--end",      "34800,43500",           "--map",      "unused.png"});
}

// The example with its map grid, or its section grid, built: one build at a time holds walls or
// the section.
struct Example {
  explicit Example(bool section) {
    loadInputs(session, options.inputs, [](const std::string&) {});
    applyOptions(session, options);
    if (section) {
      session.buildSectionGrid(sectionLineOf(session, options));
    } else {
      session.buildMapGrid();
    }
  }

  void set(bool smooth, bool annotated) {
    session.setContacts(smooth ? Contacts::Smooth : Contacts::Cells);
    session.setAnnotations(
        {.legend = annotated, .axes = annotated, .title = annotated ? "褶曲盆地" : ""});
  }
  void drawMap(Canvas& canvas) {
    session.applyView(mapViewOf(session, options), canvas.width(), canvas.height());
    session.drawGeoMap(canvas);
  }

  RenderOptions options = exampleOptions();
  Session session;
};

// Arguments: smooth contacts (0 or 1), annotations (0 or 1).
void BM_ExampleMap(benchmark::State& state) {
  static Example example(false);
  example.set(state.range(0) == 1, state.range(1) == 1);
  ImageCanvas canvas(QSize(800, 800));
  for (auto _ : state) {
    canvas.clear();
    example.drawMap(canvas);
    benchmark::DoNotOptimize(canvas.image().bits());
  }
}
BENCHMARK(BM_ExampleMap)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_ExampleSection(benchmark::State& state) {
  static Example example(true);
  example.set(state.range(0) == 1, state.range(1) == 1);
  ImageCanvas canvas(QSize(1200, 500));
  for (auto _ : state) {
    canvas.clear();
    example.session.applyView(sectionViewOf(example.session, example.options), canvas.width(),
                              canvas.height());
    example.session.drawSection(canvas);
    benchmark::DoNotOptimize(canvas.image().bits());
  }
}
BENCHMARK(BM_ExampleSection)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// The smooth map as the bytes of a file: 0 PNG, 1 SVG, 2 PDF.
void BM_ExampleMapFile(benchmark::State& state) {
  static Example example(false);
  example.set(true, false);
  const QSize size(800, 800);
  std::size_t bytes = 0;
  for (auto _ : state) {
    QByteArray file;
    if (state.range(0) == 0) {
      ImageCanvas canvas(size);
      canvas.setBackgroundColor(kWhite);
      canvas.clear();
      example.drawMap(canvas);
      file = encodePicture(canvas.image(), "PNG", "map.png");
    } else {
      const VectorFormat format = state.range(0) == 1 ? VectorFormat::Svg : VectorFormat::Pdf;
      file = vectorPicture(format, size, kWhite, false,
                           [&](Canvas& canvas) { example.drawMap(canvas); });
    }
    bytes = static_cast<std::size_t>(file.size());
    benchmark::DoNotOptimize(file.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ExampleMapFile)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvenor::bench
