#pragma once

#include <vector>

#include "render/borehole_section.h"

namespace kalvenor {

// holeOnSection for a section along a polyline: each part of the hole within the buffer goes to
// its nearest segment, the segments' bands meeting on the bisectors of the bends so that no part
// is lost outside a bend or counted twice inside it, and is projected square onto that segment.
std::vector<std::vector<SectionStation>> holeOnPolyline(const Borehole& hole,
                                                        const SectionBoreholes& in);

}  // namespace kalvenor
