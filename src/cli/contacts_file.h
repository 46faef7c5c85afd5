#pragma once

#include <string>
#include <vector>

#include "cli/exported_file.h"
#include "cli/section_contacts.h"

namespace kalvenor {

// Throws ExportError when no GDAL vector format writes files with this name's extension.
void checkContactsName(const std::string& path);

// The contact lines as one layer, named like the file, in the vector format of its extension
// (GeoPackage when it has none): a 3D line string per contact line in the map's coordinates and
// coordinate system (`srs`, WKT, none when empty), with the attributes "name" (the boundary's,
// or "ground"), "boundary" (its number; 0 the ground), "from_dist" and "to_dist" (the distance
// along the section of the line's two ends). Throws ExportError naming the file when GDAL fails.
ExportedFiles sectionContactsFiles(const std::string& path, const std::vector<ContactLine>& lines,
                                   const std::vector<std::string>& boundaryName,
                                   const std::string& srs);

}  // namespace kalvenor
