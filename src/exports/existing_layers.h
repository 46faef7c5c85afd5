#pragma once

#include <string>
#include <vector>

class GDALDriver;
class OGRLayer;

namespace kalvenor {

// Whether a layer is one the contacts export wrote: lines (or, in a format without geometries,
// a table) with the fields name, boundary, from_dist and to_dist. Only such a layer is replaced.
bool isContactsLayer(OGRLayer& layer);

// The layers other than `layer` in the file of that driver at `path`, which a new contacts layer
// must leave as they are. Throws ExportError naming the file when GDAL cannot read it as such a
// file, when its layer of that name is not a contacts layer, or when another program holds it
// open (a database journal lies beside it), so that nothing of it is lost.
std::vector<std::string> layersToKeep(const std::string& path, GDALDriver& driver,
                                      const std::string& layer);

}  // namespace kalvenor
