#pragma once

#include <optional>
#include <string>

#include "model/display_surface.h"
#include "render/view_settings.h"

namespace kalvenor {

// The largest magnification and vertical exaggeration a picture is drawn with: beyond it the
// block leaves any canvas and the picture is blank.
constexpr double kMaxViewFactor = 1000.0;

// Why the view cannot make a picture of the display surface, or nothing when it can. The
// magnification and the exaggeration must be positive, finite and at most kMaxViewFactor; in
// perspective the eye must stand at a positive distance and in front of its plane; the base must
// lie below the top of the surface.
std::optional<std::string> viewProblem(const ViewSettings& view, double Zbase,
                                       const DisplaySurface& display);

}  // namespace kalvenor
