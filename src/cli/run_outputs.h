#pragma once

#include <QByteArray>
#include <string>
#include <vector>

#include "canvas/output_files.h"
#include "cli/run_files.h"

namespace kalvenor {

// The outputs of a run, each file with the option it is written for. They are written whole or
// not at all, and only when none of their files is an input or another output's file.
class RunOutputs {
 public:
  void add(const std::string& option, const std::string& given, const std::string& path,
           QByteArray bytes);
  // A folder the outputs go in that is made when missing (see OutputSet::addFolder).
  void addFolder(const std::string& path);

  // Throws UsageError as refuseOverwrites does, or OutputError as OutputSet::write does.
  void write(const std::vector<RunFile>& inputs) const;

 private:
  OutputSet outputs_;
  std::vector<RunFile> files_;
};

}  // namespace kalvenor
