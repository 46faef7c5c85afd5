#include "scene/mesh_builder.h"

#include <algorithm>
#include <cmath>

namespace kalvenor {
namespace {

ScenePoint minus(const ScenePoint& a, const ScenePoint& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

ScenePoint cross(const ScenePoint& a, const ScenePoint& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double dot(const ScenePoint& a, const ScenePoint& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// True when b lies on the straight line from a to c as the polygon is seen flattened.
bool straightAt(const ScenePoint& a, const ScenePoint& b, const ScenePoint& c, FlatAxis flat) {
  const int u = flat == FlatAxis::X ? 1 : 0;
  const int v = flat == FlatAxis::Z ? 1 : 2;
  const double ux = b[u] - a[u], uy = b[v] - a[v], vx = c[u] - b[u], vy = c[v] - b[v];
  const double turn = ux * vy - uy * vx;
  return std::abs(turn) <= 1e-12 * std::hypot(ux, uy) * std::hypot(vx, vy);
}

// Centres get keys of their own, apart from every key a caller gives.
constexpr std::uint64_t kCentreKeys = std::uint64_t{1} << 63;

}  // namespace

std::uint32_t MeshBuilder::vertex(std::uint64_t key, const ScenePoint& p) {
  const auto [it, added] =
      index_.try_emplace(key, static_cast<std::uint32_t>(mesh_.vertices.size()));
  if (added) mesh_.vertices.push_back(p);
  return it->second;
}

void MeshBuilder::triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                           const ScenePoint& facing) {
  const auto& V = mesh_.vertices;
  const ScenePoint normal = cross(minus(V[b], V[a]), minus(V[c], V[a]));
  if (dot(normal, facing) < 0) std::swap(b, c);
  mesh_.triangles.push_back({a, b, c});
}

void MeshBuilder::polygon(std::vector<std::uint32_t> corners, const ScenePoint& facing,
                          FlatAxis flat) {
  corners.erase(std::unique(corners.begin(), corners.end()), corners.end());
  while (corners.size() > 1 && corners.front() == corners.back()) corners.pop_back();
  const std::size_t n = corners.size();
  if (n < 3) return;
  const auto& V = mesh_.vertices;
  std::vector<bool> straight(n);
  std::size_t straightCount = 0;
  for (std::size_t m = 0; m < n; ++m) {
    straight[m] =
        straightAt(V[corners[(m + n - 1) % n]], V[corners[m]], V[corners[(m + 1) % n]], flat);
    straightCount += straight[m];
  }
  for (std::size_t apex = 0; apex < n; ++apex) {
    if (straight[apex] || straight[(apex + 1) % n] || straight[(apex + n - 1) % n]) continue;
    for (std::size_t m = 1; m + 1 < n; ++m) {
      triangle(corners[apex], corners[(apex + m) % n], corners[(apex + m + 1) % n], facing);
    }
    return;
  }
  if (straightCount == n) return;  // all on one line: nothing to fill
  ScenePoint centre{};
  for (const std::uint32_t c : corners) {
    for (int a = 0; a < 3; ++a) centre[a] += V[c][a] / static_cast<double>(n);
  }
  const std::uint32_t middle = vertex(kCentreKeys | centres_++, centre);
  for (std::size_t m = 0; m < n; ++m) triangle(middle, corners[m], corners[(m + 1) % n], facing);
}

void MeshBuilder::quad(const std::array<std::uint32_t, 4>& corners, const ScenePoint& facing,
                       FlatAxis flat) {
  const auto& V = mesh_.vertices;
  bool plain = true;
  for (std::size_t m = 0; m < 4; ++m) {
    plain = plain && corners[m] != corners[(m + 1) % 4] &&
            !straightAt(V[corners[(m + 3) % 4]], V[corners[m]], V[corners[(m + 1) % 4]], flat);
  }
  if (!plain) return polygon({corners.begin(), corners.end()}, facing, flat);
  triangle(corners[0], corners[1], corners[2], facing);
  triangle(corners[0], corners[2], corners[3], facing);
}

}  // namespace kalvenor
