// Timing of the model check against a regional borehole database: 10,000 holes of 20 logged
// intervals each on the 500 x 500 grids of the synthetic model, a quarter of the holes deviated.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "bench_scene.h"
#include "evaluation/borehole_check.h"
#include "evaluation/boundary_interpolation.h"
#include "evaluation/classification.h"
#include "model/borehole_path.h"
#include "model/boundary_grids.h"

namespace kalvenor::bench {
namespace {

constexpr int kGrid = 500;
constexpr int kHolesPerSide = 100;
constexpr int kIntervals = 20;
constexpr double kIntervalLength = 40.0;
constexpr double kStationStep = 30.0;

// Straight down, or leaning gradually toward the east to 30 degrees from the vertical.
Borehole hole(const DisplaySurface& d, int n) {
  Borehole h;
  h.id = "BH" + std::to_string(n);
  h.x = (n % kHolesPerSide + 0.5) * kExtent / kHolesPerSide;
  h.y = (n / kHolesPerSide + 0.5) * kExtent / kHolesPerSide;
  h.z = surfaceElevationAt(d, h.x, h.y);
  h.depth = kIntervals * kIntervalLength;
  const bool deviated = n % 4 == 0;
  HoleStation s{0, h.x, h.y, h.z};
  h.path.push_back(s);
  while (s.depth < h.depth) {
    const double step = std::min(kStationStep, h.depth - s.depth);
    const double lean = deviated ? 0.5236 * s.depth / h.depth : 0.0;
    s = {s.depth + step, s.x + step * std::sin(lean), s.y, s.z - step * std::cos(lean)};
    h.path.push_back(s);
  }
  return h;
}

// Logs the unit the model has at each interval's middle, so the check finds contacts to
// compare everywhere.
void logUnits(Borehole& h, const LogicalModel& model, const std::vector<GridSurface>& grids) {
  for (int i = 0; i < kIntervals; ++i) {
    LoggedInterval logged{i * kIntervalLength, (i + 1) * kIntervalLength, "", 0};
    const HoleStation p = positionAt(h, (logged.from + logged.to) / 2);
    double z = p.z;
    logged.unit = classifyPoint(model, grids, p.x, p.y, z).unitStrict;
    h.intervals.push_back(logged);
  }
}

struct Database {
  std::vector<GridSurface> grids;
  BoreholeSet set;
};

Database& database() {
  static std::unique_ptr<Database> made;
  if (made) return *made;
  Scene& s = scene(kGrid);
  made = std::make_unique<Database>();
  const auto display = std::make_shared<const DisplaySurface>(s.display);
  made->grids = readBoundaryGrids(s.files, s.model.Nbd, display);
  for (int n = 0; n < kHolesPerSide * kHolesPerSide; ++n) {
    made->set.holes.push_back(hole(s.display, n));
    logUnits(made->set.holes.back(), s.model, made->grids);
  }
  return *made;
}

void BM_BoreholeCheck(benchmark::State& state) {
  Database& db = database();
  const LogicalModel& model = scene(kGrid).model;
  const RenderContext context{static_cast<int>(state.range(0)), nullptr};
  AgreementSummary all;
  for (auto _ : state) {
    const BoreholeCheck check = checkBoreholes({model, db.grids, db.set, context});
    all = check.all;
  }
  state.counters["contacts"] = all.contacts;
  state.counters["modelled"] = all.modelled;
  state.counters["agreement_%"] = all.agreementPercent();
}
BENCHMARK(BM_BoreholeCheck)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvenor::bench

BENCHMARK_MAIN();
