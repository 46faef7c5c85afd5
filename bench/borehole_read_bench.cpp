// Reading a regional database of boreholes from CSV: 10,000 holes of 20 intervals each, a third
// of them deviated, written once to a temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model/borehole_reader.h"

namespace kalvenor::bench {
namespace {

constexpr int kHoles = 10000;
constexpr int kIntervals = 20;
constexpr double kThickness = 7.5;

struct Files {
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("kalvenor_borehole_bench_" + std::to_string(::getpid()));
  BoreholeFiles tables;

  Files() {
    std::filesystem::create_directories(folder);
    tables.collars = (folder / "collars.csv").string();
    tables.surveys = (folder / "surveys.csv").string();
    tables.intervals = (folder / "intervals.csv").string();
    std::ofstream collars(tables.collars);
    std::ofstream surveys(tables.surveys);
    std::ofstream intervals(tables.intervals);
    collars << "hole_id,x,y,z\n";
    surveys << "hole_id,depth,azimuth,dip\n";
    intervals << "hole_id,from,to,unit\n";
    for (int hole = 0; hole < kHoles; ++hole) {
      const std::string id = "BH" + std::to_string(hole);
      collars << id << ',' << 1000 + 37.5 * (hole % 100) << ',' << 2000 + 41.25 * (hole / 100)
              << ',' << 300 + hole % 17 << '\n';
      if (hole % 3 == 0) {
        surveys << id << ",0," << hole % 360 << ",-90\n";
        surveys << id << ",60," << hole % 360 << ",-75\n";
        surveys << id << ",150," << (hole + 20) % 360 << ",-60\n";
      }
      for (int n = 0; n < kIntervals; ++n) {
        intervals << id << ',' << n * kThickness << ',' << (n + 1) * kThickness << ','
                  << (n % 3 == 0   ? "Sand"
                      : n % 3 == 1 ? "Clay"
                                   : "Gravel")
                  << '\n';
      }
    }
  }
  ~Files() { std::filesystem::remove_all(folder); }
};

const Files& files() {
  static const Files written;
  return written;
}

LogicalModel model() {
  LogicalModel made = allocateModel(2);
  made.unitName = {"", "Basement", "Sand", "Clay"};
  return made;
}

void BM_ReadBoreholesFromCsv(benchmark::State& state) {
  const BoreholeFiles& tables = files().tables;
  const LogicalModel units = model();
  for (auto _ : state) {
    benchmark::DoNotOptimize(readBoreholes(tables, units, {}).holes.size());
  }
}
BENCHMARK(BM_ReadBoreholesFromCsv)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvenor::bench

BENCHMARK_MAIN();
