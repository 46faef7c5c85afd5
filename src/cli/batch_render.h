#pragma once

#include <ostream>
#include <string>

#include "app/command_line.h"

namespace kalvenor {

// Runs kalvenor-render: reads the inputs, builds the grids it needs and writes every output
// asked for. Problems go to `errors` as one line each; returns the exit status (0 or 2).
// default.txt is looked for in `programFolder`, then in the installed data folder.
int runBatchRender(const RenderOptions& options, const std::string& programFolder,
                   std::ostream& errors);

}  // namespace kalvenor
