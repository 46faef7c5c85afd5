#include "render/plan_overview.h"

#include <algorithm>
#include <cmath>

namespace kalvenor {
namespace {

// The node nearest `value` along an axis of nodes spaced evenly from `first` to `last`.
int nearestNode(double value, double first, double last, int nodes) {
  if (nodes < 2 || last == first) return 1;
  const double at = (value - first) / (last - first) * (nodes - 1) + 1;
  return std::clamp(static_cast<int>(std::lround(at)), 1, nodes);
}

PackedColor elevationGrey(const DisplaySurface& d, double z) {
  const double range = d.Zmax - d.Zmin;
  const double t = range > 0 ? std::clamp((z - d.Zmin) / range, 0.0, 1.0) : 0.5;
  const int grey = static_cast<int>(std::lround(110 + 130 * t));
  return packRgb(grey, grey, grey);
}

PackedColor nodeColor(const DisplaySurface& d, const OverviewUnits& units, int i, int j) {
  if (d.missing.at(i, j)) return kWhite;
  if (units.mapUnit && units.mapUnit->contains(i, j)) {
    const int unit = (*units.mapUnit)(i, j);
    if (unit > 0 && unit < static_cast<int>(units.unitColor->size())) {
      return (*units.unitColor)[static_cast<std::size_t>(unit)];
    }
  }
  return elevationGrey(d, d.dispZ(i, j));
}

}  // namespace

SurveyVertex PlanOverview::at(double u, double v) const {
  return {Xwest + u * (Xeast - Xwest), Ynorth - v * (Ynorth - Ysouth)};
}

std::array<double, 2> PlanOverview::fractionsOf(const SurveyVertex& point) const {
  return {(point.x - Xwest) / (Xeast - Xwest), (Ynorth - point.y) / (Ynorth - Ysouth)};
}

SurveyVertex PlanOverview::picked(double u, double v) const {
  const SurveyVertex p = at(u, v);
  const double pixel = std::max((Xeast - Xwest) / width, (Ynorth - Ysouth) / height);
  if (!(pixel > 0)) return p;
  const double step = std::pow(10.0, std::floor(std::log10(pixel)));
  return {std::round(p.x / step) * step, std::round(p.y / step) * step};
}

PlanOverview planOverview(const DisplaySurface& d, const OverviewUnits& units, int longest) {
  PlanOverview o;
  o.Xwest = std::min(d.nodeX[1], d.nodeX[d.Nx]);
  o.Xeast = std::max(d.nodeX[1], d.nodeX[d.Nx]);
  o.Ysouth = std::min(d.nodeY[1], d.nodeY[d.Ny]);
  o.Ynorth = std::max(d.nodeY[1], d.nodeY[d.Ny]);
  const double wide = o.Xeast - o.Xwest, high = o.Ynorth - o.Ysouth;
  const double span = std::max(wide, high);
  const double scale = span > 0 ? longest / span : 1.0;
  o.width = std::max(1, static_cast<int>(std::lround(wide * scale)));
  o.height = std::max(1, static_cast<int>(std::lround(high * scale)));
  o.pixels.resize(static_cast<std::size_t>(o.width) * o.height);
  for (int row = 0; row < o.height; ++row) {
    for (int column = 0; column < o.width; ++column) {
      const SurveyVertex p = o.at((column + 0.5) / o.width, (row + 0.5) / o.height);
      const int i = nearestNode(p.x, d.nodeX[1], d.nodeX[d.Nx], d.Nx);
      const int j = nearestNode(p.y, d.nodeY[1], d.nodeY[d.Ny], d.Ny);
      o.pixels[static_cast<std::size_t>(row) * o.width + column] = nodeColor(d, units, i, j);
    }
  }
  return o;
}

}  // namespace kalvenor
