#include "render/survey_trace.h"

#include <array>

namespace kalvenor {
namespace {

constexpr int kTraceWidth = 3;
constexpr int kEndHalfSide = 4;  // pixels from an end point to the sides of its square

MaybePoint groundAt(const Projection& projection, const SectionGrid& s, int h) {
  if (!s.groundKnown[h]) return std::nullopt;
  return projection.project(s.x(h), s.y(h), s.sectionSurfZ[h]);
}

void markEnd(Canvas& canvas, const MaybePoint& at) {
  if (!at) return;
  const std::int32_t d = kEndHalfSide;
  const std::array<CanvasPoint, 4> square{{{at->x - d, at->y - d},
                                           {at->x + d, at->y - d},
                                           {at->x + d, at->y + d},
                                           {at->x - d, at->y + d}}};
  canvas.polygonCorners(square);
}

}  // namespace

void drawSurveyTrace(Canvas& canvas, const Projection& projection, const SectionGrid& s) {
  if (s.Nxy < 1) return;
  setSolidPen(canvas, kSurveyTraceColor, kTraceWidth);
  MaybePoint last = groundAt(projection, s, 1);
  for (int h = 2; h <= s.Nxy; ++h) {
    const MaybePoint next = groundAt(projection, s, h);
    lineBetween(canvas, last, next);
    last = next;
  }
  canvas.setFillStyle(FillStyle::Solid);
  canvas.setFillColor(kSurveyTraceColor);
  setSolidPen(canvas, kSurveyTraceColor, 1);
  markEnd(canvas, groundAt(projection, s, 1));
  markEnd(canvas, groundAt(projection, s, s.Nxy));
}

}  // namespace kalvenor
