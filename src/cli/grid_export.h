#pragma once

#include <string>
#include <vector>

#include "evaluation/map_grid.h"
#include "evaluation/vertical_grid.h"
#include "model/display_surface.h"
#include "model/logical_model.h"
#include "model/packed_color.h"

namespace kalvenor {

// The unit of every display node as an ESRI ASCII grid, rows from north to south, columns from
// west to east, 0 for a node without a unit.
std::string esriUnitsGrid(const DisplaySurface& display, const Array2D<std::int16_t>& mapUnit);

// "unit,name,color" for every unit of the model, to style that grid.
std::string unitsLegendCsv(const LogicalModel& model, const std::vector<PackedColor>& unitColor);

// "h,v,x,y,z,unit" for every node of a section, h outer, v inner; unit -1 is air.
std::string sectionUnitsCsv(const VerticalGrid& section);

}  // namespace kalvenor
