#include "render/relief_light.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "model/message_text.h"
#include "model/number_text.h"
#include "model/parallel_for.h"

namespace kalvenor {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// The heights the gradient at a node reads from its 3 x 3 neighbourhood.
class Neighbourhood {
 public:
  explicit Neighbourhood(const DisplaySurface& display) : d_(display) {}

  // The height at node (i + di, j + dj), di and dj in -1..1, for the gradient at (i, j).
  double at(int i, int j, int di, int dj) const {
    const int ti = i + di, tj = j + dj;
    if (inside(ti, tj)) return has(ti, tj) ? d_.dispZ(ti, tj) : d_.dispZ(i, j);
    return beyondEdge(i, j, ti, tj);
  }

 private:
  bool inside(int i, int j) const { return i >= 1 && i <= d_.Nx && j >= 1 && j <= d_.Ny; }
  bool has(int i, int j) const { return inside(i, j) && !d_.missing.at(i, j); }

  // Carried on in a straight line from the last two nodes inside, along each axis the node lies
  // beyond; the node's own height where any of those nodes has none.
  double beyondEdge(int i, int j, int ti, int tj) const {
    const int ei = std::clamp(ti, 1, d_.Nx), ej = std::clamp(tj, 1, d_.Ny);
    const int ii = ei + (ei - ti), ij = ej + (ej - tj);  // one step back inside
    const bool outI = ti != ei, outJ = tj != ej;
    const auto z = [&](int a, int b, double& value) {
      if (!has(a, b)) return false;
      value = d_.dispZ(a, b);
      return true;
    };
    double edge = 0, backI = 0, backJ = 0, back = 0;
    if (!z(ei, ej, edge) || (outI && !z(ii, ej, backI)) || (outJ && !z(ei, ij, backJ)) ||
        (outI && outJ && !z(ii, ij, back))) {
      return d_.dispZ(i, j);
    }
    if (!outJ) return 2 * edge - backI;
    if (!outI) return 2 * edge - backJ;
    return 4 * edge - 2 * backI - 2 * backJ + back;
  }

  const DisplaySurface& d_;
};

// The cosine of the angle between the surface's normal and the light, from Horn's sums of the
// heights across a node east and north: eight spacings each, exaggerated by the z factor.
class Light {
 public:
  Light(const ReliefShading& shading, const DisplaySurface& d, double zFactor)
      : sinAltitude_(std::sin(shading.altitude * kRadiansPerDegree)),
        eastward_(std::sin(shading.azimuth * kRadiansPerDegree) *
                  std::cos(shading.altitude * kRadiansPerDegree)),
        northward_(std::cos(shading.azimuth * kRadiansPerDegree) *
                   std::cos(shading.altitude * kRadiansPerDegree)),
        // A negative spacing stores the columns westward or the rows southward: the sums change
        // sign with it.
        perEast_(zFactor / (8 * d.Dx)),
        perNorth_(zFactor / (8 * d.Dy)) {}

  // Inline and free of branches, so that a loop over a column runs several nodes at once.
  float of(double sumEast, double sumNorth) const {
    const double p = sumEast * perEast_, q = sumNorth * perNorth_;
    const double cosine =
        (sinAltitude_ - p * eastward_ - q * northward_) / std::sqrt(1 + p * p + q * q);
    const auto lit = static_cast<float>(cosine);
    return lit > 0 ? lit : 0.0f;
  }

 private:
  double sinAltitude_, eastward_, northward_, perEast_, perNorth_;
};

// Horn's weights: the sum of the column (or row) of three nodes on one side, the middle twice.
template <typename HeightAt>
float hornLight(const HeightAt& z, const Light& light) {
  const double east = (z(1, -1) + 2 * z(1, 0) + z(1, 1)) - (z(-1, -1) + 2 * z(-1, 0) + z(-1, 1));
  const double north = (z(-1, 1) + 2 * z(0, 1) + z(1, 1)) - (z(-1, -1) + 2 * z(0, -1) + z(1, -1));
  return light.of(east, north);
}

// The light of the nodes 1..count - 2 of a column, indexed from 0, with the columns west and
// east of it: hornLight's sums in its order, over heights that lie one after another, so the
// compiler runs the loop on several nodes at once.
void lightColumn(const double* west, const double* here, const double* east, int count,
                 const Light& light, float* out) {
  for (int j = 1; j < count - 1; ++j) {
    const double sumEast =
        (east[j - 1] + 2 * east[j] + east[j + 1]) - (west[j - 1] + 2 * west[j] + west[j + 1]);
    const double sumNorth = (west[j + 1] + 2 * here[j + 1] + east[j + 1]) -
                            (west[j - 1] + 2 * here[j - 1] + east[j - 1]);
    out[j] = light.of(sumEast, sumNorth);
  }
}

}  // namespace

std::optional<std::string> shadingProblem(const ReliefShading& shading) {
  if (!shading.on) return std::nullopt;
  if (!(shading.altitude >= 0 && shading.altitude <= 90)) {
    return fill(translated("The light of the shaded relief must stand 0 to 90 degrees above the "
                           "horizon; found {1}"),
                {numberText(shading.altitude)});
  }
  if (!(shading.strength >= 0 && shading.strength <= 1)) {
    return fill(translated("The strength of the shaded relief must lie between 0 and 1; found {1}"),
                {numberText(shading.strength)});
  }
  return std::nullopt;
}

// The nodes are lit a band of columns at a time, column by column, the heights read down their
// columns and the light written down its own; the bands are wide enough that two threads seldom
// write into one cache line. Nodes inside the edges of a surface with every height are lit a
// column at a time (lightColumn), the others one by one.
ReliefLight::ReliefLight(const DisplaySurface& d, const ReliefShading& shading, double zFactor,
                         const RenderContext& context)
    : Ny_(static_cast<std::size_t>(d.Ny)),
      light_(static_cast<std::size_t>(d.Nx) * Ny_),
      strength_(static_cast<float>(std::clamp(shading.strength, 0.0, 1.0))) {
  const Light light(shading, d, zFactor);
  const Neighbourhood around(d);
  const bool whole = !d.missing.any();
  const auto lightNode = [&](int i, int j) {
    light_[at(i, j)] = hornLight([&](int di, int dj) { return around.at(i, j, di, dj); }, light);
  };
  const auto lightWholeColumn = [&](int i) {
    if (!whole || i == 1 || i == d.Nx || d.Ny < 3) {
      for (int j = 1; j <= d.Ny; ++j) lightNode(i, j);
      return;
    }
    lightColumn(&d.dispZ(i - 1, 1), &d.dispZ(i, 1), &d.dispZ(i + 1, 1), d.Ny, light,
                &light_[at(i, 1)]);
    lightNode(i, 1);
    lightNode(i, d.Ny);
  };
  constexpr int kBand = 64;
  // A node takes a few nanoseconds: a thread woken for fewer than this many costs more than it
  // saves, most of all on a busy machine.
  constexpr std::int64_t kNodesPerThread = 1 << 19;
  const std::int64_t nodes = std::int64_t{d.Nx} * d.Ny;
  const int threads = static_cast<int>(
      std::clamp<std::int64_t>(nodes / kNodesPerThread, 1, std::max(1, context.threads)));
  parallelFor(0, (d.Nx - 1) / kBand,
              [&](int band) {
                const int first = 1 + band * kBand, last = std::min(d.Nx, first + kBand - 1);
                for (int i = first; i <= last; ++i) lightWholeColumn(i);
              },
              {.threads = threads});
}

// The factor in steps of 1/256, which moves no channel by more than one level: neighbouring cells
// mostly share a colour, so a picture changes its fill colour far less often than it has cells.
PackedColor ReliefLight::shade(PackedColor color, const CellNodes& cell) const {
  const float* column = &light_[at(cell.i[1], cell.j[1])];
  const float* next = &light_[at(cell.i[2], cell.j[1])];
  const std::ptrdiff_t up = cell.j[3] - cell.j[1];
  const float mean = (column[0] + next[0] + column[up] + next[up]) / 4;
  const float factor = 1.0f - strength_ * (1.0f - mean);
  const std::uint32_t steps = (static_cast<std::uint32_t>(factor * 512.0f) + 1) >> 1;
  const auto lit = [steps](int channel) {
    return static_cast<int>((static_cast<std::uint32_t>(channel) * steps + 128) >> 8);
  };
  return packRgb(lit(redOf(color)), lit(greenOf(color)), lit(blueOf(color)));
}

}  // namespace kalvenor
