#pragma once

#include <QByteArray>
#include <string>
#include <vector>

#include "canvas/output_files.h"
#include "exports/exported_file.h"

namespace kalvenor {

// Every file an export made written beside its target, with `folders` made first, all or none
// (see OutputSet). Throws OutputError naming the first that failed.
inline void writeExportedFiles(const ExportedFiles& files,
                               const std::vector<std::string>& folders = {}) {
  OutputSet outputs;
  for (const std::string& folder : folders) outputs.addFolder(folder);
  for (const ExportedFile& exported : files) {
    outputs.add(exported.path, QByteArray::fromStdString(exported.bytes));
  }
  outputs.write();
}

}  // namespace kalvenor
