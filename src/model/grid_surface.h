#pragma once

namespace kalvenor {

// One grid of elevations as read from a surface file. Filled in when grid files can be read.
struct GridSurface {};

}  // namespace kalvenor
