#pragma once

#include <string>
#include <vector>

#include "evaluation/unit_volumes.h"
#include "model/logical_model.h"

namespace kalvenor {

// "unit,name,volume_m3,outcrop_area_m2,present_area_m2,mean_thickness_m,largest_thickness_m",
// one line per unit, lowest first: the mean thickness is the volume over the area where the unit
// has thickness.
std::string unitVolumesCsv(const LogicalModel& model, const std::vector<UnitVolume>& volumes);

}  // namespace kalvenor
