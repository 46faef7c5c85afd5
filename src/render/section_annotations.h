#pragma once

#include <vector>

#include "evaluation/section_grid.h"
#include "render/annotation_layout.h"
#include "render/draw_options.h"
#include "render/projection.h"

namespace kalvenor {

// What is written around a section.
struct SectionNotes {
  const SectionGrid& section;
  double Zbase;
  double Zmax;
  double Ve;
  std::vector<LegendEntry> legend;  // the units in the section, highest first
  const Annotations& options;
  PackedColor lineColor;
};

// The room the annotations of a section take around it.
Margins sectionMargins(const Canvas& canvas, const SectionNotes& notes);

// With axes: the distance from the start along the base and the elevation up the left end, both
// ticked at round numbers, "A" and "A'" with their coordinates over the ends and the vertical
// exaggeration when there is one; with the legend, the units beside the section; and the title.
void drawSectionNotes(Canvas& canvas, const Projection& projection, const SectionNotes& notes);

}  // namespace kalvenor
