#pragma once

#include <vector>

#include "model/boreholes.h"
#include "scene/scene.h"

namespace kalvenor {

// Each hole with a log as one Borehole part named by its id: its path from the top of the first
// logged interval to the base of the last, through the survey stations between, every segment
// in the unit logged along it (0 where the log has a gap or names a unit the model lacks).
std::vector<ScenePart> boreholeLines(const BoreholeSet& holes);

}  // namespace kalvenor
