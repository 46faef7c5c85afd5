#pragma once

#include <string>

#include "model/boreholes.h"
#include "model/logical_model.h"
#include "model/table_placement.h"

namespace kalvenor {

// The systems the holes are placed in.
using BoreholeCoordinates = PlaneCoordinates;

// Reads the boreholes from their tables with GDAL's vector drivers: the collars, the optional
// surveys and the intervals, or the one table; the intervals' units matched to the model's, by
// name or through the optional code table. Collars in another system than the display
// surface's are reprojected into it (into the --srs system when the surface names none); a
// table in degrees needs --srs. Returns every hole or throws ReadError naming the file, the
// line (or feature) and the field at fault: nothing is half read. CoordinateSystemError when
// the --srs text names no projected system.
BoreholeSet readBoreholes(const BoreholeFiles& files, const LogicalModel& model,
                          const BoreholeCoordinates& coordinates);

}  // namespace kalvenor
