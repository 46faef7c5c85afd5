#include "render/map_annotations.h"

#include <algorithm>
#include <cmath>

namespace kalvenor {
namespace {

double arrowLength(int size) { return 3.0 * size; }

// North on the picture as a unit vector (x right, y down), or nothing when it points along the
// line of sight and would be shorter than a few pixels.
std::optional<std::array<double, 2>> northOnPicture(const Projection& projection,
                                                    const MapNotes& n) {
  const auto here = projection.screenOffset({n.Xc, n.Yc, n.Zc});
  const auto north = projection.screenOffset({n.Xc, n.Yc + std::abs(n.depth), n.Zc});
  if (!here || !north) return std::nullopt;
  const double scale = projection.scale();
  const double dx = ((*north)[0] - (*here)[0]) * scale, dy = -((*north)[1] - (*here)[1]) * scale;
  const double length = std::hypot(dx, dy);
  if (length < 4) return std::nullopt;
  return std::array<double, 2>{dx / length, dy / length};
}

// The arrow along the unit vector u, its middle at `centre`.
void drawNorthArrow(Canvas& canvas, const std::array<double, 2>& u,
                    const std::array<double, 2>& centre, int size, PackedColor color) {
  const auto [cx, cy] = centre;
  const double half = arrowLength(size) / 2;
  const double tipX = cx + u[0] * half, tipY = cy + u[1] * half;
  setSolidPen(canvas, color, 2);
  canvas.line(static_cast<float>(cx - u[0] * half), static_cast<float>(cy - u[1] * half),
              static_cast<float>(tipX), static_cast<float>(tipY));
  // The head: two strokes back from the tip at 25 degrees either side.
  constexpr double kHead = 0.4226;  // sin 25°
  constexpr double kBack = 0.9063;  // cos 25°
  const double head = 0.35 * arrowLength(size);
  for (const double side : {-1.0, 1.0}) {
    const double bx = -u[0] * kBack - side * u[1] * kHead;
    const double by = -u[1] * kBack + side * u[0] * kHead;
    canvas.line(static_cast<float>(tipX), static_cast<float>(tipY),
                static_cast<float>(tipX + bx * head), static_cast<float>(tipY + by * head));
  }
  setSolidPen(canvas, color, 1);
  drawLabel(canvas, tipX + u[0] * 0.8 * size, tipY + u[1] * 0.8 * size + 0.35 * size, "N", size,
            TextAlign::Center);
}

double legendWidthOf(const Canvas& canvas, const MapNotes& n, int size) {
  return n.bar ? colourBarWidth(canvas, *n.bar, size) : legendWidth(canvas, n.legend, size);
}

}  // namespace

Margins mapMargins(const Canvas& canvas, const MapNotes& n) {
  const int size = annotationTextSize(canvas);
  Margins m{0.5 * size, 0.5 * size + titleHeight(n.options.title, size), 0.5 * size, 0.5 * size};
  if (n.options.legend) {
    m.left = arrowLength(size) + 3.4 * size;
    m.right = legendWidthOf(canvas, n, size) + 1.5 * size;
    if (n.bar) m.top += colourBarTitleHeight(size);
  }
  return limitedMargins(m, canvas);
}

void drawMapNotes(Canvas& canvas, const Projection& projection, const MapNotes& n) {
  const int size = annotationTextSize(canvas);
  canvas.setPenColor(n.lineColor);
  drawTitle(canvas, n.options.title, size);
  if (!n.options.legend) return;
  const double top = 0.5 * size + titleHeight(n.options.title, size);
  const double left = canvas.width() - legendWidthOf(canvas, n, size) - 0.5 * size;
  if (n.bar) {
    drawColourBar(canvas, *n.bar, left, top, size, n.lineColor);
  } else {
    drawLegend(canvas, n.legend, left, top, size, n.lineColor);
  }
  if (const auto north = northOnPicture(projection, n)) {
    const double middle = arrowLength(size) / 2 + 1.7 * size;
    drawNorthArrow(canvas, *north, {middle, top + middle}, size, n.lineColor);
  }
}

}  // namespace kalvenor
