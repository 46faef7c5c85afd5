#pragma once

#include "exports/borehole_check_points.h"
#include "exports/contacts_file.h"
#include "exports/geology_map_file.h"
#include "exports/units_raster.h"
#include "exports/value_raster.h"

namespace kalvenor {

// The exports' functions that call GDAL, as the GDAL module gives them to the batch renderer (see
// ModelGdalFunctions in model/gdal_module.h).
struct ExportGdalFunctions {
  decltype(&kalvenor::checkUnitsGridName) checkUnitsGridName;
  decltype(&kalvenor::unitsGridFileNames) unitsGridFileNames;
  decltype(&kalvenor::unitsGridFiles) unitsGridFiles;
  decltype(&kalvenor::checkContactsName) checkContactsName;
  decltype(&kalvenor::checkContactsSystem) checkContactsSystem;
  decltype(&kalvenor::contactsFileNames) contactsFileNames;
  decltype(&kalvenor::sectionContactsFiles) sectionContactsFiles;
  decltype(&kalvenor::boreholeCheckGeoPackage) boreholeCheckGeoPackage;
  decltype(&kalvenor::checkGeologyMapName) checkGeologyMapName;
  decltype(&kalvenor::checkGeologyMapSystem) checkGeologyMapSystem;
  decltype(&kalvenor::geologyMapFileNames) geologyMapFileNames;
  decltype(&kalvenor::geologyMapFiles) geologyMapFiles;
  decltype(&kalvenor::checkValueGridName) checkValueGridName;
  decltype(&kalvenor::valueGridFileNames) valueGridFileNames;
  decltype(&kalvenor::valueGridFiles) valueGridFiles;
};

}  // namespace kalvenor
