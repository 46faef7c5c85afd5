#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kalvenor {

struct RenderOptions;

// The programs an option means something to. The window refuses kalvenor-render's own by name.
enum class Takers { BothPrograms, RenderOnly };

// Whether a value follows the option, and how often it may be given.
enum class Arity { Flag, Once, Repeated };

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

// A line of the window's help that sums up options it shares with kalvenor-render. Its words are
// option names and the words that join them ("--start", "with", "--end"); a line without a
// description is a list of options, each followed by a comma, that runs on over several lines.
struct SummaryLine {
  std::vector<std::string> words{};
  std::string description{};
};

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
