#pragma once

#include <string>

#include "evaluation/borehole_check.h"
#include "exports/exported_file.h"

namespace kalvenor {

// The check's contacts as a GeoPackage for a residual map: one 3D point per logged contact, at
// the logged position in the display surface's coordinates and system (`srs`, WKT; GeoPackage's
// undefined Cartesian system when empty), with the fields hole, boundary, boundary_name,
// logged_depth, logged_z, modelled_depth, modelled_z, residual (null where there is none) and
// status, in one layer named like the file. A file of that name that holds anything but such a
// layer is kept: throws ExportError naming it, as when GDAL fails.
ExportedFiles boreholeCheckGeoPackage(const std::string& path, const BoreholeCheck& check,
                                      const std::string& srs);

}  // namespace kalvenor
