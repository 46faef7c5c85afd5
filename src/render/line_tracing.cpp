#include "render/line_tracing.h"

#include <algorithm>
#include <cstdint>

#include "model/number_text.h"

namespace kalvenor {

CellCrossings edgeCrossings(Corners<double> w, const Corners<CanvasPoint>& P, double zEps) {
  for (int n = 1; n <= 5; ++n) {
    if (w[n] == 0) w[n] += zEps;
  }
  CellCrossings result;
  for (int e = 1; e <= 4; ++e) {
    if (!(w[e] * w[e + 1] <= 0)) continue;
    if (w[e] == 0 && w[e + 1] == 0) {
      result.degenerate = true;
      continue;
    }
    EdgeCrossing& c = result.at[++result.count];
    c.edge = e;
    c.t = -w[e] / (w[e + 1] - w[e]);
    c.X = Int(static_cast<double>(std::int64_t{P[e + 1].x} - P[e].x) * c.t) + P[e].x;
    c.Y = Int(static_cast<double>(std::int64_t{P[e + 1].y} - P[e].y) * c.t) + P[e].y;
  }
  return result;
}

std::vector<std::array<int, 2>> crossingSegments(const CellCrossings& c) {
  if (c.degenerate) return {};
  if (c.count == 2) return {{1, 2}};
  if (c.count != 4) return {};
  const auto squared = [&](int a, int b) {
    const double dx = c.at[a].X - c.at[b].X, dy = c.at[a].Y - c.at[b].Y;
    return dx * dx + dy * dy;
  };
  if (squared(1, 2) < squared(1, 4)) return {{3, 4}, {1, 2}};
  return {{1, 4}, {2, 3}};
}

void drawCrossingSegments(Canvas& canvas, const CellCrossings& c) {
  for (const auto& [a, b] : crossingSegments(c)) {
    canvas.line(static_cast<float>(c.at[a].X), static_cast<float>(c.at[a].Y),
                static_cast<float>(c.at[b].X), static_cast<float>(c.at[b].Y));
  }
}

namespace {

// True when the units at crossings 1 and 2 say the traced surface is no contact there: the
// same unit on both sides at both points.
bool sameUnitAcross(const CellCrossings& c, const ModelCorners& cell, const ClassifyAt& classify) {
  const auto& [x, y, z] = cell;
  std::array<Classification, 3> units;
  for (int n = 1; n <= 2; ++n) {
    const EdgeCrossing& at = c.at[n];
    const int e = at.edge;
    units[n] = classify(x[e] + (x[e + 1] - x[e]) * at.t, y[e] + (y[e + 1] - y[e]) * at.t,
                        z[e] + (z[e + 1] - z[e]) * at.t);
  }
  const int u = units[1].unitStrict;
  return units[1].unitInclusive == u && units[2].unitStrict == u && units[2].unitInclusive == u;
}

}  // namespace

std::optional<CellCrossings> boundaryTrace(const Corners<CanvasPoint>& P, const Corners<double>& w,
                                           const ModelCorners& cell, double zEps,
                                           const ClassifyAt& classify) {
  const CellCrossings c = edgeCrossings(w, P, zEps);
  if (c.degenerate || (c.count != 2 && c.count != 4)) return std::nullopt;
  if (sameUnitAcross(c, cell, classify)) return std::nullopt;
  return c;
}

void drawBoundaryInCell(Canvas& canvas, const Corners<CanvasPoint>& P, const Corners<double>& w,
                        const ModelCorners& cell, double zEps, const ClassifyAt& classify) {
  const auto c = boundaryTrace(P, w, cell, zEps, classify);
  if (c) drawCrossingSegments(canvas, *c);
}

std::optional<CellCrossings> cellTrace(const Corners<CanvasPoint>& P, const Corners<double>& w,
                                       const ModelCorners& cell, double zEps,
                                       const ClassifyAt* classify) {
  CellCrossings c = edgeCrossings(w, P, zEps);
  c.degenerate = false;  // a flat edge is simply not crossed
  if (c.count != 2 && c.count != 4) return std::nullopt;
  if (classify && sameUnitAcross(c, cell, *classify)) return std::nullopt;
  return c;
}

void drawCellTrace(Canvas& canvas, const Corners<CanvasPoint>& P, const Corners<double>& w,
                   const ModelCorners& cell, double zEps, const ClassifyAt* classify) {
  const auto c = cellTrace(P, w, cell, zEps, classify);
  if (c) drawCrossingSegments(canvas, *c);
}

void drawContoursInCell(Canvas& canvas, const Corners<CanvasPoint>& P, const Corners<double>& w,
                        const ContourSettings& s, double zEps) {
  const double vmin = std::min({w[1], w[2], w[3], w[4]});
  const double vmax = std::max({w[1], w[2], w[3], w[4]});
  const double lo = vmin < s.Cst ? s.Cst : vmin;
  const double hi = vmax > s.Cen ? s.Cen : vmax;
  const double kFirst = Int((lo - s.Cst) / s.Cin + 0.9999);
  const double kLast = Int((hi - s.Cst) / s.Cin + 0.0001);
  for (double k = kFirst; k <= kLast; ++k) {
    const double level = k * s.Cin + s.Cst;
    Corners<double> above{};
    for (int n = 1; n <= 5; ++n) above[n] = w[n] - level;
    const CellCrossings c = edgeCrossings(above, P, zEps);
    for (int n = 1; n <= c.count; ++n) {
      canvas.point(static_cast<float>(c.at[n].X), static_cast<float>(c.at[n].Y));
    }
    drawCrossingSegments(canvas, c);
  }
}

}  // namespace kalvenor
