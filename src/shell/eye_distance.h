#pragma once

#include "session/session.h"

namespace kalvenor {

// Perspective switched on without a distance of its own (0, the first time) gets one that makes
// a picture: twice the diagonal of the block, heights exaggerated, rounded up to two significant
// digits as a user would write it, so the eye lies well outside the block. Without a display
// surface there is no block, and the values stay as they are.
PerspectiveValues withEyeDistance(PerspectiveValues values, const ViewerState& state);

}  // namespace kalvenor
