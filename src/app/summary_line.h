#pragma once

#include <string>
#include <vector>

namespace kalvenor {

// A line of the window's help that sums up options it shares with kalvenor-render. Its words are
// option names and the words that join them ("--start", "with", "--end"); a line without a
// description is a list of options, each followed by a comma, that runs on over several lines.
struct SummaryLine {
  std::vector<std::string> words{};
  std::string description{};
};

}  // namespace kalvenor
