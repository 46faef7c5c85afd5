#pragma once

#include <ogr_spatialref.h>

#include <functional>
#include <memory>
#include <string>

#include "cli/export_error.h"
#include "cli/exported_file.h"

class GDALDataset;
class GDALDriver;

namespace kalvenor {

// While it lives, GDAL's messages are kept rather than printed, so that a failure can be told in
// the run's own one-line message.
class GdalMessages {
 public:
  GdalMessages();
  ~GdalMessages();
  GdalMessages(const GdalMessages&) = delete;
  GdalMessages& operator=(const GdalMessages&) = delete;
};

// What GDAL's driver could not do to the file at `path`, with GDAL's last reason on one line.
ExportError gdalFailure(const std::string& path, const GDALDriver& driver, const std::string& what);

struct CloseDataset {
  void operator()(GDALDataset* dataset) const;
};
using GdalDataset = std::unique_ptr<GDALDataset, CloseDataset>;

// A folder of GDAL's in-memory file system, removed with its files when the object goes.
class MemoryFolder {
 public:
  MemoryFolder();
  ~MemoryFolder();
  MemoryFolder(const MemoryFolder&) = delete;
  MemoryFolder& operator=(const MemoryFolder&) = delete;

  // The in-memory path of a file named like `target`.
  std::string pathFor(const std::string& target) const;
  // Every file in the folder, each to be written beside `target` under its own name.
  ExportedFiles filesBeside(const std::string& target) const;

 private:
  std::string folder_;
};

// Has `write` make the dataset for `path` in memory, closes it and returns every file the driver
// made (a shapefile is several). Throws gdalFailure(path, driver, what) when it made none or
// GDAL reported a failure; nothing reaches the disk here.
ExportedFiles writeInMemory(const std::string& path, const GDALDriver& driver,
                            const std::string& what,
                            const std::function<GdalDataset(const std::string& memoryPath)>& write);

enum class GdalData { Raster, Vector };

// The first GDAL driver that creates files of that kind with the extension of `path`; nullptr
// when there is none.
GDALDriver* creatingDriver(const std::string& path, GdalData kind);

// A GDAL driver by its short name ("GPKG"); nullptr when this GDAL lacks it.
GDALDriver* gdalDriver(const std::string& name);

// The coordinate system of a WKT text, with x east and y north whatever axis order it declares;
// throws ExportError naming `path` when GDAL cannot read it.
OGRSpatialReference coordinateSystem(const std::string& path, const std::string& wkt);

// An ESRI WKT of `system` (a .prj) that also names the system's EPSG code, so that GIS programs
// know it by its code: the ESRI form names none. Unchanged when the system has no EPSG code.
std::string withEpsgCode(const std::string& esriWkt, const OGRSpatialReference& system);

}  // namespace kalvenor
