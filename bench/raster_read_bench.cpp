// Reading a 4096 x 4096 display surface as a float32 GeoTIFF against the same nodes in the own
// text format, both written once to a temporary folder.
#include <benchmark/benchmark.h>
#include <gdal_priv.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/grid_surface.h"

namespace kalvenor::bench {
namespace {

constexpr int kSide = 4096;

float height(int i, int j) {
  return static_cast<float>(200 + 80 * std::sin(i / 300.0) * std::cos(j / 410.0) + 0.01 * j);
}

struct Files {
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("kalvenor_raster_bench_" + std::to_string(::getpid()));
  std::string tif = (folder / "dem.tif").string();
  std::string text = (folder / "dem.txt").string();

  Files() {
    std::filesystem::create_directories(folder);
    writeTif();
    writeText();
  }
  ~Files() { std::filesystem::remove_all(folder); }

  // North-up, as GIS programs store it: the first row is the northernmost.
  void writeTif() const {
    GDALAllRegister();
    GDALDataset* raster = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(
        tif.c_str(), kSide, kSide, 1, GDT_Float32, nullptr);
    double transform[] = {0, 10, 0, 10.0 * kSide, 0, -10};
    raster->SetGeoTransform(transform);
    std::vector<float> row(kSide);
    for (int r = 0; r < kSide; ++r) {
      for (int c = 0; c < kSide; ++c) row[c] = height(c + 1, kSide - r);
      if (raster->GetRasterBand(1)->RasterIO(GF_Write, 0, r, kSide, 1, row.data(), kSide, 1,
                                             GDT_Float32, 0, 0) != CE_None) {
        std::abort();
      }
    }
    GDALClose(raster);
  }

  void writeText() const {
    std::ofstream out(text);
    out << kSide << ',' << kSide << ",5,5,10,10\n";
    char value[32];
    for (int i = 1; i <= kSide; ++i) {
      for (int j = 1; j <= kSide; ++j) {
        std::snprintf(value, sizeof value, "%.9g%c", height(i, j), j == kSide ? '\n' : ',');
        out << value;
      }
    }
  }
};

const Files& files() {
  static const Files written;
  return written;
}

void BM_ReadGeoTiff(benchmark::State& state) {
  const std::string& path = files().tif;
  for (auto _ : state) benchmark::DoNotOptimize(readGridSurface(path).z(kSide, kSide));
}
BENCHMARK(BM_ReadGeoTiff)->Unit(benchmark::kMillisecond);

void BM_ReadOwnText(benchmark::State& state) {
  const std::string& path = files().text;
  for (auto _ : state) benchmark::DoNotOptimize(readGridSurface(path).z(kSide, kSide));
}
BENCHMARK(BM_ReadOwnText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvenor::bench

BENCHMARK_MAIN();
