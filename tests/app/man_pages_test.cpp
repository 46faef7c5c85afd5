#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/command_line.h"
#include "test_paths.h"

namespace kalvenor {
namespace {

struct Page {
  const char* file;
  bool render;  // the page of kalvenor-render, else of the window
};

constexpr Page kPages[] = {{"kalvenor-render.1", true}, {"kalvenor.1", false}};

// The page's text with roff's font changes, escapes and joined words undone: ".BI \-\-size " W" x
// H" reads "--size WxH". Each line of a font macro is one line of the result.
std::string plainText(const std::string& page) {
  std::istringstream lines(page);
  std::string line;
  std::string text;
  const std::regex word(R"re("([^"]*)"|(\S+))re");
  while (std::getline(lines, line)) {
    if (std::regex_search(line, std::regex(R"(^\.(B|I|R|BI|IB|BR|RB|IR|RI)\s)"))) {
      std::string joined;
      const std::string args = line.substr(line.find(' ') + 1);
      for (auto it = std::sregex_iterator(args.begin(), args.end(), word);
           it != std::sregex_iterator(); ++it) {
        joined += (*it)[1].matched ? (*it)[1].str() : (*it)[2].str();
      }
      line = joined;
    }
    line = std::regex_replace(line, std::regex(R"(\\f[BIPR])"), "");
    text += std::regex_replace(line, std::regex(R"(\\-)"), "-") + "\n";
  }
  return text;
}

std::string pageText(const Page& page) {
  std::ifstream file(std::string(KALVENOR_MAN_DIR) + "/" + page.file);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_FALSE(text.str().empty()) << page.file;
  return plainText(text.str());
}

bool takes(const Page& page, const OptionSpec& spec) {
  return page.render || spec.takers == Takers::BothPrograms;
}

// Whether `phrase` stands in `text` as it is, not as the start of a longer option.
bool standsIn(const std::string& text, const std::string& phrase) {
  for (std::size_t at = text.find(phrase); at != std::string::npos;
       at = text.find(phrase, at + 1)) {
    const char next = at + phrase.size() < text.size() ? text[at + phrase.size()] : ' ';
    if (next != '-' && !std::isalnum(static_cast<unsigned char>(next))) return true;
  }
  return false;
}

// Each option with its value as the help writes it: every form after the name, or all of them
// at once ("--contours C0,C1,DC | auto[:N]").
bool documented(const std::string& text, const OptionSpec& spec) {
  std::string together = spec.name;
  bool each = true;
  for (std::size_t i = 0; i < spec.forms.size(); ++i) {
    together += (i == 0 ? " " : " | ") + spec.forms[i];
    each = each && standsIn(text, spec.name + " " + spec.forms[i]);
  }
  return (each && !spec.forms.empty()) || standsIn(text, together);
}

TEST(ManPages, DocumentEveryOptionOfTheirProgramWithItsValue) {
  for (const Page& page : kPages) {
    const std::string text = pageText(page);
    for (const OptionSpec& spec : commandLineOptions()) {
      if (takes(page, spec)) {
        EXPECT_TRUE(documented(text, spec)) << page.file << ": " << spec.name;
      }
    }
  }
}

TEST(ManPages, NameNoOptionTheirProgramLacks) {
  for (const Page& page : kPages) {
    const std::string text = pageText(page);
    const std::regex option("--[a-z]+(-[a-z0-9]+)*");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
         it != std::sregex_iterator(); ++it) {
      const auto& table = commandLineOptions();
      const bool known = std::any_of(table.begin(), table.end(), [&](const OptionSpec& spec) {
        return spec.name == it->str() && takes(page, spec);
      });
      EXPECT_TRUE(known) << page.file << " names " << it->str();
    }
  }
}

}  // namespace
}  // namespace kalvenor
