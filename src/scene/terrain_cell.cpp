#include "scene/terrain_cell.h"

#include <algorithm>
#include <map>
#include <utility>

#include "render/cell_split.h"

namespace kalvenor {
namespace {

// A corner of an outline, with the cell edges it lies on (bit e for edge e).
struct Vertex {
  std::uint64_t key = 0;
  ScenePoint p{};
  unsigned edges = 0;
};

// A convex outline and, for each of its sides (from vertex n to n + 1), the chord it lies on,
// or -1 for a piece of a cell edge.
struct Outline {
  std::vector<Vertex> v;
  std::vector<int> chordOf;
};

struct Chord {
  Vertex a, b;
  int cut = 0;
};

struct EdgePoint {
  Vertex v;
  double along = 0;  // the distance from corner e
  int boundary = 0;
};

double side(const ScenePoint& a, const ScenePoint& b, const ScenePoint& p) {
  return (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0]);
}

double nudged(double w, double zEps) { return w == 0 ? zEps : w; }

// How far p lies from a along the axis-parallel edge from a to b, a difference of nearby
// coordinates and so exact: both cells beside the edge order its points alike.
double alongEdge(const ScenePoint& a, const ScenePoint& b, const ScenePoint& p) {
  if (b[0] != a[0]) return b[0] > a[0] ? p[0] - a[0] : a[0] - p[0];
  return b[1] > a[1] ? p[1] - a[1] : a[1] - p[1];
}

unsigned cornerEdges(int n) { return (1u << n) | (1u << (n == 1 ? 4 : n - 1)); }

class CellSplitter {
 public:
  CellSplitter(const TerrainCell& cell, double zEps) : c_(cell), zEps_(zEps) {}
  TerrainSplit split(const ClassifyAt& classify);

 private:
  void findEdgePoints();
  std::vector<CellCut> findCuts(const ClassifyAt& classify);
  Outline wholeCell() const;
  std::array<Outline, 2> cut(const Outline& o, int chord);
  Vertex inside(int chord, int other, const Vertex& p, const Vertex& q);
  double zAt(double x, double y) const;
  bool above(const ScenePoint& p, const CellCut& cut, int cutIndex) const;

  const TerrainCell& c_;
  double zEps_;
  std::array<std::vector<EdgePoint>, 5> onEdge_;
  std::vector<Chord> chords_;
  std::map<std::uint64_t, Vertex> insides_;
  std::uint64_t strays_ = 0;
  std::vector<TerrainContact> contacts_;
};

// The crossing of boundary k on edge e, computed from the edge's ends in the order of their keys
// whichever cell asks, so that both cells beside the edge get it to the last bit; a crossing
// that lands on a node is that node.
void CellSplitter::findEdgePoints() {
  const int Nbd = static_cast<int>(c_.w.size()) - 1;
  for (int e = 1; e <= 4; ++e) {
    const int e2 = e == 4 ? 1 : e + 1;
    const bool forward = c_.cornerKey[e] < c_.cornerKey[e2];
    const int p = forward ? e : e2, q = forward ? e2 : e;
    auto& points = onEdge_[e];
    for (int k = 1; k <= Nbd; ++k) {
      const double wp = nudged(c_.w[k][p], zEps_), wq = nudged(c_.w[k][q], zEps_);
      if (!(wp * wq <= 0) || (wp == 0 && wq == 0)) continue;
      const double t = wp / (wp - wq);
      const ScenePoint &P = c_.corner[p], &Q = c_.corner[q];
      EdgePoint point{
          {(c_.edgeKey[e] * 16 + static_cast<std::uint64_t>(k)) | kCrossingKeys,
           {P[0] + (Q[0] - P[0]) * t, P[1] + (Q[1] - P[1]) * t, P[2] + (Q[2] - P[2]) * t},
           1u << e},
          0,
          k};
      for (const int n : {p, q}) {
        if (point.v.p[0] == c_.corner[n][0] && point.v.p[1] == c_.corner[n][1]) {
          point.v = {c_.cornerKey[n], c_.corner[n], cornerEdges(n)};
        }
      }
      point.along = alongEdge(c_.corner[e], c_.corner[e2], point.v.p);
      points.push_back(point);
    }
    std::sort(points.begin(), points.end(),
              [](const EdgePoint& a, const EdgePoint& b) { return a.along < b.along; });
    // Two crossings at one place are one vertex, the one of the smaller key in both cells.
    for (std::size_t m = 1; m < points.size(); ++m) {
      auto& a = points[m - 1].v;
      auto& b = points[m].v;
      if (a.p[0] != b.p[0] || a.p[1] != b.p[1]) continue;
      if (a.key < b.key) {
        b = a;
      } else {
        a = b;
      }
    }
  }
}

// The boundaries the pictures cut a contact cell along: traced where they separate two units.
std::vector<CellCut> CellSplitter::findCuts(const ClassifyAt& classify) {
  std::vector<CellCut> cuts;
  if (!c_.contact) return cuts;
  ModelCorners at;
  for (int n = 1; n <= 5; ++n) {
    at.x[n] = c_.corner[n][0];
    at.y[n] = c_.corner[n][1];
    at.z[n] = c_.corner[n][2];
  }
  const Corners<CanvasPoint> unusedCanvas{};
  for (int k = 1; k < static_cast<int>(c_.w.size()); ++k) {
    auto trace = boundaryTrace(unusedCanvas, c_.w[k], at, zEps_, classify);
    if (!trace) continue;
    std::array<Vertex, 5> crossing;
    for (int n = 1; n <= trace->count; ++n) {
      const int e = trace->at[n].edge;
      for (const EdgePoint& point : onEdge_[e]) {
        if (point.boundary == k) crossing[n] = point.v;
      }
      trace->at[n].X = crossing[n].p[0];
      trace->at[n].Y = crossing[n].p[1];
    }
    for (const auto& [from, to] : crossingSegments(*trace)) {
      const Vertex &a = crossing[from], &b = crossing[to];
      if (a.key == b.key) continue;
      contacts_.push_back({k, {a.key, a.p}, {b.key, b.p}});
      // A chord along a cell edge cuts nothing inside the cell.
      if ((a.edges & b.edges) != 0) continue;
      chords_.push_back({a, b, static_cast<int>(cuts.size())});
    }
    cuts.push_back({*trace, c_.w[k]});
  }
  return cuts;
}

Outline CellSplitter::wholeCell() const {
  Outline o;
  for (int n = 1; n <= 4; ++n) {
    o.v.push_back({c_.cornerKey[n], c_.corner[n], cornerEdges(n)});
    for (const EdgePoint& point : onEdge_[n]) {
      if (point.v.key != o.v.back().key && point.v.key != c_.cornerKey[n == 4 ? 1 : n + 1]) {
        o.v.push_back(point.v);
      }
    }
  }
  o.chordOf.assign(o.v.size(), -1);
  return o;
}

double CellSplitter::zAt(double x, double y) const {
  const Corners<ScenePoint>& P = c_.corner;
  const double u = (x - P[1][0]) / (P[2][0] - P[1][0]);
  const double v = (y - P[1][1]) / (P[4][1] - P[1][1]);
  return (1 - u) * (1 - v) * P[1][2] + u * (1 - v) * P[2][2] + u * v * P[3][2] +
         (1 - u) * v * P[4][2];
}

// Where chord `chord` crosses the side from p to q, which lies on chord `other` (-1: on a cell
// edge, which rounding alone can make happen). Two chords cross once, at the point computed from
// the two chords alone, so that every part beside it gets the same vertex.
Vertex CellSplitter::inside(int chord, int other, const Vertex& p, const Vertex& q) {
  std::uint64_t slot = 0;
  ScenePoint a1 = p.p, b1 = q.p, a2 = chords_[chord].a.p, b2 = chords_[chord].b.p;
  if (other >= 0) {
    const auto [lo, hi] = std::minmax(chord, other);
    slot = static_cast<std::uint64_t>(lo) * 32 + static_cast<std::uint64_t>(hi);
    a1 = chords_[lo].a.p;
    b1 = chords_[lo].b.p;
    a2 = chords_[hi].a.p;
    b2 = chords_[hi].b.p;
  } else {
    slot = 992 + (strays_++ % 32);
  }
  const std::uint64_t key = kInsideKeys | (c_.cellKey * 1024 + slot);
  if (const auto found = insides_.find(key); found != insides_.end()) return found->second;
  const double d1x = b1[0] - a1[0], d1y = b1[1] - a1[1];
  const double d2x = b2[0] - a2[0], d2y = b2[1] - a2[1];
  const double t = ((a2[0] - a1[0]) * d2y - (a2[1] - a1[1]) * d2x) / (d1x * d2y - d1y * d2x);
  const double x = a1[0] + d1x * t, y = a1[1] + d1y * t;
  const Vertex v{key, {x, y, zAt(x, y)}, 0};
  insides_[key] = v;
  return v;
}

// The two parts of an outline on either side of a chord. The chord's ends are corners of
// every outline that reaches them, so the chord's line crosses only other chords.
std::array<Outline, 2> CellSplitter::cut(const Outline& o, int chord) {
  const Chord& c = chords_[chord];
  const std::size_t n = o.v.size();
  std::vector<double> s(n);
  for (std::size_t m = 0; m < n; ++m) {
    const Vertex& v = o.v[m];
    s[m] = v.key == c.a.key || v.key == c.b.key ? 0 : side(c.a.p, c.b.p, v.p);
  }
  struct Walked {
    Vertex v;
    bool onLine;
    int chordAfter;  // the side it starts in the outline cut
    std::uint64_t next;
  };
  std::array<std::vector<Walked>, 2> walked;
  for (std::size_t m = 0; m < n; ++m) {
    const std::size_t m2 = (m + 1) % n;
    const Walked w{o.v[m], s[m] == 0, o.chordOf[m], o.v[m2].key};
    if (s[m] >= 0) walked[0].push_back(w);
    if (s[m] <= 0) walked[1].push_back(w);
    if ((s[m] > 0 && s[m2] < 0) || (s[m] < 0 && s[m2] > 0)) {
      const Walked x{inside(chord, o.chordOf[m], o.v[m], o.v[m2]), true, o.chordOf[m], o.v[m2].key};
      walked[0].push_back(x);
      walked[1].push_back(x);
    }
  }
  std::array<Outline, 2> parts;
  for (int half = 0; half < 2; ++half) {
    const auto& w = walked[half];
    for (std::size_t m = 0; m < w.size(); ++m) {
      const Walked& b = w[(m + 1) % w.size()];
      const bool alongChord = w[m].onLine && b.onLine && w[m].next != b.v.key;
      parts[half].v.push_back(w[m].v);
      parts[half].chordOf.push_back(alongChord ? chord : w[m].chordAfter);
    }
  }
  return parts;
}

// Taken about the first corner, so that a sliver at map coordinates keeps its area.
double planArea(const Outline& o) {
  const ScenePoint& a = o.v[0].p;
  double twice = 0;
  for (std::size_t m = 1; m + 1 < o.v.size(); ++m) twice += side(a, o.v[m].p, o.v[m + 1].p);
  return twice / 2;
}

// The side of a cut a point lies on: that of most corners on the same side of each of the cut's
// chords, ties to the upper side, as the pictures decide it.
bool CellSplitter::above(const ScenePoint& p, const CellCut& cut, int cutIndex) const {
  const auto aboveAt = [&](int n) { return nudged(cut.w[n], zEps_) > 0; };
  for (const bool strict : {true, false}) {
    int up = 0, down = 0;
    for (int n = 1; n <= 4; ++n) {
      bool together = true;
      for (const Chord& chord : chords_) {
        if (chord.cut != cutIndex) continue;
        const double sp = side(chord.a.p, chord.b.p, p);
        const double sc = side(chord.a.p, chord.b.p, c_.corner[n]);
        together = together && (strict ? sp * sc > 0 : sp * sc >= 0);
      }
      if (together) ++(aboveAt(n) ? up : down);
    }
    if (up + down > 0) return up >= down;
  }
  return aboveAt(1);
}

TerrainSplit CellSplitter::split(const ClassifyAt& classify) {
  findEdgePoints();
  const std::vector<CellCut> cuts = findCuts(classify);
  std::vector<Outline> outlines{wholeCell()};
  for (int chord = 0; chord < static_cast<int>(chords_.size()); ++chord) {
    std::vector<Outline> next;
    for (const Outline& o : outlines) {
      for (Outline& part : cut(o, chord)) {
        if (part.v.size() >= 3 && planArea(part) != 0) next.push_back(std::move(part));
      }
    }
    outlines = std::move(next);
  }
  std::vector<TerrainPart> parts;
  for (const Outline& o : outlines) {
    ScenePoint middle{};
    for (const Vertex& v : o.v) {
      for (int a = 0; a < 2; ++a) middle[a] += v.p[a] / static_cast<double>(o.v.size());
    }
    CellPart sides;
    for (int c = 0; c < static_cast<int>(cuts.size()); ++c) {
      sides.above.push_back(above(middle, cuts[c], c));
    }
    TerrainPart part;
    part.unit = partUnit(sides, cuts, c_.unit, zEps_);
    for (const Vertex& v : o.v) part.corners.push_back({v.key, v.p});
    parts.push_back(std::move(part));
  }
  return {std::move(parts), std::move(contacts_)};
}

}  // namespace

TerrainSplit splitTerrainCell(const TerrainCell& cell, const ClassifyAt& classify, double zEps) {
  return CellSplitter(cell, zEps).split(classify);
}

}  // namespace kalvenor
