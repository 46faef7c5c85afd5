#include "app/option_help.h"

#include <algorithm>
#include <sstream>

namespace kalvenor {
namespace {

// What an option's lines begin with: its name and its value as the help writes it.
constexpr std::size_t kIndent = 2;
// The descriptions of the options start here, or on a line of their own below a long option.
constexpr std::size_t kDescriptionColumn = 24;
// The summary's descriptions start here, at least three spaces after the options.
constexpr std::size_t kSummaryColumn = 47;
// The summary's list of options wraps before this width.
constexpr std::size_t kSummaryWidth = 96;

// `text`'s lines, the first after `first` and the rest below it at `column`.
std::string described(std::string first, const std::string& text, std::size_t column) {
  std::string out;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    out += first + line + "\n";
    first = std::string(column, ' ');
  }
  return out;
}

std::string optionLine(const std::string& option, const std::string& text) {
  std::string first = std::string(kIndent, ' ') + option;
  if (first.size() + 2 > kDescriptionColumn) {
    first += "\n";
    first += std::string(kDescriptionColumn, ' ');
  } else {
    first.resize(kDescriptionColumn, ' ');
  }
  return described(first, text, kDescriptionColumn);
}

const OptionSpec& find(const std::vector<OptionSpec>& table, const std::string& name) {
  return *std::find_if(table.begin(), table.end(),
                       [&](const OptionSpec& spec) { return spec.name == name; });
}

// "--contours C0,C1,DC | auto[:N]" and what the window does unless told.
std::string summed(const OptionSpec& spec) {
  std::string text = spec.name;
  for (std::size_t i = 0; i < spec.forms.size(); ++i)
    text += (i == 0 ? " " : " | ") + spec.forms[i];
  if (!spec.windowDefault.empty()) text += " (default " + spec.windowDefault + ")";
  return text;
}

std::string listed(const std::vector<OptionSpec>& table, const SummaryLine& line) {
  std::string out;
  std::string current = std::string(kIndent, ' ');
  for (const std::string& name : line.words) {
    const std::string item = summed(find(table, name)) + ",";
    if (current.size() > kIndent && current.size() + 1 + item.size() > kSummaryWidth) {
      out += current + "\n";
      current = std::string(kIndent, ' ');
    }
    current += (current.size() > kIndent ? " " : "") + item;
  }
  return out + current + "\n";
}

std::string summaryLine(const std::vector<OptionSpec>& table, const SummaryLine& line) {
  if (line.description.empty()) return listed(table, line);
  std::string first = std::string(kIndent, ' ');
  for (const std::string& word : line.words) {
    if (word != "," && first.size() > kIndent) first += " ";
    first += word.starts_with("--") ? summed(find(table, word)) : word;
  }
  first.resize(std::max(kSummaryColumn, first.size() + 3), ' ');
  return described(first, line.description, kSummaryColumn);
}

}  // namespace

std::string renderHelp(const std::vector<OptionSpec>& table, const std::string& usage,
                       const std::string& footer) {
  std::string out = usage;
  const std::string* heading = nullptr;
  for (const OptionSpec& spec : table) {
    if (!heading || *heading != spec.section) out += spec.section + "\n";
    heading = &spec.section;
    if (spec.forms.empty()) out += optionLine(spec.name, spec.help.front());
    for (std::size_t i = 0; i < spec.forms.size(); ++i) {
      out += optionLine(spec.name + " " + spec.forms[i], spec.help[i]);
    }
  }
  return out + footer;
}

std::string windowHelp(const std::vector<OptionSpec>& table,
                       const std::vector<SummaryLine>& summary, const std::string& usage) {
  std::string out = usage;
  for (const SummaryLine& line : summary) out += summaryLine(table, line);
  for (const OptionSpec& spec : table) {
    if (spec.windowHelp.empty()) continue;
    const std::string form = spec.forms.empty() ? spec.name : spec.name + " " + spec.forms.front();
    out += optionLine(form, spec.windowHelp);
  }
  return out;
}

}  // namespace kalvenor
