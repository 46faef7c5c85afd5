#pragma once

#include <cpl_minixml.h>
#include <gdal.h>
#include <ogr_spatialref.h>

#include <functional>
#include <memory>
#include <string>

#include "exports/export_error.h"
#include "exports/exported_file.h"
#include "exports/north_up_grid.h"
#include "exports/work_folder.h"

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

// What GDAL's driver could not do to the file at `path`, with GDAL's last reason on one line;
// `what` is a translated piece that names what was to be written ("the units grid").
ExportError gdalFailure(const std::string& path, const GDALDriver& driver, const std::string& what);

// The name GDAL knows the driver's format by ("GPKG", "ESRI Shapefile").
std::string formatName(const GDALDriver& driver);

struct XmlTreeDestroyer {
  void operator()(CPLXMLNode* node) const { CPLDestroyXMLNode(node); }
};
// An XML tree GDAL made, destroyed when it goes.
using XmlTree = std::unique_ptr<CPLXMLNode, XmlTreeDestroyer>;

struct CloseDataset {
  void operator()(GDALDataset* dataset) const;
};
using GdalDataset = std::unique_ptr<GDALDataset, CloseDataset>;

// Has `write` make the dataset for `path` in a work folder and closes it; `verify`, when given,
// then checks what was written while it is still there. Returns every file the driver made (a
// shapefile is several), each to be written beside `path` under its own name. The folder is in
// GDAL's memory unless the driver cannot write there (it says so, or makes no dataset there): then
// it lies beside the target. Throws gdalFailure(path, driver, what) when the driver made nothing
// or GDAL reported a failure; nothing reaches the target here.
ExportedFiles writeWithGdal(const std::string& path, GDALDriver& driver, const std::string& what,
                            const std::function<GdalDataset(const WorkFolder& folder)>& write,
                            const std::function<void(const WorkFolder& folder)>& verify = {});

enum class GdalData { Raster, Vector };

// The first GDAL driver that creates files of that kind with the extension of `path`; nullptr
// when there is none.
GDALDriver* creatingDriver(const std::string& path, GdalData kind);

// A GDAL driver by its short name ("GPKG"); nullptr when this GDAL lacks it.
GDALDriver* gdalDriver(const std::string& name);

// The coordinate system of a WKT text, with x east and y north whatever axis order it declares;
// throws ExportError naming `path` when GDAL cannot read it.
OGRSpatialReference coordinateSystem(const std::string& path, const std::string& wkt);

// A raster of one band of `type` in GDAL's memory, laid out as `raster` (its pixels areas) in the
// coordinate system `wkt` (none when empty); throws ExportError naming `path` with `noMemory` when
// GDAL cannot make it.
GdalDataset memoryRaster(const std::string& path, const NorthUpGrid& raster, GDALDataType type,
                         const std::string& wkt, const std::string& noMemory);

// An ESRI WKT of `system` (a .prj) that also names the system's EPSG code, so that GIS programs
// know it by its code: the ESRI form names none. Unchanged when the system has no EPSG code.
std::string withEpsgCode(const std::string& esriWkt, const OGRSpatialReference& system);

// The coordinate system `wkt` as the .prj at `prjPath` of an ESRI ASCII grid holds it: ESRI's
// WKT with the EPSG code (withEpsgCode); throws ExportError naming the file when it has no ESRI
// form.
std::string esriProjection(const std::string& prjPath, const std::string& wkt);

}  // namespace kalvenor
