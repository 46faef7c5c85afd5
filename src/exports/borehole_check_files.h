#pragma once

#include <string>
#include <vector>

#include "evaluation/borehole_check.h"
#include "exports/exported_file.h"

namespace kalvenor {

// The check in the form the name asks for: a GeoPackage of the contact points when it ends in
// .gpkg (boreholeCheckGeoPackage; `srs` the display surface's system, WKT), the CSV tables
// otherwise (boreholeCheckCsvFiles). Throws ExportError naming the file.
ExportedFiles boreholeCheckFiles(const std::string& path, const BoreholeCheck& check,
                                 const std::string& srs);

// The files boreholeCheckFiles writes for `path`.
std::vector<std::string> boreholeCheckFileNames(const std::string& path);

}  // namespace kalvenor
