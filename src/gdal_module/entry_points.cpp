// What the GDAL module shows the programs that load it: the tables of the functions that call
// GDAL, and where the program hands over what the module calls back. Everything else in the
// module stays inside it (entry_points.map).
#include "exports/gdal_export_functions.h"
#include "model/gdal_module.h"

namespace {

const kalvenor::ProgramFunctions* program = nullptr;

}  // namespace

namespace kalvenor {

std::string inputName(const std::string& option) { return program->inputName(option); }

}  // namespace kalvenor

extern "C" {

void kalvenor_gdal_connect(const kalvenor::ProgramFunctions* given) { program = given; }

extern const kalvenor::ModelGdalFunctions kalvenor_gdal_model_functions = {
    .projectedSystemWkt = kalvenor::projectedSystemWkt,
    .identifiedSystem = kalvenor::identifiedSystem,
    .isGeographic = kalvenor::isGeographic,
    .sameSystem = kalvenor::sameSystem,
    .linearUnitName = kalvenor::linearUnitName,
    .systemName = kalvenor::systemName,
    .isGdalRaster = kalvenor::isGdalRaster,
    .readRasterGrid = kalvenor::readRasterGrid,
    .rasterSystem = kalvenor::rasterSystem,
    .gdalNameStamp = kalvenor::gdalNameStamp,
    .readVectorTable = kalvenor::readVectorTable,
    .reprojectedPoints = kalvenor::reprojectedPoints,
    .readPolygonLayer = kalvenor::readPolygonLayer,
};

extern const kalvenor::ExportGdalFunctions kalvenor_gdal_export_functions = {
    .checkUnitsGridName = kalvenor::checkUnitsGridName,
    .unitsGridFileNames = kalvenor::unitsGridFileNames,
    .unitsGridFiles = kalvenor::unitsGridFiles,
    .checkContactsName = kalvenor::checkContactsName,
    .checkContactsSystem = kalvenor::checkContactsSystem,
    .contactsFileNames = kalvenor::contactsFileNames,
    .sectionContactsFiles = kalvenor::sectionContactsFiles,
    .boreholeCheckGeoPackage = kalvenor::boreholeCheckGeoPackage,
    .checkGeologyMapName = kalvenor::checkGeologyMapName,
    .checkGeologyMapSystem = kalvenor::checkGeologyMapSystem,
    .geologyMapFileNames = kalvenor::geologyMapFileNames,
    .geologyMapFiles = kalvenor::geologyMapFiles,
    .checkValueGridName = kalvenor::checkValueGridName,
    .valueGridFileNames = kalvenor::valueGridFileNames,
    .valueGridFiles = kalvenor::valueGridFiles,
};
}
