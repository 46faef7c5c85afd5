// Timing of the pictures: "地質図" of a 512 x 512 display grid with boundary lines and contours,
// flat and shaded, and "断面図" corner to corner across a 1024 x 1024 grid, each into a
// 1024 x 1024 picture; and a section built and drawn, straight corner to corner or along a
// polyline of 20 vertices.
#include <benchmark/benchmark.h>

#include "bench_scene.h"
#include "canvas/image_canvas.h"
#include "model/parallel_for.h"
#include "render/draw_units.h"
#include "render/map_renderer.h"
#include "render/section_renderer.h"

namespace kalvenor::bench {
namespace {

const std::vector<PackedColor> kUnitColors = {kBlack,
                                              packRgb(214, 120, 120),
                                              packRgb(236, 200, 110),
                                              packRgb(140, 170, 110),
                                              packRgb(120, 150, 200),
                                              packRgb(200, 160, 220),
                                              packRgb(245, 240, 190)};
const std::vector<PackedColor> kBoundaryColors(kBoundaries + 1, kBlack);

struct MapScene {
  Scene& scene = bench::scene(512);
  MapBuild build = buildMapGrid(
      {scene.model, scene.files, std::make_shared<const DisplaySurface>(scene.display), 0.0});
  Array2D<std::int16_t> drawUnit = unitsToDraw(build.grid.mapUnit, 512, 512);
  ViewSettings view;
  ContourSettings contours{700, 1000, 10};

  MapScene() {
    view.Alpha = 225;
    view.Gamma = 30;
    view.Sca = 1.2;
    view.Ve = 2;
  }
};

// The map of the scene with boundary lines, contours and the frame; with smooth contacts or cell
// by cell.
MapPicture mapPicture(const MapScene& s, Contacts contacts) {
  const DrawOptions options{
      .DrawBoundary = true, .DrawMode = DrawingMode::GeologicalMap, .contacts = contacts};
  return {.display = s.scene.display,
          .base = 0.0,
          .drawUnit = s.drawUnit,
          .contours = s.contours,
          .style = {s.scene.model, s.build.boundaryGrids, kUnitColors, kBoundaryColors, options},
          .contourLines = true,
          .frame = true,
          .frameFourSides = true};
}

// Argument 0 draws cell by cell, 1 with smooth contacts: the difference is what splitting the
// contact cells and holding back their lines costs. The map's rows are drawn on all threads
// (OMP_NUM_THREADS) and painted on the calling thread.
void BM_GeologicalMap(benchmark::State& state) {
  static MapScene s;
  const MapPicture picture =
      mapPicture(s, state.range(0) == 1 ? Contacts::Smooth : Contacts::Cells);
  ImageCanvas canvas(QSize(1024, 1024));
  const DisplaySurface& d = s.scene.display;
  const Projection projection(s.view, {1024, 1024}, d, 0.0);
  for (auto _ : state) {
    canvas.clear();
    drawGeoMap(canvas, projection, picture, {availableThreads()});
    benchmark::DoNotOptimize(canvas.image().bits());
  }
}
BENCHMARK(BM_GeologicalMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same maps with the shaded relief: what lighting every node once and darkening every cell
// adds to them.
void BM_ShadedGeologicalMap(benchmark::State& state) {
  static MapScene s;
  MapPicture picture = mapPicture(s, state.range(0) == 1 ? Contacts::Smooth : Contacts::Cells);
  picture.style.options.shading = {.on = true};
  ImageCanvas canvas(QSize(1024, 1024));
  const Projection projection(s.view, {1024, 1024}, s.scene.display, 0.0);
  for (auto _ : state) {
    canvas.clear();
    drawGeoMap(canvas, projection, picture, {availableThreads()});
    benchmark::DoNotOptimize(canvas.image().bits());
  }
}
BENCHMARK(BM_ShadedGeologicalMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

struct SectionScene {
  Scene& scene = bench::scene(1024);
  SectionBuild build = buildSectionGrid(
      {scene.model, scene.files, std::make_shared<const DisplaySurface>(scene.display), 0.0},
      {0, 0, true, kExtent, kExtent, 0});
  const VerticalGrid& slot = build.grid;
  Array2D<std::int16_t> drawUnit = unitsToDraw(slot.unit, slot.nH, slot.nV);
  ViewSettings view;

  SectionScene() {
    view.Alpha = build.section.Fai / kDegree + 90;
    view.Gamma = 0;
    view.Sca = 1.4;
    view.Ve = 1;
  }
};

void BM_Section(benchmark::State& state) {
  static SectionScene s;
  ImageCanvas canvas(QSize(1024, 1024));
  const DisplaySurface& d = s.scene.display;
  const SectionPicture picture{
      .grid = s.slot,
      .drawUnit = s.drawUnit,
      .section = s.build.section,
      .profile = s.build.sectionProfile,
      .Zbase = 0.0,
      .Zmax = d.Zmax,
      .zEps = d.zEps,
      .style = {s.scene.model, s.build.boundaryGrids, kUnitColors, kBoundaryColors,
                DrawOptions{.DrawBoundary = true, .DrawMode = DrawingMode::Section}}};
  const Projection projection(s.view, {1024, 1024}, d, 0.0);
  for (auto _ : state) {
    canvas.clear();
    drawSection(canvas, projection, picture);
    benchmark::DoNotOptimize(canvas.image().bits());
  }
  state.counters["cells"] = static_cast<double>(s.slot.nH - 1) * (s.slot.nV - 1);
}
BENCHMARK(BM_Section)->Unit(benchmark::kMillisecond);

// A line of 20 vertices across the scene from corner to corner, its bends 500 m either side of
// the diagonal in turn, as a road or a valley winds: 23.7 km against the diagonal's 14.1 km.
SectionLine winding() {
  SectionLine line;
  constexpr int kVertices = 20;
  const double across = 500 / std::sqrt(2.0);
  for (int k = 0; k < kVertices; ++k) {
    const double along = kExtent * k / (kVertices - 1);
    const double side = k == 0 || k == kVertices - 1 ? 0 : (k % 2 == 0 ? across : -across);
    line.vertices.push_back({along + side, along - side});
  }
  return line;
}

// Argument 0: the straight section corner to corner; 1: the winding line. Each round builds the
// section grid from the boundary files and draws it in the frontal view, on every core as the
// programs do.
void BM_SectionBuiltAndDrawn(benchmark::State& state) {
  Scene& scene = bench::scene(1024);
  const auto display = std::make_shared<const DisplaySurface>(scene.display);
  const SectionLine line =
      state.range(0) == 0 ? SectionLine{0, 0, true, kExtent, kExtent, 0} : winding();
  ImageCanvas canvas(QSize(1024, 1024));
  std::int64_t cells = 0;
  for (auto _ : state) {
    const SectionBuild build = buildSectionGrid({.model = scene.model,
                                                 .boundaryFile = scene.files,
                                                 .display = display,
                                                 .Zbase = 0.0,
                                                 .context = {availableThreads()}},
                                                line);
    const Array2D<std::int16_t> units = unitsToDraw(build.grid.unit, build.grid.nH, build.grid.nV);
    ViewSettings view;
    view.Alpha = build.section.Fai / kDegree + 90;
    view.Sca = 1.4;
    view.Ve = 1;
    const SectionPicture picture{
        .grid = build.grid,
        .drawUnit = units,
        .section = build.section,
        .profile = build.sectionProfile,
        .Zbase = 0.0,
        .Zmax = display->Zmax,
        .zEps = display->zEps,
        .style = {scene.model, build.boundaryGrids, kUnitColors, kBoundaryColors,
                  DrawOptions{.DrawBoundary = true, .DrawMode = DrawingMode::Section}}};
    canvas.clear();
    drawSection(canvas, Projection(view, {1024, 1024}, *display, 0.0), picture,
                {availableThreads()});
    benchmark::DoNotOptimize(canvas.image().bits());
    cells = static_cast<std::int64_t>(build.grid.nH - 1) * (build.grid.nV - 1);
  }
  state.counters["cells"] = static_cast<double>(cells);
}
BENCHMARK(BM_SectionBuiltAndDrawn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kalvenor::bench
