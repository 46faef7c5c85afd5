#pragma once

#include <string>
#include <vector>

#include "evaluation/section_grid.h"
#include "exports/section_contacts.h"
#include "scene/scene.h"

namespace kalvenor {

// What a section drawing is made from: the section's panel of unit parts (laid flat, x the
// distance along the line, for a drawing at true scale; at its map position for one in space),
// the contacts and the ground from the same build, and the section itself.
struct SectionDxfInputs {
  const std::vector<ScenePart>& panel;
  const std::vector<ContactLine>& contacts;
  const SectionGrid& section;
  double Zmax = 0.0;                  // the top of the elevation axis
  double verticalExaggeration = 1.0;  // applied to the heights of a flat drawing
  bool inSpace = false;
  PackedColor lineColor{};
  std::string name = "A";  // of the ends: A and A'
};

// The section as a DXF drawing: each unit's part as filled triangles on a layer named and
// coloured as the unit, the contacts and the ground as polylines on layers of their own, and on
// a flat drawing the distance and elevation axes with their round-number labels, the name over
// the ends (A and A') and the exaggeration, all in metres (heights times the exaggeration, which
// the header keeps too). In space the panel stands at its real coordinates with true heights.
std::string sectionDxf(const SectionDxfInputs& in);

}  // namespace kalvenor
