#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kalvenor {

struct RenderOptions;

// The programs an option means something to. The window refuses kalvenor-render's own by name.
enum class Takers { BothPrograms, RenderOnly };

// Whether a value follows the option, and how often it may be given. An optional value is the
// next word unless that names an option; left out, the option is read with "".
enum class Arity { Flag, Once, Repeated, OptionalValue };

// One option of the two programs, declared once: the parser, both help texts and the check of the
// manual pages read it.
struct OptionSpec {
  std::string name{};                // "--zbase"
  std::vector<std::string> forms{};  // how its value is written, one per way ("Z"); none for a flag
  Arity arity = Arity::Once;
  Takers takers = Takers::BothPrograms;
  std::string section{};  // the heading kalvenor-render --help lists it under
  // What kalvenor-render --help says of each form, its lines broken by \n.
  std::vector<std::string> help{};
  // The window's own line for it; "" where the window's help sums it up with the others.
  std::string windowHelp{};
  // Said after it in that summary where the window does otherwise unless told ("4").
  std::string windowDefault{};
  // Stores the value in the options; a flag is given "".
  std::function<void(RenderOptions&, const std::string&)> read{};
  std::string alias{};  // another name ("-h"), "" for none
};

}  // namespace kalvenor
