#pragma once

#include <vector>

#include "evaluation/boundary_profile.h"
#include "evaluation/section_grid.h"

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

// Where each boundary crosses the section plane between the base and the ground, and the ground
// itself along the whole section: the ground first, then the boundaries lowest first. Between
// columns a line runs straight, so a boundary that dips below the base or rises above the ground
// ends exactly where it crosses them and starts again where it comes back; it is split into as
// many lines. A column without a value (no elevation there) breaks a line too.
std::vector<ContactLine> sectionContacts(const SectionGrid& section,
                                         const BoundaryProfile& profile);

}  // namespace kalvenor
