#pragma once

#include "model/clip_area.h"
#include "model/coordinate_system.h"
#include "model/file_stamp.h"
#include "model/input_names.h"
#include "model/raster_grid.h"
#include "model/vector_table.h"

namespace kalvenor {

// The functions of the model that call GDAL, as the GDAL module gives them. The module is a
// library of its own that links GDAL; the two programs load it when they first call one of
// these (gdal_module_calls.cpp), so a run on the own text grids never loads GDAL and the hundred
// libraries it needs. Tests and benchmarks link the functions themselves.
struct ModelGdalFunctions {
  decltype(&kalvenor::projectedSystemWkt) projectedSystemWkt;
  decltype(&kalvenor::identifiedSystem) identifiedSystem;
  decltype(&kalvenor::isGeographic) isGeographic;
  decltype(&kalvenor::sameSystem) sameSystem;
  decltype(&kalvenor::linearUnitName) linearUnitName;
  decltype(&kalvenor::systemName) systemName;
  decltype(&kalvenor::isGdalRaster) isGdalRaster;
  decltype(&kalvenor::readRasterGrid) readRasterGrid;
  decltype(&kalvenor::rasterSystem) rasterSystem;
  decltype(&kalvenor::gdalNameStamp) gdalNameStamp;
  decltype(&kalvenor::readVectorTable) readVectorTable;
  decltype(&kalvenor::reprojectedPoints) reprojectedPoints;
  decltype(&kalvenor::readPolygonLayer) readPolygonLayer;
};

// What the module calls back in the program: the names its messages give the inputs are the
// program's (the window names its controls).
struct ProgramFunctions {
  decltype(&kalvenor::inputName) inputName;
};

// The names the module's tables go by.
inline constexpr const char* kModelGdalFunctions = "kalvenor_gdal_model_functions";
inline constexpr const char* kExportGdalFunctions = "kalvenor_gdal_export_functions";
inline constexpr const char* kConnectGdalModule = "kalvenor_gdal_connect";

// The address of `name` in the GDAL module. The first call loads the module, on whichever thread
// makes it while the others wait, and hands it the program's functions. A module that cannot
// be loaded ends the program with a message and exit status 2: the programs are installed with
// it and with GDAL, so the raster the user asked for cannot be read or written.
void* gdalModuleSymbol(const char* name);

}  // namespace kalvenor
