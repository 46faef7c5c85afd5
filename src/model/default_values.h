#pragma once

#include <string>
#include <vector>

namespace kalvenor {

// The default view read from default.txt. The meaning of each value comes from its position.
struct DefaultValues {
  double defaultAlpha = 225.0;
  double defaultGamma = 30.0;
  double defaultSca = 1.2;
  double defaultVe = 2.0;
  double defaultValue5 = 10000.0;
  double defaultValue6 = 0.0;
};

// Reads six pairs of a label line (ignored, commas and all) and a value line holding exactly one
// number. Throws ReadError naming the file and what was wrong (missing, a folder or a device,
// unreadable, larger than 1 MiB, empty, too short, a value line that is not one number) and
// where it applies the line; never returns a partly filled result.
DefaultValues readDefaultValues(const std::string& path);

// Reads the first of `places` (not empty) where anything exists: a broken file there is reported
// rather than passed over for one further on. Throws ReadError; when nothing is at any place, the
// error names the first and says where else it was looked for.
DefaultValues readDefaultFile(const std::vector<std::string>& places);

}  // namespace kalvenor
