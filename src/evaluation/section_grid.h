#pragma once

namespace kalvenor {

// The geometry of the survey line and its vertical section grid.
struct SectionGrid {};

}  // namespace kalvenor
