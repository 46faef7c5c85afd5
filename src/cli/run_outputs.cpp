#include "cli/run_outputs.h"

#include <utility>

namespace kalvenor {

void RunOutputs::add(const std::string& option, const std::string& given, const std::string& path,
                     QByteArray bytes) {
  files_.push_back({option, given, path});
  outputs_.add(path, std::move(bytes));
}

void RunOutputs::addFolder(const std::string& path) { outputs_.addFolder(path); }

void RunOutputs::write(const std::vector<RunFile>& inputs) const {
  // The files the drivers made are known only now; they are checked before any is written.
  refuseOverwrites(inputs, files_);
  outputs_.write();
}

}  // namespace kalvenor
