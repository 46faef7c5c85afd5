#include "render/cell_split.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace kalvenor {
namespace {

struct Point {
  double x = 0;
  double y = 0;
};
using Outline = std::vector<Point>;

// Positive on the left of a to b, negative on the right.
double side(const Point& a, const Point& b, const Point& p) {
  return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// A corner on a level counts as just above it, as the tracer takes it.
bool aboveAt(const Corners<double>& w, int n, double zEps) { return (w[n] == 0 ? zEps : w[n]) > 0; }

// The two parts of an outline on the left and right of the line through a and b.
std::array<Outline, 2> cut(const Outline& outline, const Point& a, const Point& b) {
  std::array<Outline, 2> parts;
  for (std::size_t n = 0; n < outline.size(); ++n) {
    const Point& p = outline[n];
    const Point& q = outline[(n + 1) % outline.size()];
    const double sp = side(a, b, p), sq = side(a, b, q);
    if (sp >= 0) parts[0].push_back(p);
    if (sp <= 0) parts[1].push_back(p);
    if ((sp > 0 && sq < 0) || (sp < 0 && sq > 0)) {
      const double t = sp / (sp - sq);
      const Point x{p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t};
      parts[0].push_back(x);
      parts[1].push_back(x);
    }
  }
  return parts;
}

bool enclosesArea(const Outline& outline) {
  if (outline.size() < 3) return false;
  double twiceArea = 0;
  for (std::size_t n = 0; n < outline.size(); ++n) {
    const Point& p = outline[n];
    const Point& q = outline[(n + 1) % outline.size()];
    twiceArea += p.x * q.y - q.x * p.y;
  }
  return std::abs(twiceArea) > 1e-9;
}

Point centroid(const Outline& outline) {
  Point sum;
  for (const Point& p : outline) {
    sum.x += p.x;
    sum.y += p.y;
  }
  const auto count = static_cast<double>(outline.size());
  return {sum.x / count, sum.y / count};
}

struct Chord {
  Point a;
  Point b;
};

// Where the values w change sign along the edge from p to q, computed from the edge's ends in
// one order whichever cell asks, so that the two cells sharing the edge get the same point to
// the last bit.
Point onEdge(Point p, double wp, Point q, double wq) {
  if (std::tie(q.x, q.y) < std::tie(p.x, p.y)) {
    std::swap(p, q);
    std::swap(wp, wq);
  }
  const double t = wp / (wp - wq);
  return {p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t};
}

// The segments the tracer draws, between the crossings where they lie on the cell's edges: the
// tracer rounds each crossing to a pixel from its own corner, so the cells on either side of an
// edge would round it apart and leave gaps between their fills. Segments of no length cut
// nothing and tell no side.
std::vector<Chord> chordsOf(const CellCut& cut, const Corners<Point>& corners, double zEps) {
  const auto crossing = [&](int n) {
    const int e = cut.crossings.at[n].edge;
    const auto w = [&](int corner) {
      const double value = cut.w[corner == 5 ? 1 : corner];
      return value == 0 ? zEps : value;
    };
    return onEdge(corners[e], w(e), corners[e + 1], w(e + 1));
  };
  std::vector<Chord> chords;
  for (const auto& [from, to] : crossingSegments(cut.crossings)) {
    const Chord chord{crossing(from), crossing(to)};
    if (chord.a.x != chord.b.x || chord.a.y != chord.b.y) chords.push_back(chord);
  }
  return chords;
}

// The side of a cut a point lies on: that of most corners on the same side of each of its
// chords. A crossing rounded onto a corner puts that corner on a chord, where it tells nothing;
// a corner beyond a chord squeezed to a point lies on the point's side and may be outvoted.
// Ties go to the upper side, as a corner on a level counts as above it.
bool aboveCut(const Point& p, const CellCut& cut, const std::vector<Chord>& chords,
              const Corners<Point>& corners, double zEps) {
  for (const bool strict : {true, false}) {
    int above = 0, below = 0;
    for (int n = 1; n <= 4; ++n) {
      bool together = true;
      for (const Chord& chord : chords) {
        const double sp = side(chord.a, chord.b, p), sc = side(chord.a, chord.b, corners[n]);
        together = together && (strict ? sp * sc > 0 : sp * sc >= 0);
      }
      if (together) ++(aboveAt(cut.w, n, zEps) ? above : below);
    }
    if (above + below > 0) return above >= below;
  }
  return aboveAt(cut.w, 1, zEps);
}

CanvasPoint toCanvas(const Point& p) {
  return {static_cast<std::int32_t>(std::lround(p.x)), static_cast<std::int32_t>(std::lround(p.y))};
}

}  // namespace

std::vector<CellPart> splitCell(const Corners<CanvasPoint>& P, const std::vector<CellCut>& cuts,
                                double zEps) {
  Corners<Point> corners;
  for (int n = 1; n <= 5; ++n) corners[n] = {double(P[n].x), double(P[n].y)};
  std::vector<Outline> outlines{{corners[1], corners[2], corners[3], corners[4]}};
  std::vector<std::vector<Chord>> chords;
  for (const CellCut& c : cuts) {
    chords.push_back(chordsOf(c, corners, zEps));
    for (const Chord& chord : chords.back()) {
      std::vector<Outline> next;
      for (const Outline& outline : outlines) {
        for (Outline& part : cut(outline, chord.a, chord.b)) {
          if (enclosesArea(part)) next.push_back(std::move(part));
        }
      }
      outlines = std::move(next);
    }
  }
  std::vector<CellPart> parts;
  for (const Outline& outline : outlines) {
    CellPart part;
    const Point middle = centroid(outline);
    bool dropped = false;
    for (std::size_t c = 0; c < cuts.size(); ++c) {
      part.above.push_back(aboveCut(middle, cuts[c], chords[c], corners, zEps));
      dropped = dropped || (cuts[c].dropAbove && part.above.back());
    }
    if (dropped) continue;
    Outline onPixels;
    for (const Point& p : outline) {
      part.corners.push_back(toCanvas(p));
      onPixels.push_back({double(part.corners.back().x), double(part.corners.back().y)});
    }
    // A sliver that rounds to no area fills no pixel.
    if (enclosesArea(onPixels)) parts.push_back(std::move(part));
  }
  return parts;
}

std::int32_t partUnit(const CellPart& part, const std::vector<CellCut>& cuts,
                      const Corners<std::int32_t>& cornerUnit, double zEps) {
  Corners<int> agreed{};
  int most = -1;
  for (int n = 1; n <= 4; ++n) {
    if (cornerUnit[n] == kAirUnit) continue;
    for (std::size_t c = 0; c < cuts.size(); ++c) {
      agreed[n] += !cuts[c].dropAbove && aboveAt(cuts[c].w, n, zEps) == part.above[c];
    }
    most = std::max(most, agreed[n]);
  }
  // A corner classified against the grain (on a boundary within rounding) is outvoted.
  int best = 1, bestVotes = 0;
  for (int n = 1; n <= 4; ++n) {
    if (cornerUnit[n] == kAirUnit || agreed[n] != most) continue;
    int votes = 0;
    for (int m = 1; m <= 4; ++m) votes += agreed[m] == most && cornerUnit[m] == cornerUnit[n];
    if (votes > bestVotes) {
      best = n;
      bestVotes = votes;
    }
  }
  return cornerUnit[best];
}

}  // namespace kalvenor
