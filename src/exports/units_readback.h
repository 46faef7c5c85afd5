#pragma once

#include <gdal.h>

#include <string>
#include <vector>

#include "exports/north_up_grid.h"

namespace kalvenor {

// Opens the units grid that `format` (a translated name, "GDAL's GTiff driver") wrote at
// `written` with GDAL's driver `reader` and throws ExportError naming `path` unless it gives back
// what was written: the size and place of `raster` and every value of `values` (north-up rows), a
// pixel marked NODATA counting as 0. The message names a lossless format to write instead.
void checkUnitsReadBack(const std::string& path, const std::string& written,
                        const std::string& format, const std::string& reader,
                        const NorthUpGrid& raster, const std::vector<GByte>& values);

}  // namespace kalvenor
