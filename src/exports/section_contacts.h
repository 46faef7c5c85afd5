#pragma once

#include <vector>

#include "evaluation/boundary_profile.h"
#include "evaluation/section_grid.h"
#include "model/logical_model.h"

namespace kalvenor {

// A point of a contact line: where it lies in the map's coordinates and how far along the
// section from its first column.
struct ContactPoint {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  double distance = 0.0;
};

// One unbroken stretch of a boundary (1..Nbd) or of the ground (0) in the section plane.
struct ContactLine {
  int boundary = 0;
  std::vector<ContactPoint> points;
};

// What a section build left: the section and the boundaries' elevations under its columns.
struct SectionContactInputs {
  const SectionGrid& section;
  const BoundaryProfile& profile;
  const LogicalModel& model;
};

// The ground along the section and every boundary where it is a contact: between the base and
// the ground, with different units on its two sides. The ground comes first, then the boundaries
// lowest first. Between columns every surface runs straight, so a line ends exactly where it
// leaves the base, the ground or the contact and starts again where it comes back, as a line of
// its own. Every line also breaks at each column over no known ground. (Boundary grids have a
// value at every node: reading refuses them otherwise.)
std::vector<ContactLine> sectionContacts(const SectionContactInputs& in);

}  // namespace kalvenor
