#pragma once

#include <set>
#include <string>
#include <vector>

#include "app/option_combination.h"
#include "app/option_spec.h"

namespace kalvenor {

// What a command line named: every option word in the order given, and the options given a
// value that is not empty (and every flag given).
struct NamedOptions {
  std::vector<std::string> named;
  std::set<std::string> given;
};

// Reads `args` into `o` by the table, for kalvenor-render when `render` is set and else for the
// window. An option's value is the next argument, whatever it looks like. Throws UsageError at the
// first problem from the left: a word that names no option, an option of kalvenor-render given
// to the window, a value the option does not take, an option of one value given twice, or a
// missing value.
NamedOptions readOptions(const std::vector<OptionSpec>& table, bool render,
                         const std::vector<std::string>& args, RenderOptions& o);

// Throws UsageError with the message of the first rule, in their order, that the options break.
void checkCombinations(const std::vector<Combination>& rules, const NamedOptions& options);

}  // namespace kalvenor
