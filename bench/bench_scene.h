#pragma once

// A synthetic model for the benchmarks: a square display grid over 10 km with five boundary
// surfaces and six stacked units, its files written once to a temporary folder.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "evaluation/grid_builds.h"
#include "model/number_text.h"

namespace kalvenor::bench {

constexpr int kBoundaries = 5;
constexpr double kExtent = 10000.0;

inline double terrain(double x, double y) {
  return 800 + 120 * std::sin(x / 1500) * std::cos(y / 1100) + 0.01 * x;
}

inline double boundaryAt(int k, double x, double y) {
  return 100.0 * k + 60 * std::sin((x + 300 * k) / 2000) + 40 * std::cos(y / 1700) + 0.005 * y;
}

inline void writeGrid(const std::filesystem::path& path, int n, const auto& z) {
  std::ofstream out(path);
  const double d = kExtent / (n - 1);
  out << n << "," << n << ",0,0," << numberText(d) << "," << numberText(d) << "\n";
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j)
      out << numberText(std::round(z(i * d, j * d) * 1000) / 1000) << "\n";
  }
}

// Files, model and display surface of one size, made once.
struct Scene {
  std::filesystem::path folder;
  LogicalModel model;
  std::vector<std::string> files;
  DisplaySurface display;

  explicit Scene(int n) {
    folder = std::filesystem::temp_directory_path() / ("kalvenor_bench_" + std::to_string(n));
    std::filesystem::create_directories(folder);
    files.assign(kBoundaries + 1, "");
    for (int k = 1; k <= kBoundaries; ++k) {
      files[k] = (folder / ("boundary" + std::to_string(k) + ".txt")).string();
      writeGrid(files[k], n, [k](double x, double y) { return boundaryAt(k, x, y); });
    }
    const auto surface = folder / "surface.txt";
    writeGrid(surface, n, terrain);
    LoadJitter jitter;
    display = makeDisplaySurface(readGridSurface(surface.string()), jitter);
    // Stacked layers: unit i lies above boundaries below it and below the others.
    model = allocateModel(kBoundaries);
    for (int i = 1; i <= model.unitCount(); ++i) {
      for (int k = 1; k <= kBoundaries; ++k) model.modelCell(i, k) = k < i ? 1 : -1;
    }
    buildUnitOfPattern(model);
  }
  ~Scene() { std::filesystem::remove_all(folder); }
};

inline Scene& scene(int n) {
  static std::map<int, std::unique_ptr<Scene>> scenes;
  auto& slot = scenes[n];
  if (!slot) slot = std::make_unique<Scene>(n);
  return *slot;
}

}  // namespace kalvenor::bench
