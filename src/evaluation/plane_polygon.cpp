#include "evaluation/plane_polygon.h"

#include <utility>

namespace kalvenor {

void clipToHalfPlane(const PlanePolygon& polygon, const PlaneFunction& f, PlanePolygon& kept) {
  kept.clear();
  const std::size_t n = polygon.size();
  for (std::size_t k = 0; k < n; ++k) {
    const PlanePoint& p = polygon[k];
    const PlanePoint& q = polygon[(k + 1) % n];
    const double fp = f.at(p);
    const double fq = f.at(q);
    if (fp >= 0) kept.push_back(p);
    if ((fp < 0 && fq > 0) || (fp > 0 && fq < 0)) {
      const double t = fp / (fp - fq);
      kept.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
    }
  }
}

void clipToConvex(const PlanePolygon& polygon, const PlanePolygon& convex, PlanePolygon& kept,
                  PlanePolygon& scratch) {
  kept = polygon;
  const std::size_t n = convex.size();
  for (std::size_t k = 0; k < n && !kept.empty(); ++k) {
    const PlanePoint& p = convex[k];
    const PlanePoint& q = convex[(k + 1) % n];
    // Positive on the left of p -> q, the inside of a counterclockwise polygon.
    const PlaneFunction left{(q.x - p.x) * -p.y - (q.y - p.y) * -p.x, -(q.y - p.y), q.x - p.x};
    clipToHalfPlane(kept, left, scratch);
    std::swap(kept, scratch);
  }
}

PolygonMoments momentsOf(const PlanePolygon& polygon) {
  PolygonMoments m;
  const std::size_t n = polygon.size();
  for (std::size_t k = 0; k < n; ++k) {
    const PlanePoint& p = polygon[k];
    const PlanePoint& q = polygon[(k + 1) % n];
    const double cross = p.x * q.y - q.x * p.y;
    m.area += cross;
    m.x += (p.x + q.x) * cross;
    m.y += (p.y + q.y) * cross;
    m.xy += (p.x * q.y + 2 * p.x * p.y + 2 * q.x * q.y + q.x * p.y) * cross;
  }
  m.area /= 2;
  m.x /= 6;
  m.y /= 6;
  m.xy /= 24;
  return m;
}

}  // namespace kalvenor
