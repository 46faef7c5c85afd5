#include "render/borehole_residuals.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "render/annotation_layout.h"
#include "render/borehole_marks.h"
#include "render/borehole_trace.h"

namespace kalvenor {
namespace {

constexpr int kResidualCollarRadius = 5;

// Drawn first to last: the best fits under the worst, those without a residual under all.
constexpr int drawingRank(ResidualClass c) {
  return c == ResidualClass::NoResidual ? -1 : static_cast<int>(c);
}

void drawLegendBox(Canvas& canvas, PackedColor lineColor) {
  const int size = annotationTextSize(canvas);
  std::vector<LegendEntry> entries;
  for (int c = 0; c < kResidualClasses; ++c) {
    const auto cls = static_cast<ResidualClass>(c);
    entries.push_back({residualClassName(cls), residualClassColor(cls)});
  }
  const std::string heading = "Largest residual";
  // Rows 1.5 text heights apart under a heading row, half a text height off the corner.
  const double top = canvas.height() - 0.5 * size - 1.5 * size * (kResidualClasses + 1);
  // On a backing of the picture's background, so that the block and the collars under the
  // corner do not show through the classes.
  const double right =
      0.5 * size + std::max(legendWidth(canvas, entries, size), canvas.textWidth(heading, size)) +
      0.5 * size;
  const auto px = [](double v) { return static_cast<std::int32_t>(std::lround(v)); };
  const std::int32_t l = 0, t = px(top - 0.25 * size), r = px(right), b = px(canvas.height());
  canvas.setFillStyle(FillStyle::Solid);
  canvas.setFillColor(lineColor == kBlack ? kWhite : kBlack);
  canvas.setPenColor(lineColor == kBlack ? kWhite : kBlack);
  canvas.polygon({CanvasPoint{l, t}, CanvasPoint{r, t}, CanvasPoint{r, b}, CanvasPoint{l, b}});
  setSolidPen(canvas, lineColor, 1);
  drawLabel(canvas, 0.5 * size, top + size, heading, size, TextAlign::Left);
  drawLegend(canvas, entries, 0.5 * size, top + 1.5 * size, size, lineColor);
}

}  // namespace

ResidualClass residualClass(const AgreementSummary& hole) {
  if (hole.notInModel > 0) return ResidualClass::NotInModel;
  const double r = std::abs(hole.largestResidual);
  if (std::isnan(r)) return ResidualClass::NoResidual;
  if (r < 2) return ResidualClass::Below2;
  if (r < 5) return ResidualClass::Below5;
  return r < 10 ? ResidualClass::Below10 : ResidualClass::From10;
}

PackedColor residualClassColor(ResidualClass c) {
  switch (c) {
    case ResidualClass::Below2:
      return packRgb(26, 150, 65);
    case ResidualClass::Below5:
      return packRgb(255, 215, 0);
    case ResidualClass::Below10:
      return packRgb(253, 141, 60);
    case ResidualClass::From10:
      return packRgb(215, 25, 28);
    case ResidualClass::NotInModel:
      return packRgb(123, 50, 148);
    case ResidualClass::NoResidual:
      break;
  }
  return kUnknownUnitColor;
}

std::string residualClassName(ResidualClass c) {
  switch (c) {
    case ResidualClass::Below2:
      return "< 2 m";
    case ResidualClass::Below5:
      return "2 - 5 m";
    case ResidualClass::Below10:
      return "5 - 10 m";
    case ResidualClass::From10:
      return ">= 10 m";
    case ResidualClass::NotInModel:
      return "contact not in model";
    case ResidualClass::NoResidual:
      break;
  }
  return "no residual";
}

void drawResidualMap(Canvas& canvas, const Projection& projection, const ResidualMap& in) {
  const std::size_t count = std::min(in.boreholes.holes.size(), in.check.holes.size());
  std::vector<std::pair<int, std::size_t>> order;  // drawing rank, hole
  for (std::size_t n = 0; n < count; ++n)
    order.emplace_back(drawingRank(residualClass(in.check.holes[n].summary)), n);
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [rank, n] : order) {
    const Borehole& hole = in.boreholes.holes[n];
    if (const MaybePoint at = projection.project(hole.x, hole.y, hole.z)) {
      drawCollarMark(canvas, *at, kResidualCollarRadius,
                     residualClassColor(residualClass(in.check.holes[n].summary)));
    }
  }
  if (in.labels) {
    // The ids after every mark, so that no mark covers one.
    setSolidPen(canvas, in.lineColor, 1);
    const int size = annotationTextSize(canvas);
    LabelSpace space;
    for (const auto& [rank, n] : order) {
      const Borehole& hole = in.boreholes.holes[n];
      if (const MaybePoint at = projection.project(hole.x, hole.y, hole.z))
        drawCollarId(canvas, space, *at, kResidualCollarRadius, hole.id, size);
    }
  }
  drawLegendBox(canvas, in.lineColor);
}

}  // namespace kalvenor
