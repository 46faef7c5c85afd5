#pragma once

#include <QPointF>
#include <span>
#include <vector>

namespace kalvenor {

// The shapes a vector canvas holds back before drawing them, each in a group (a fill colour, or
// the held lines), so that a new shape can be asked whether it overlaps one of another group: if
// not, the order in which the groups are drawn cannot show. Overlap is judged on the convex hulls,
// so an answer of "overlaps" may be too careful but "apart" is exact; shapes that only touch along
// an edge are apart.
class OverlapIndex {
 public:
  // Shapes between -margin and size + margin are indexed finely; beyond they share the border
  // buckets.
  OverlapIndex(double width, double height);

  void add(std::span<const QPointF> shape, int group);
  bool overlapsOtherGroup(std::span<const QPointF> shape, int group) const;
  void clear();

 private:
  struct Shape {
    std::vector<QPointF> corners;
    int group;
  };
  struct Span {
    int x0, y0, x1, y1;
  };
  Span bucketsOf(std::span<const QPointF> shape) const;

  int columns_;
  int rows_;
  std::vector<Shape> shapes_;
  std::vector<std::vector<int>> buckets_;
  // The buckets that hold a shape: a canvas clears its index at every text, so only these are
  // cleared.
  std::vector<int> filled_;
};

}  // namespace kalvenor
