#pragma once

#include <string>
#include <vector>

#include "exports/exported_file.h"
#include "exports/section_contacts.h"

namespace kalvenor {

// Throws ExportError when no GDAL vector format writes files with this name's extension, or
// when `layer` (the --layer name, empty for the default) is given for a format that holds one
// layer only.
void checkContactsName(const std::string& path, const std::string& layer);

// Throws ExportError when the format of `path` holds longitudes and latitudes only (GeoJSON) and
// the coordinate system `srs` of the map (WKT, none when empty) is unknown, so that the lines
// cannot be converted to them.
void checkContactsSystem(const std::string& path, const std::string& srs);

// The files sectionContactsFiles writes for `path` and `layer` whatever the lines (a driver may
// add its own).
std::vector<std::string> contactsFileNames(const std::string& path, const std::string& layer);

// The contact lines as one layer in the vector format of the extension of `path` (GeoPackage
// when it has none; a folder, or a name ending in /, is a folder of shapefiles, one per layer):
// a 3D line string per contact line in the map's coordinates and coordinate system (`srs`, WKT,
// none when empty; GeoJSON in longitudes and latitudes on WGS 84, the heights as they are), with
// the attributes "name" (the boundary's, or "ground"), "boundary" (its number; 0 the ground),
// "from_dist" and "to_dist" (the distance along the section of the line's two ends). The layer is
// named `layer`, or like the file (or folder) when that is empty. A GeoPackage, an SQLite file or
// another container that is there already keeps every other layer it holds, and a layer of that
// name is replaced only when it holds contacts. Throws ExportError naming the file when GDAL fails
// or the container cannot keep what it holds.
ExportedFiles sectionContactsFiles(const std::string& path, const std::string& layer,
                                   const std::vector<ContactLine>& lines,
                                   const std::vector<std::string>& boundaryName,
                                   const std::string& srs);

}  // namespace kalvenor
