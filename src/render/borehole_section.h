#pragma once

#include <vector>

#include "evaluation/section_grid.h"
#include "model/boreholes.h"
#include "model/grid_header.h"
#include "model/packed_color.h"
#include "render/canvas.h"
#include "render/projection.h"

namespace kalvenor {

// The distance from the section line within which holes are drawn on a section, unless one is
// typed: five of the display grid's larger spacing.
double defaultBoreholeBuffer(const GridHeader& display);

// A point of a hole seen on the section plane: its distance along the survey line from the start,
// its elevation and its depth along the hole.
struct SectionStation {
  double along = 0.0;
  double z = 0.0;
  double depth = 0.0;
};

// What the strip logs of a section are drawn from.
struct SectionBoreholes {
  const BoreholeSet& boreholes;
  const SectionGrid& section;
  double buffer;  // metres either side of the survey line
  double Zbase;   // the section's base: nothing is drawn below it
  const std::vector<PackedColor>& unitColor;
  PackedColor lineColor;  // of the hole ids
};

// The parts of a hole within the buffer of the survey line, between its start and end and above
// the base, projected square onto the section plane; each cut exactly where the hole leaves.
std::vector<std::vector<SectionStation>> holeOnSection(const Borehole& hole,
                                                       const SectionBoreholes& in);

// Every hole near the section as a strip log over the picture already there: a column a few
// pixels wide along its projected trace in the colours of the logged units (grey for a unit the
// model does not have), outlined in black, a tick across at every logged contact, and the hole's
// id above the top of what is drawn.
void drawSectionBoreholes(Canvas& canvas, const Projection& projection, const SectionBoreholes& in);

}  // namespace kalvenor
