#pragma once

namespace kalvenor {

// Boundaries, units, the above/below cells and the pattern-to-unit table. Filled in when the
// logical model can be read.
struct LogicalModel {};

}  // namespace kalvenor
