#include "canvas/overlap_index.h"

#include <algorithm>
#include <cmath>

namespace kalvenor {
namespace {

// About the size of a few cells: few shapes to a bucket, few buckets to a shape.
constexpr double kBucket = 32.0;

// Corners rounded to whole pixels make neighbouring shapes overlap by less than a pixel; such a
// sliver may be drawn in either colour.
constexpr double kSlack = 0.5;

// Whether one of the sides of `a` separates the two shapes: all of `b` on or beyond the line
// through it, away from `a`.
bool sideSeparates(std::span<const QPointF> a, std::span<const QPointF> b) {
  const std::size_t n = a.size();
  for (std::size_t i = 0; i < n; ++i) {
    const QPointF p = a[i];
    const QPointF q = a[(i + 1) % n];
    const QPointF normal(q.y() - p.y(), p.x() - q.x());
    if (normal.isNull()) continue;
    double aMin = INFINITY, aMax = -INFINITY, bMin = INFINITY, bMax = -INFINITY;
    for (const QPointF& c : a) {
      const double d = QPointF::dotProduct(c, normal);
      aMin = std::min(aMin, d);
      aMax = std::max(aMax, d);
    }
    for (const QPointF& c : b) {
      const double d = QPointF::dotProduct(c, normal);
      bMin = std::min(bMin, d);
      bMax = std::max(bMax, d);
    }
    const double slack = kSlack * std::hypot(normal.x(), normal.y());
    if (aMax <= bMin + slack || bMax <= aMin + slack) return true;
  }
  return false;
}

bool apart(std::span<const QPointF> a, std::span<const QPointF> b) {
  return sideSeparates(a, b) || sideSeparates(b, a);
}

}  // namespace

OverlapIndex::OverlapIndex(double width, double height)
    : columns_(static_cast<int>(std::ceil(width / kBucket)) + 2),
      rows_(static_cast<int>(std::ceil(height / kBucket)) + 2),
      buckets_(static_cast<std::size_t>(columns_) * rows_) {}

OverlapIndex::Span OverlapIndex::bucketsOf(std::span<const QPointF> shape) const {
  double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
  for (const QPointF& c : shape) {
    left = std::min(left, c.x());
    right = std::max(right, c.x());
    top = std::min(top, c.y());
    bottom = std::max(bottom, c.y());
  }
  // One bucket of margin on each side; everything farther out shares the outermost ones.
  const auto bucket = [](double v, int count) {
    return std::clamp(static_cast<int>(std::floor(v / kBucket)) + 1, 0, count - 1);
  };
  return {bucket(left, columns_), bucket(top, rows_), bucket(right, columns_),
          bucket(bottom, rows_)};
}

void OverlapIndex::add(std::span<const QPointF> shape, int group) {
  const int index = static_cast<int>(shapes_.size());
  shapes_.push_back({{shape.begin(), shape.end()}, group});
  const Span s = bucketsOf(shape);
  for (int y = s.y0; y <= s.y1; ++y) {
    for (int x = s.x0; x <= s.x1; ++x) {
      std::vector<int>& bucket = buckets_[y * columns_ + x];
      if (bucket.empty()) filled_.push_back(y * columns_ + x);
      bucket.push_back(index);
    }
  }
}

bool OverlapIndex::overlapsOtherGroup(std::span<const QPointF> shape, int group) const {
  const Span s = bucketsOf(shape);
  for (int y = s.y0; y <= s.y1; ++y) {
    for (int x = s.x0; x <= s.x1; ++x) {
      for (const int index : buckets_[y * columns_ + x]) {
        const Shape& other = shapes_[index];
        if (other.group != group && !apart(shape, other.corners)) return true;
      }
    }
  }
  return false;
}

void OverlapIndex::clear() {
  shapes_.clear();
  for (const int bucket : filled_) buckets_[bucket].clear();
  filled_.clear();
}

}  // namespace kalvenor
