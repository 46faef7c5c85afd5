#include "exports/borehole_check_files.h"

#include "exports/borehole_check_csv.h"
#include "exports/borehole_check_points.h"
#include "exports/file_extension.h"

namespace kalvenor {
namespace {

bool namesGeoPackage(const std::string& path) { return lowerExtension(path) == ".gpkg"; }

}  // namespace

ExportedFiles boreholeCheckFiles(const std::string& path, const BoreholeCheck& check,
                                 const std::string& srs) {
  if (namesGeoPackage(path)) return boreholeCheckGeoPackage(path, check, srs);
  return boreholeCheckCsvFiles(path, check);
}

std::vector<std::string> boreholeCheckFileNames(const std::string& path) {
  if (namesGeoPackage(path)) return {path};
  return boreholeCheckCsvNames(path);
}

}  // namespace kalvenor
