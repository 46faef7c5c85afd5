#include "evaluation/borehole_sampling.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "evaluation/borehole_check.h"
#include "evaluation/boundary_interpolation.h"
#include "evaluation/classification.h"
#include "model/grid_cell.h"

namespace kalvenor {
namespace {

constexpr double kDepthTolerance = 1e-7;  // metres along the hole
constexpr int kMaxBisections = 64;
constexpr double kPiecesPerSpacing = 4.0;
constexpr double kMaxPieces = 1 << 20;  // per segment, so an absurd path cannot stall the check

// Within the grid's nodes, in a cell whose four corners have values.
bool covers(const GridSurface& g, double x, double y) {
  if (x < std::min(g.Xmin, g.xMax()) || x > std::max(g.Xmin, g.xMax())) return false;
  if (y < std::min(g.Ymin, g.yMax()) || y > std::max(g.Ymin, g.yMax())) return false;
  if (!g.missing.any()) return true;
  const int i = cellIndex(x, g.Xmin, g.Dx, g.Nx);
  const int j = cellIndex(y, g.Ymin, g.Dy, g.Ny);
  return !g.missing.touches(i, j, i + 1, j + 1);
}

double finestSpacing(const std::vector<GridSurface>& grids) {
  double finest = 0.0;
  for (std::size_t k = 1; k < grids.size(); ++k) {
    for (const double d : {std::abs(grids[k].Dx), std::abs(grids[k].Dy)}) {
      if (d > 0 && (finest == 0.0 || d < finest)) finest = d;
    }
  }
  return finest;
}

// The depth in (from, to) where holds turns, holds(from) != holds(to).
template <typename Holds>
double turningDepth(double from, double to, const Holds& holds) {
  const bool atFrom = holds(from);
  for (int n = 0; n < kMaxBisections && to - from > kDepthTolerance; ++n) {
    const double middle = from + (to - from) / 2;
    (holds(middle) == atFrom ? from : to) = middle;
  }
  return from + (to - from) / 2;
}

struct Event {
  double depth;
  int boundary;  // 0: the model's presence changes there
};

}  // namespace

// A piece of the hole and what the model says at its two ends.
struct HoleSampler::Ends {
  double from, to;
  HoleStation bottom;
  bool topIn, bottomIn;
  std::uint32_t topSides, bottomSides;
};

HoleSampler::HoleSampler(const LogicalModel& model, const std::vector<GridSurface>& grids)
    : model_(model), grids_(grids) {
  if (static_cast<int>(grids.size()) > model.Nbd + 1) display_ = &grids[model.Nbd + 1];
  step_ = finestSpacing(grids) / kPiecesPerSpacing;
}

bool HoleSampler::inModel(const HoleStation& p) const {
  for (std::size_t k = 1; k < grids_.size(); ++k) {
    if (!covers(grids_[k], p.x, p.y)) return false;
  }
  return !display_ || p.z <= elevationAt(*display_, p.x, p.y);
}

// As classifyPoint decides it: both elevations rounded to 7 decimals, on the boundary is below.
bool HoleSampler::above(int k, const HoleStation& p) const {
  return roundTo7Decimals(p.z) > roundTo7Decimals(boundaryElevationAt(grids_, k, p.x, p.y));
}

std::uint32_t HoleSampler::sides(const HoleStation& p) const {
  std::uint32_t bits = 0;
  for (int k = 1; k <= model_.Nbd; ++k) bits |= std::uint32_t{above(k, p)} << k;
  return bits;
}

// Boundary k separates different units where the hole meets it, as a section's contacts are
// found: the units just below and just above it differ.
bool HoleSampler::isContact(int k, const HoleStation& p) const {
  std::vector<double> levels(model_.Nbd + 1, 0.0);
  for (int j = 1; j <= model_.Nbd; ++j) levels[j] = boundaryElevationAt(grids_, j, p.x, p.y);
  const Classification sides = classifyAmong(model_, levels, levels[k]);
  return sides.unitStrict != sides.unitInclusive;
}

void HoleSampler::addRun(HoleProfile& profile, double from, double to,
                         const HoleStation& middle) const {
  if (!(to > from)) return;
  std::int16_t unit = kNoModel;
  if (inModel(middle)) {
    double z = middle.z;
    unit = classifyPoint(model_, grids_, middle.x, middle.y, z).unitStrict;
  }
  if (!profile.runs.empty() && profile.runs.back().unit == unit) {
    profile.runs.back().to = to;
  } else {
    profile.runs.push_back({from, to, unit});
  }
}

void HoleSampler::samplePiece(const Borehole& hole, const Ends& e, HoleProfile& profile) const {
  const auto at = [&](double depth) { return positionAt(hole, depth); };
  std::vector<Event> events;
  if (e.topIn != e.bottomIn) {
    events.push_back({turningDepth(e.from, e.to, [&](double d) { return inModel(at(d)); }), 0});
  }
  for (int k = 1; k <= model_.Nbd; ++k) {
    if (((e.topSides ^ e.bottomSides) >> k & 1U) == 0) continue;
    events.push_back({turningDepth(e.from, e.to, [&](double d) { return above(k, at(d)); }), k});
  }
  std::sort(events.begin(), events.end(),
            [](const Event& a, const Event& b) { return a.depth < b.depth; });
  double start = e.from;
  for (const Event& event : events) {
    addRun(profile, start, event.depth, at((start + event.depth) / 2));
    start = event.depth;
  }
  addRun(profile, start, e.to, at((start + e.to) / 2));
  for (const Event& event : events) {
    const HoleStation p = at(event.depth);
    if (event.boundary > 0 && inModel(p) && isContact(event.boundary, p)) {
      profile.crossings.push_back({event.boundary, event.depth, p.z});
    }
  }
}

HoleProfile HoleSampler::sample(const Borehole& hole, double from, double to) const {
  std::vector<double> knots = {from};
  for (const HoleStation& s : hole.path) {
    if (s.depth > from && s.depth < to) knots.push_back(s.depth);
  }
  knots.push_back(to);
  HoleProfile profile;
  Ends e{};
  e.to = from;
  e.bottom = positionAt(hole, from);
  e.bottomIn = inModel(e.bottom);
  e.bottomSides = sides(e.bottom);
  for (std::size_t n = 0; n + 1 < knots.size(); ++n) {
    const HoleStation a = positionAt(hole, knots[n]);
    const HoleStation b = positionAt(hole, knots[n + 1]);
    const double across = std::hypot(b.x - a.x, b.y - a.y);
    const double wanted = step_ > 0 && across > 0 ? std::ceil(across / step_) : 1.0;
    const int pieces = static_cast<int>(std::clamp(wanted, 1.0, kMaxPieces));
    for (int m = 1; m <= pieces; ++m) {
      e.from = e.to;
      e.topIn = e.bottomIn;
      e.topSides = e.bottomSides;
      e.to = m == pieces ? knots[n + 1] : knots[n] + (knots[n + 1] - knots[n]) * m / pieces;
      e.bottom = positionAt(hole, e.to);
      e.bottomIn = inModel(e.bottom);
      e.bottomSides = sides(e.bottom);
      samplePiece(hole, e, profile);
    }
  }
  return profile;
}

}  // namespace kalvenor
