#include "app/option_reading.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "app/command_line.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

std::string notOfTheWindow(const std::string& option) {
  return fill(translated("{1} is an option of kalvenor-render, not of the window"), {option});
}

// CLI11 hands each option its value as the option is read, so the first problem from the left is
// the one reported. It would also take "--zbase=5", "-hx" as -h -x, and report unknown words only
// at the end: the words are walked here first, and CLI11 reads only those up to the first that
// names no option, or an option whose value is missing.
class Reading {
 public:
  Reading(const std::vector<OptionSpec>& table, bool render, RenderOptions& o) : o_(o) {
    app_.set_help_flag();
    for (const OptionSpec& spec : table) {
      if (render || spec.takers == Takers::BothPrograms) {
        add(spec);
      } else {
        refuse(spec);
      }
    }
  }

  // CLI11 is handed every option with its value, an optional value left out as "".
  NamedOptions read(const std::vector<std::string>& args) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < args.size()) {
      const CLI::Option* option = known(args[at]);
      const bool optional = option && optionalValue_.contains(args[at]);
      const bool valued = option && !optional && option->get_expected_max() > 0;
      if (!option || (valued && at + 1 == args.size())) break;
      named_.push_back(args[at]);
      words.push_back(args[at++]);
      if (valued) words.push_back(args[at++]);
      if (optional) words.push_back(at < args.size() && !known(args[at]) ? args[at++] : "");
    }
    // CLI11 takes the words last first.
    app_.parse(std::vector<std::string>(words.rbegin(), words.rend()));
    if (at < args.size()) throw UsageError(stopAt(args[at]));
    return {named_, given_};
  }

 private:
  static std::string names(const OptionSpec& spec) {
    return spec.alias.empty() ? spec.name : spec.alias + "," + spec.name;
  }

  void add(const OptionSpec& spec) {
    if (spec.arity == Arity::OptionalValue) {
      optionalValue_.insert(spec.name);
      if (!spec.alias.empty()) optionalValue_.insert(spec.alias);
    }
    if (spec.arity == Arity::Flag) {
      app_.add_flag_callback(names(spec), [this, &spec] { take(spec, ""); })->trigger_on_parse();
      return;
    }
    app_.add_option(names(spec),
                    [this, &spec](const CLI::results_t& values) {
                      take(spec, values.front());
                      return true;
                    })
        ->expected(1)
        ->trigger_on_parse();
  }

  // The window names what only a batch run can do, and takes no value for it.
  void refuse(const OptionSpec& spec) {
    app_.add_flag_callback(names(spec), [&spec] { throw UsageError(notOfTheWindow(spec.name)); })
        ->trigger_on_parse();
  }

  void take(const OptionSpec& spec, const std::string& value) {
    // An option that takes one value must not be given twice: the second would silently win.
    const bool once = spec.arity == Arity::Once || spec.arity == Arity::OptionalValue;
    if (once && !taken_.insert(spec.name).second) throw UsageError(twice(spec.name));
    spec.read(o_, value);
    const bool present = spec.arity == Arity::Flag || spec.arity == Arity::OptionalValue;
    if (present || !value.empty()) given_.insert(spec.name);
  }

  const CLI::Option* known(const std::string& word) const {
    return word.size() > 1 && word[0] == '-' ? app_.get_option_no_throw(word) : nullptr;
  }

  // What is wrong with the word the walk stopped at.
  std::string stopAt(const std::string& word) const {
    if (!known(word)) return fill(translated("unknown option {1} (see {2})"), {word, "--help"});
    if (taken_.contains(word)) return twice(word);
    return fill(translated("{1} needs a value"), {word});
  }

  static std::string twice(const std::string& option) {
    return fill(translated("{1} is given twice; it takes one value"), {option});
  }

  RenderOptions& o_;
  CLI::App app_;
  std::vector<std::string> named_;
  std::set<std::string> taken_;
  std::set<std::string> given_;
  std::set<std::string> optionalValue_;  // the names and aliases of the options whose value may
                                         // be left out
};

std::size_t countGiven(const NamedOptions& options, const std::vector<std::string>& names) {
  return static_cast<std::size_t>(std::count_if(
      names.begin(), names.end(), [&](const std::string& n) { return options.given.contains(n); }));
}

}  // namespace

NamedOptions readOptions(const std::vector<OptionSpec>& table, bool render,
                         const std::vector<std::string>& args, RenderOptions& o) {
  return Reading(table, render, o).read(args);
}

void checkCombinations(const std::vector<Combination>& rules, const NamedOptions& options) {
  const bool fromSession = options.given.contains("--session");
  for (const Combination& rule : rules) {
    if (rule.fromSession != fromSession) continue;
    if (!rule.when.empty() && countGiven(options, rule.when) == 0) continue;
    for (const std::string& option : options.named) {
      if (!rule.allowsOnly.empty() && std::find(rule.allowsOnly.begin(), rule.allowsOnly.end(),
                                                option) == rule.allowsOnly.end()) {
        throw UsageError(rule.message(option));
      }
    }
    const std::size_t needed = countGiven(options, rule.needs);
    if (!rule.needs.empty() && (needed == 0 || (rule.onlyOne && needed > 1))) {
      throw UsageError(rule.message(""));
    }
  }
}

}  // namespace kalvenor
