#pragma once

#include <cstdint>
#include <string>

#include "model/array2d.h"
#include "model/elevations.h"
#include "model/grid_header.h"
#include "model/missing_nodes.h"

namespace kalvenor {

class ItemReader;

// The most nodes one grid may have: 4096 x 4096 elevations take 128 MiB, and every display node
// also carries units and projections.
constexpr std::int64_t kMaxGridNodes = std::int64_t{4096} * 4096;

// A regular grid of elevations, one at every node of its header.
struct GridSurface : GridHeader {
  Elevations z;  // (1..Nx, 1..Ny)
  // Values that followed the last elevation and were ignored. Numbers written with decimal
  // commas or blanks inside them read as two values each and leave a surplus here.
  std::int64_t trailingValues = 0;
  // Nodes without a value (a raster's NODATA); the own text format has none.
  MissingNodes missing;
  // The coordinate system as WKT; empty when the file names none.
  std::string srs;
  // What was done to the file's grid on reading, for the user: "" when it was taken as it is.
  std::string note;
};

// How grids are read beyond what the file says.
struct GridReading {
  // A projected coordinate system (WKT), or "" for none: grids that name no system are given it,
  // and rasters in geographic coordinates are warped into it.
  std::string srs;
};

// Reads a grid file in the own text format or a single-band raster GDAL opens, decided by the
// content: a file whose first item is a number is the own format, whatever GDAL would make of
// it, so every own grid reads and fails as it always did (a failure that looks like an XYZ file
// without its header line says how to add one). A binary file and a GDAL name (isGdalName) are
// rasters. The own format: Nx, Ny, Xmin, Ymin, Dx, Dy, then the elevations column by column with
// y fastest, in any line layout. Rejects with ReadError what the evaluation cannot use: fewer
// than 2 nodes a direction, too many nodes, a zero or non-finite spacing or origin, a non-finite
// elevation, a file that ends early. Whatever follows the last elevation is accepted and counted
// in trailingValues. Rasters: see readRasterGrid.
GridSurface readGridSurface(const std::string& path, const GridReading& reading = {});
GridSurface readGridSurface(ItemReader& reader);

// True when `path` is written as a name only GDAL resolves: one of its file systems
// (/vsizip/archive.zip/dem.tif) or a driver's prefix before a file (NETCDF:"file.nc":z,
// GPKG:file.gpkg:table). Decided by the text alone; a drive letter is no prefix.
bool hasGdalPrefix(const std::string& path);

// True when `path` names no file here but has a GDAL prefix and GDAL knows it as a raster. Such
// a name is read as a raster.
bool isGdalName(const std::string& path);

// The coordinate system (WKT) the grid in the file would be read with, found from its header
// alone; "" when it has none or the file cannot be opened (reading it says why).
std::string gridSystem(const std::string& path, const GridReading& reading);

// One line for the user naming the grid file and how many values after its last elevation were
// ignored; "" when there were none.
std::string trailingValuesWarning(const std::string& path, const GridSurface& grid);

}  // namespace kalvenor
