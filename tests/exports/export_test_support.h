#pragma once

#include <ogr_spatialref.h>

#include <fstream>
#include <functional>
#include <string>

#include "exports/export_error.h"
#include "exports/exported_file.h"
#include "model/gdal_dataset.h"
#include "temp_file.h"

namespace kalvenor {

// A file written by an export, opened again with GDAL.
using Dataset = GdalDataset;

// A projected system for exports that carry one: WGS 84 / UTM zone 54N.
inline std::string utmWkt() {
  OGRSpatialReference srs;
  srs.importFromEPSG(32654);
  char* text = nullptr;
  srs.exportToWkt(&text);
  const std::string wkt = text;
  CPLFree(text);
  return wkt;
}

// Writes the files of an export where the run would, so that GDAL can open them again.
inline void writeToDisk(const ExportedFiles& files) {
  for (const ExportedFile& f : files) std::ofstream(f.path, std::ios::binary) << f.bytes;
}

// The message of the ExportError that `make` throws; "no error" when it throws none.
inline std::string exportErrorOf(const std::function<void()>& make) {
  try {
    make();
  } catch (const ExportError& error) {
    return error.what();
  }
  return "no error";
}

}  // namespace kalvenor
