#include "render/section_bends.h"

#include <string>

#include "render/annotation_layout.h"

namespace kalvenor {

void drawSectionBends(Canvas& canvas, const Projection& projection, const SectionGrid& s,
                      double Zbase, double Zmax, PackedColor lineColor) {
  if (s.bends.empty()) return;
  const int size = annotationTextSize(canvas);
  setSolidPen(canvas, lineColor, 1);
  for (const SectionBend& bend : s.bends) {
    const double x = s.pictureX(bend.distance), y = s.pictureY(bend.distance);
    const MaybePoint base = projection.project(x, y, Zbase);
    const MaybePoint top = projection.project(x, y, Zmax);
    lineBetween(canvas, base, top);
    if (top) {
      const std::string label = bend.name.empty() ? std::to_string(bend.vertex) : bend.name;
      drawLabel(canvas, top->x, top->y - 0.4 * size, label, size, TextAlign::Center);
    }
  }
}

double bendLabelRoom(const Canvas& canvas, const SectionGrid& s) {
  return s.bends.empty() ? 0.0 : 1.5 * annotationTextSize(canvas);
}

}  // namespace kalvenor
