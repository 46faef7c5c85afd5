#pragma once

#include <cstdint>
#include <vector>

#include "evaluation/boundary_profile.h"
#include "evaluation/section_grid.h"
#include "evaluation/vertical_grid.h"
#include "model/array2d.h"
#include "model/packed_color.h"
#include "model/render_context.h"
#include "render/canvas.h"
#include "render/picture_style.h"
#include "render/projection.h"

namespace kalvenor {

// What a cross-section picture is drawn from.
struct SectionPicture {
  const VerticalGrid& grid;               // geometry of the section's nodes
  const Array2D<std::int16_t>& drawUnit;  // unit of every node, -1 for air
  const SectionGrid& section;
  const BoundaryProfile& profile;
  double Zbase;
  double Zmax;
  double zEps;  // of the display surface
  PictureStyle style;
};

// Draws the section: the frame along the base and up both ends (no top edge: the top is the
// ground), the cells in their units (only outlines in the grid-line mode; air cells neither),
// and with boundary lines on, the contacts and the ground-surface line, then the frame again.
// Once the context is cancelled the next operation throws DrawingCancelled.
void drawSection(Canvas& canvas, const Projection& projection, const SectionPicture& picture,
                 const RenderContext& context = {});

// The outline of the section plane, dotted in the line colour, on the picture already there.
void drawSurveyLine(Canvas& canvas, const Projection& projection, const SectionGrid& section,
                    double Zbase, double Zmax, PackedColor lineColor);

}  // namespace kalvenor
