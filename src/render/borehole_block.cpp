#include "render/borehole_block.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "evaluation/boundary_interpolation.h"
#include "render/annotation_layout.h"
#include "render/borehole_marks.h"
#include "render/borehole_trace.h"

namespace kalvenor {
namespace {

constexpr int kLoggedWidth = 2;
constexpr int kUnloggedWidth = 1;
constexpr int kCollarRadius = 4;
// A straight stretch is cut into at most this many pieces to follow the surface above it.
constexpr int kMostPieces = 256;

// How far the point lies above the display surface, or nothing where the surface is not known.
std::optional<double> aboveSurface(const DisplaySurface& d, const HoleStation& p) {
  const double x0 = std::min(d.Xmin, d.xMax()), x1 = std::max(d.Xmin, d.xMax());
  const double y0 = std::min(d.Ymin, d.yMax()), y1 = std::max(d.Ymin, d.yMax());
  if (p.x < x0 || p.x > x1 || p.y < y0 || p.y > y1 || !surfaceDefinedAt(d, p.x, p.y))
    return std::nullopt;
  return p.z - surfaceElevationAt(d, p.x, p.y);
}

class HoleLines {
 public:
  HoleLines(Canvas& canvas, const Projection& projection, const BlockBoreholes& in)
      : canvas_(canvas),
        projection_(projection),
        in_(in),
        dashes_(canvas),
        step_(0.5 * std::min(std::abs(in.display.Dx), std::abs(in.display.Dy))) {}

  void draw(const Borehole& hole);

 private:
  void drawStretch(const HoleStation& a, const HoleStation& b, PackedColor color);
  void drawPiece(const HoleStation& a, const HoleStation& b, PackedColor color);
  bool below(const HoleStation& p) const {
    const auto gap = aboveSurface(in_.display, p);
    return gap && *gap < 0;
  }

  Canvas& canvas_;
  const Projection& projection_;
  const BlockBoreholes& in_;
  DashedLine dashes_;
  double step_;  // the longest piece across the surface whose elevation is taken at its ends
};

void HoleLines::draw(const Borehole& hole) {
  const std::vector<HoleStation> points = tracePoints(hole);
  const KeepSide aboveBase{0, 0, 1, -in_.Zbase};
  for (const auto& part : clipPath(points, std::span(&aboveBase, 1))) {
    dashes_.restart();
    for (std::size_t n = 1; n < part.size(); ++n) {
      const int interval = intervalAt(hole, 0.5 * (part[n - 1].depth + part[n].depth));
      canvas_.setPenStyle(PenStyle::Solid);
      canvas_.setPenWidth(interval < 0 ? kUnloggedWidth : kLoggedWidth);
      const PackedColor color = interval < 0
                                    ? in_.lineColor
                                    : loggedUnitColor(in_.unitColor, hole.intervals[interval].unit);
      drawStretch(part[n - 1], part[n], color);
    }
  }
}

// A straight stretch of the path in pieces short enough to follow the surface, each cut where it
// passes through the surface.
void HoleLines::drawStretch(const HoleStation& a, const HoleStation& b, PackedColor color) {
  const double across = std::hypot(b.x - a.x, b.y - a.y);
  const int pieces =
      step_ > 0 ? std::clamp(static_cast<int>(std::ceil(across / step_)), 1, kMostPieces) : 1;
  HoleStation from = a;
  for (int k = 1; k <= pieces; ++k) {
    const HoleStation to = k == pieces ? b : between(a, b, double(k) / pieces);
    const auto gapFrom = aboveSurface(in_.display, from), gapTo = aboveSurface(in_.display, to);
    if (gapFrom && gapTo && (*gapFrom < 0) != (*gapTo < 0)) {
      const HoleStation cut = between(from, to, *gapFrom / (*gapFrom - *gapTo));
      drawPiece(from, cut, color);
      drawPiece(cut, to, color);
    } else {
      drawPiece(from, to, color);
    }
    from = to;
  }
}

void HoleLines::drawPiece(const HoleStation& a, const HoleStation& b, PackedColor color) {
  if (b.depth <= a.depth) return;
  const MaybePoint pa = projection_.project(a.x, a.y, a.z), pb = projection_.project(b.x, b.y, b.z);
  if (!pa || !pb) return;
  if (below(between(a, b, 0.5))) {
    dashes_.draw(*pa, *pb, color);
  } else {
    lineBetween(canvas_, pa, pb, color);
  }
}

}  // namespace

void drawBlockBoreholes(Canvas& canvas, const Projection& projection, const BlockBoreholes& in) {
  HoleLines lines(canvas, projection, in);
  for (const Borehole& hole : in.boreholes.holes) lines.draw(hole);
  std::vector<std::pair<CanvasPoint, const std::string*>> collars;
  for (const Borehole& hole : in.boreholes.holes) {
    if (hole.z < in.Zbase) continue;
    if (const MaybePoint at = projection.project(hole.x, hole.y, hole.z)) {
      drawCollarMark(canvas, *at, kCollarRadius, kWhite);
      collars.emplace_back(*at, &hole.id);
    }
  }
  if (!in.labels) return;
  setSolidPen(canvas, in.lineColor, 1);
  const int size = annotationTextSize(canvas);
  LabelSpace space;
  for (const auto& [at, id] : collars) drawCollarId(canvas, space, at, kCollarRadius, *id, size);
}

}  // namespace kalvenor
