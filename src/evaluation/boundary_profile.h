#pragma once

namespace kalvenor {

// Boundary elevations and node heights along a wall or the section line.
struct BoundaryProfile {};

}  // namespace kalvenor
