#pragma once

#include <string>

#include "exports/exported_file.h"

namespace kalvenor {

// A folder where GDAL makes the files of one export before they join the run's other outputs:
// in GDAL's memory, or, for a driver that cannot write there, a hidden folder beside the target.
// It goes with its files when the object goes.
class WorkFolder {
 public:
  enum class Place { Memory, BesideTarget };

  // Throws ExportError naming `target` when the folder beside it cannot be made.
  WorkFolder(const std::string& target, Place place);
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  // The path in the folder of a file named like `target`.
  std::string pathFor(const std::string& target) const;
  // Puts a file named like `target` into the folder; throws ExportError naming it when it
  // cannot.
  void put(const std::string& target, const std::string& bytes) const;
  // Every file in the folder, each to be written beside `target` under its own name. Throws
  // ExportError naming `target` when the driver made a folder, which the run cannot write whole.
  ExportedFiles filesBeside(const std::string& target) const;

 private:
  std::string folder_;
  Place place_;
};

}  // namespace kalvenor
