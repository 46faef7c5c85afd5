#pragma once

#include <vector>

#include "evaluation/boundary_profile.h"
#include "evaluation/section_grid.h"
#include "evaluation/vertical_grid.h"
#include "scene/block_scene.h"

namespace kalvenor {

// The results of the last section build: the units of its nodes, its clipped line with the
// ground under each column, and the boundaries' elevations under the columns.
struct SectionPanelInputs {
  const VerticalGrid& grid;
  const SectionGrid& section;
  const BoundaryProfile& profile;
  // Laid flat for a drawing of the section: x the distance along the line, y 0, z the height.
  bool laidFlat = false;
};

// The section as a vertical panel along its line from the base up to the ground, one part per
// unit named and coloured as the walls' are, built by the same band rules; spans over columns
// with no ground are left open. It faces the side the section's picture is seen from.
std::vector<ScenePart> sectionPanel(const BlockSceneInputs& in, const SectionPanelInputs& section);

}  // namespace kalvenor
