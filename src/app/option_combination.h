#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kalvenor {

// A rule on which options go together, checked once every option has been read. An option counts
// as given when its value is not empty; a flag always.
struct Combination {
  bool fromSession = false;  // the rule is for a run from a session file, else for one without
  std::vector<std::string> when{};        // the rule holds when one of these is given; none: always
  std::vector<std::string> needs{};       // one of these must then be given
  bool onlyOne = false;                   // and no more than one of them
  std::vector<std::string> allowsOnly{};  // no other option may be named at all
  // The message when the rule is broken; `option` is the one that cannot go with the others.
  std::function<std::string(const std::string& option)> message{};
};

}  // namespace kalvenor
