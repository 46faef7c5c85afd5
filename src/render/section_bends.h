#pragma once

#include "evaluation/section_grid.h"
#include "model/packed_color.h"
#include "render/canvas.h"
#include "render/projection.h"

namespace kalvenor {

// Each bend of a section along a polyline as a thin vertical line from the base to Zmax, and over
// it the name of its vertex, or its number where it has no name; nothing on a straight section.
void drawSectionBends(Canvas& canvas, const Projection& projection, const SectionGrid& section,
                      double Zbase, double Zmax, PackedColor lineColor);

// The room the bend labels take over the section.
double bendLabelRoom(const Canvas& canvas, const SectionGrid& section);

}  // namespace kalvenor
