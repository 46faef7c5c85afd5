#pragma once

#include <map>
#include <string>

namespace kalvenor {

// The name a message gives the place where the user sets an input: the command-line option
// ("--srs") in kalvenor-render, the control that sets it in the window, which names its own at
// start-up. An option without a name of its own is named as it is.
std::string inputName(const std::string& option);

// The names from now on; set once, before any message is made.
void setInputNames(std::map<std::string, std::string> names);

}  // namespace kalvenor
