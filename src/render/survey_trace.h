#pragma once

#include "evaluation/section_grid.h"
#include "render/canvas.h"
#include "render/projection.h"

namespace kalvenor {

// The colour of the survey line's trace: apart from the earthy unit colours and from both
// backgrounds.
constexpr PackedColor kSurveyTraceColor = packRgb(230, 0, 126);

// The survey line as a solid trace along the ground under the section's columns, broken where
// the ground is unknown, with a filled square on the ground at either end of the section.
void drawSurveyTrace(Canvas& canvas, const Projection& projection, const SectionGrid& section);

}  // namespace kalvenor
