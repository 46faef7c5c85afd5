#include "render/value_ramp.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/axis_ticks.h"
#include "model/number_text.h"
#include "render/annotation_layout.h"

namespace kalvenor {
namespace {

// Viridis at nine even steps, from 0 to 1.
constexpr std::array<std::array<int, 3>, 9> kViridis = {{{68, 1, 84},
                                                         {71, 45, 123},
                                                         {59, 82, 139},
                                                         {44, 114, 142},
                                                         {33, 145, 140},
                                                         {39, 173, 129},
                                                         {92, 200, 99},
                                                         {170, 220, 50},
                                                         {253, 231, 37}}};

double barHeight(int size) { return 12.0 * size; }
double barWidth(int size) { return 1.2 * size; }
// Strips the bar is painted in, enough that no step shows.
constexpr int kStrips = 96;

std::vector<double> barTicks(const ValueRamp& ramp) { return roundTicks(ramp.low, ramp.high, 6); }

}  // namespace

PackedColor ValueRamp::colorOf(double value) const {
  if (std::isnan(value)) return kNoValueColor;
  const double t = high > low ? std::clamp((value - low) / (high - low), 0.0, 1.0) : 0.5;
  const double at = t * (kViridis.size() - 1);
  const auto n = std::min(static_cast<std::size_t>(at), kViridis.size() - 2);
  const double f = at - static_cast<double>(n);
  const auto mix = [&](int c) {
    return static_cast<int>(std::lround((1 - f) * kViridis[n][c] + f * kViridis[n + 1][c]));
  };
  return packRgb(mix(0), mix(1), mix(2));
}

ValueRamp rampOver(const Array2D<double>& values) {
  double low = INFINITY, high = -INFINITY;
  for (int i = values.iFirst(); i <= values.iLast(); ++i) {
    for (int j = values.jFirst(); j <= values.jLast(); ++j) {
      const double v = values(i, j);
      if (std::isnan(v)) continue;
      low = std::min(low, v);
      high = std::max(high, v);
    }
  }
  if (low > high) return {};
  return {low, high};
}

double colourBarWidth(const Canvas& canvas, const ColourBar& bar, int size) {
  double labels = 0;
  for (const double tick : barTicks(bar.ramp)) {
    labels = std::max(labels, canvas.textWidth(numberText(tick), size));
  }
  return barWidth(size) + 0.6 * size + labels;
}

double colourBarTitleHeight(int size) { return 1.6 * size; }

void drawColourBar(Canvas& canvas, const ColourBar& bar, double left, double top, int size,
                   PackedColor lineColor) {
  setSolidPen(canvas, lineColor, 1);
  const double right = canvas.width() - 0.5 * size;
  const std::string title = fittedText(canvas, bar.title, size, right - 0.5 * size);
  if (!title.empty()) drawLabel(canvas, right, top + size, title, size, TextAlign::Right);
  const double y0 = top + colourBarTitleHeight(size);
  const double height = std::min(barHeight(size), canvas.height() - y0 - 0.5 * size);
  if (height < 2 * size) return;
  const auto x0 = static_cast<std::int32_t>(std::lround(left));
  const auto x1 = static_cast<std::int32_t>(std::lround(left + barWidth(size)));
  const auto yAt = [&](double fraction) {
    return static_cast<std::int32_t>(std::lround(y0 + (1 - fraction) * height));
  };
  const ValueRamp& r = bar.ramp;
  for (int strip = 0; strip < kStrips; ++strip) {
    const double middle = (strip + 0.5) / kStrips;
    const Quad quad{CanvasPoint{x0, yAt(static_cast<double>(strip + 1) / kStrips)},
                    {x1, yAt(static_cast<double>(strip + 1) / kStrips)},
                    {x1, yAt(static_cast<double>(strip) / kStrips)},
                    {x0, yAt(static_cast<double>(strip) / kStrips)}};
    canvas.setFillStyle(FillStyle::Solid);
    canvas.setPenStyle(PenStyle::Invisible);
    canvas.setFillColor(r.colorOf(r.low + middle * (r.high - r.low)));
    canvas.polygon(quad);
  }
  setSolidPen(canvas, lineColor, 1);
  canvas.setFillStyle(FillStyle::Transparent);
  canvas.polygon({CanvasPoint{x0, yAt(1)}, {x1, yAt(1)}, {x1, yAt(0)}, {x0, yAt(0)}});
  for (const double tick : barTicks(r)) {
    const double fraction = r.high > r.low ? (tick - r.low) / (r.high - r.low) : 0.5;
    const auto y = static_cast<float>(yAt(fraction));
    canvas.line(static_cast<float>(x1), y, static_cast<float>(x1 + 0.3 * size), y);
    drawLabel(canvas, x1 + 0.6 * size, y + 0.35 * size, numberText(tick), size, TextAlign::Left);
  }
}

}  // namespace kalvenor
