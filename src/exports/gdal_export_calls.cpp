// The exports' functions that call GDAL, in the batch renderer: each loads the GDAL module on
// the first call of any and calls the module's.
#include "exports/gdal_export_functions.h"
#include "model/gdal_module.h"

namespace kalvenor {
namespace {

const ExportGdalFunctions& module() {
  static const auto& functions =
      *static_cast<const ExportGdalFunctions*>(gdalModuleSymbol(kExportGdalFunctions));
  return functions;
}

}  // namespace

void checkUnitsGridName(const std::string& path) { module().checkUnitsGridName(path); }

std::vector<std::string> unitsGridFileNames(const std::string& path) {
  return module().unitsGridFileNames(path);
}

ExportedFiles unitsGridFiles(const std::string& path, const UnitsGrid& grid) {
  return module().unitsGridFiles(path, grid);
}

void checkContactsName(const std::string& path, const std::string& layer) {
  module().checkContactsName(path, layer);
}

void checkContactsSystem(const std::string& path, const std::string& srs) {
  module().checkContactsSystem(path, srs);
}

std::vector<std::string> contactsFileNames(const std::string& path, const std::string& layer) {
  return module().contactsFileNames(path, layer);
}

ExportedFiles sectionContactsFiles(const std::string& path, const std::string& layer,
                                   const std::vector<ContactLine>& lines,
                                   const std::vector<std::string>& boundaryName,
                                   const std::string& srs) {
  return module().sectionContactsFiles(path, layer, lines, boundaryName, srs);
}

ExportedFiles boreholeCheckGeoPackage(const std::string& path, const BoreholeCheck& check,
                                      const std::string& srs) {
  return module().boreholeCheckGeoPackage(path, check, srs);
}

void checkGeologyMapName(const std::string& path) { module().checkGeologyMapName(path); }

void checkGeologyMapSystem(const std::string& path, const std::string& srs) {
  module().checkGeologyMapSystem(path, srs);
}

std::vector<std::string> geologyMapFileNames(const std::string& path) {
  return module().geologyMapFileNames(path);
}

ExportedFiles geologyMapFiles(const std::string& path, const GeologyMap& map) {
  return module().geologyMapFiles(path, map);
}

void checkValueGridName(const std::string& path) { module().checkValueGridName(path); }

std::vector<std::string> valueGridFileNames(const std::string& path) {
  return module().valueGridFileNames(path);
}

ExportedFiles valueGridFiles(const std::string& path, const ValueGrid& grid) {
  return module().valueGridFiles(path, grid);
}

}  // namespace kalvenor
