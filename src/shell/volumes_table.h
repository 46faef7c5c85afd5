#pragma once

#include <vector>

#include "evaluation/unit_volumes.h"
#include "model/logical_model.h"

class QTableWidget;

namespace kalvenor {

// Fills the table with a row per unit, the youngest on top: its name, volume, area at the
// surface, mean and largest thickness.
void showVolumes(QTableWidget& table, const LogicalModel& model,
                 const std::vector<UnitVolume>& volumes);
// The columns under their captions, without rows.
void clearVolumes(QTableWidget& table);

}  // namespace kalvenor
