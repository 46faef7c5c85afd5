#include "evaluation/cell_integral.h"

#include <algorithm>

namespace kalvenor {
namespace {

constexpr CellCorners<PlanePoint> kCorner = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
constexpr PlanePoint kCentre = {0.5, 0.5};
// Pieces smaller than this share of a cell are rounding's slivers along a cut.
constexpr double kSliver = 1e-12;

// The moments of the part of the unit square to integrate over: its clip polygons'.
PolygonMoments partMoments(const IntegratedPart& part) {
  PolygonMoments sum;
  for (const PlanePolygon& polygon : *part.polygons) {
    const PolygonMoments m = momentsOf(polygon);
    sum.area += part.orientation * m.area;
    sum.x += part.orientation * m.x;
    sum.y += part.orientation * m.y;
    sum.xy += part.orientation * m.xy;
  }
  return sum;
}

// The integral of the bilinear function with values f at the corners of the unit square.
double bilinearIntegral(const PolygonMoments& m, const CellCorners<double>& f) {
  return f[0] * m.area + (f[1] - f[0]) * m.x + (f[3] - f[0]) * m.y +
         (f[0] - f[1] + f[2] - f[3]) * m.xy;
}

// The affine function through values f at the triangle's corners.
PlaneFunction through(const std::array<PlanePoint, 3>& t, double f0, double f1, double f2) {
  const double ax = t[1].x - t[0].x, ay = t[1].y - t[0].y;
  const double bx = t[2].x - t[0].x, by = t[2].y - t[0].y;
  const double det = ax * by - ay * bx;
  const double b = ((f1 - f0) * by - (f2 - f0) * ay) / det;
  const double c = ((f2 - f0) * ax - (f1 - f0) * bx) / det;
  return {f0 - b * t[0].x - c * t[0].y, b, c};
}

// Whether the function takes both signs at the polygon's corners.
bool changesSign(const PlanePolygon& polygon, const PlaneFunction& f) {
  bool positive = false, negative = false;
  for (const PlanePoint& p : polygon) {
    const double value = f.at(p);
    positive = positive || value > 0;
    negative = negative || value < 0;
  }
  return positive && negative;
}

}  // namespace

void UnitSums::add(const UnitSums& other) {
  for (std::size_t u = 0; u < volume.size(); ++u) {
    volume[u] += other.volume[u];
    present[u] += other.present[u];
    outcrop[u] += other.outcrop[u];
    largest[u] = std::max(largest[u], other.largest[u]);
  }
}

CellIntegral::CellIntegral(const LogicalModel& model)
    : model_(model),
      surfaces_(columnSurfaces(model.Nbd)),
      column_(model),
      surface_(surfaces_ + 1),
      levels_(surfaces_ + 1),
      centre_(surfaces_ + 1),
      thickness_(model.unitCount() + 1) {}

void CellIntegral::addAlike(const CellCorners<std::span<const double>>& thickness,
                            std::int16_t surfaceUnit, const IntegratedPart& part, UnitSums& sums) {
  if (!part.polygons) {
    // The whole cell: the bilinear thickness's mean is its corners'.
    for (std::size_t u = 0; u < sums.volume.size(); ++u) {
      const double corners = thickness[0][u] + thickness[1][u] + thickness[2][u] + thickness[3][u];
      sums.volume[u] += corners / 4;
      if (corners > 0) sums.present[u] += 1;
    }
    sums.outcrop[surfaceUnit] += 1;
    return;
  }
  const PolygonMoments m = partMoments(part);
  if (m.area <= kSliver) return;
  for (std::size_t u = 0; u < sums.volume.size(); ++u) {
    const CellCorners<double> f = {thickness[0][u], thickness[1][u], thickness[2][u],
                                   thickness[3][u]};
    sums.volume[u] += bilinearIntegral(m, f);
    if (f[0] + f[1] + f[2] + f[3] > 0) sums.present[u] += m.area;
  }
  sums.outcrop[surfaceUnit] += m.area;
}

void CellIntegral::addCut(const CellCorners<std::span<const double>>& levels,
                          const IntegratedPart& part, UnitSums& sums) {
  for (int s = 1; s <= surfaces_; ++s) {
    centre_[s] = (levels[0][s] + levels[1][s] + levels[2][s] + levels[3][s]) / 4;
  }
  for (int n = 0; n < 4; ++n) {
    const std::array<PlanePoint, 3> triangle = {kCorner[n], kCorner[(n + 1) % 4], kCentre};
    const std::array<std::span<const double>, 3> values = {levels[n], levels[(n + 1) % 4], centre_};
    for (int s = 1; s <= surfaces_; ++s) {
      surface_[s] = through(triangle, values[0][s], values[1][s], values[2][s]);
    }
    cutAlongCrossings(triangle, values);
    for (const PlanePolygon& piece : pieces_) addPiece(piece, part, sums);
  }
}

// Cuts the triangle into pieces in each of which every two surfaces that matter keep their
// order: two that both stay at or above the ground, or both at or below the base, do not.
void CellIntegral::cutAlongCrossings(const std::array<PlanePoint, 3>& triangle,
                                     const std::array<std::span<const double>, 3>& values) {
  const int ground = groundSurface(model_.Nbd);
  const int base = baseSurface(model_.Nbd);
  pieces_.assign(1, PlanePolygon(triangle.begin(), triangle.end()));
  const auto allThree = [&](const auto& holds) {
    return holds(values[0]) && holds(values[1]) && holds(values[2]);
  };
  for (int a = 1; a < surfaces_; ++a) {
    for (int b = a + 1; b <= surfaces_; ++b) {
      const auto above = [&](std::span<const double> v) {
        return v[a] >= v[ground] && v[b] >= v[ground];
      };
      const auto below = [&](std::span<const double> v) {
        return v[a] <= v[base] && v[b] <= v[base];
      };
      if (allThree(above) || (b != ground && allThree(below))) continue;
      const PlaneFunction meet{surface_[a].a - surface_[b].a, surface_[a].b - surface_[b].b,
                               surface_[a].c - surface_[b].c};
      cut_.clear();
      for (const PlanePolygon& piece : pieces_) {
        if (!changesSign(piece, meet)) {
          cut_.push_back(piece);
          continue;
        }
        for (const PlaneFunction& side : {meet, PlaneFunction{-meet.a, -meet.b, -meet.c}}) {
          clipToHalfPlane(piece, side, kept_);
          if (kept_.size() >= 3) cut_.push_back(kept_);
        }
      }
      std::swap(pieces_, cut_);
    }
  }
}

// A piece where the thicknesses are linear: the runs of its centroid's column hold throughout.
void CellIntegral::addPiece(const PlanePolygon& piece, const IntegratedPart& part, UnitSums& sums) {
  const PolygonMoments whole = momentsOf(piece);
  if (whole.area <= kSliver) return;
  levelsAt(whole.centroid());
  column_.build(levels_);
  std::fill(thickness_.begin(), thickness_.end(), 0.0);
  column_.addThicknesses(levels_, 1.0, thickness_);
  PolygonMoments m = whole;
  if (part.polygons) {
    m = {};
    for (const PlanePolygon& polygon : *part.polygons) {
      clipToConvex(polygon, piece, kept_, scratch_);
      const PolygonMoments in = momentsOf(kept_);
      m.area += part.orientation * in.area;
      m.x += part.orientation * in.x;
      m.y += part.orientation * in.y;
    }
    if (m.area <= kSliver) return;
    levelsAt(m.centroid());
  }
  column_.addThicknesses(levels_, m.area, sums.volume);
  for (std::size_t u = 0; u < thickness_.size(); ++u) {
    if (thickness_[u] > 0) sums.present[u] += m.area;
  }
  sums.outcrop[column_.surfaceUnit()] += m.area;
}

void CellIntegral::levelsAt(const PlanePoint& p) {
  for (int s = 1; s <= surfaces_; ++s) levels_[s] = surface_[s].at(p);
}

}  // namespace kalvenor
