#pragma once

#include <string>
#include <vector>

#include "app/option_spec.h"
#include "app/summary_line.h"

namespace kalvenor {

// kalvenor-render --help: `usage`, then every option of the table under its heading with what
// kalvenor-render --help says of it, then `footer`.
std::string renderHelp(const std::vector<OptionSpec>& table, const std::string& usage,
                       const std::string& footer);

// kalvenor --help: `usage`, then the summary of the options the window shares with
// kalvenor-render, then the window's own lines for the rest.
std::string windowHelp(const std::vector<OptionSpec>& table,
                       const std::vector<SummaryLine>& summary, const std::string& usage);

}  // namespace kalvenor
