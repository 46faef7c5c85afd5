#pragma once

#include <string>
#include <vector>

#include "exports/unit_styles.h"

namespace kalvenor {

// The GDAL sidecar (".aux.xml") that styles a units grid in any GDAL-based program: band 1 gets
// NODATA 0, a palette and the unit names as category names. `written` is the sidecar GDAL wrote
// for what the grid's format cannot hold (empty when it wrote none); the rest of it is kept.
std::string stylingSidecar(const std::string& written, const std::vector<UnitStyle>& styles);

}  // namespace kalvenor
