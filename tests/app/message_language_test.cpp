// The messages' language as the environment chooses it, and the Japanese catalogue built beside
// the programs: each translation keeps the placeholders of its English text, so no file name or
// number is lost from a translated message.
#include "app/message_language.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "model/message_text.h"

namespace kalvenor {
namespace {

TEST(Fill, PutsTheValuesWhereThePatternHasThem) {
  struct Case {
    std::string pattern;
    std::string filled;
  };
  const Case cases[] = {{"{1}: line {2}", "a.txt: line 7"},
                        {"{2} 行目 ({1})", "7 行目 (a.txt)"},
                        {"{3} and {1}", "{3} and a.txt"},
                        {"{x} {1}{1}", "{x} a.txta.txt"},
                        {"ends with {", "ends with {"}};
  for (const Case& c : cases) EXPECT_EQ(fill(c.pattern, {"a.txt", "7"}), c.filled) << c.pattern;
}

// The message strings of a compiled catalogue, English first, each translation second.
std::vector<std::pair<std::string, std::string>> catalogueEntries(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), {});
  const auto word = [&](std::size_t at) {
    std::uint32_t value = 0;
    if (at + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + at, 4);
    return static_cast<std::size_t>(value);
  };
  const auto string = [&](std::size_t table, std::size_t n) {
    const std::size_t length = word(table + 8 * n), offset = word(table + 8 * n + 4);
    return offset + length <= bytes.size() ? bytes.substr(offset, length) : std::string();
  };
  std::vector<std::pair<std::string, std::string>> entries;
  if (word(0) != 0x950412de) return entries;
  for (std::size_t n = 0; n < word(8); ++n) {
    entries.emplace_back(string(word(12), n), string(word(16), n));
  }
  return entries;
}

std::multiset<std::string> placeholders(const std::string& text) {
  static const std::regex placeholder(R"(\{[0-9]\})");
  std::multiset<std::string> found;
  for (auto at = std::sregex_iterator(text.begin(), text.end(), placeholder);
       at != std::sregex_iterator(); ++at) {
    found.insert(at->str());
  }
  return found;
}

TEST(JapaneseCatalogue, EveryTranslationKeepsThePlaceholdersOfItsMessage) {
  const std::string catalogue =
      runningProgramFolder() + "/../share/locale/ja/LC_MESSAGES/kalvenor.mo";
  const auto entries = catalogueEntries(catalogue);
  ASSERT_GT(entries.size(), 10u) << catalogue;
  for (const auto& [english, japanese] : entries) {
    if (english.empty()) continue;  // the header
    // A message about a count holds its singular and plural, then its one Japanese form.
    EXPECT_EQ(placeholders(english.substr(0, english.find('\0'))), placeholders(japanese))
        << english;
  }
}

TEST(MessageLanguage, TheEnvironmentChoosesWithTheProgramsDefaultLast) {
  struct Case {
    const char* language;
    const char* lang;
    DefaultLanguage fallback;
    bool japanese;
  };
  // ja_JP.UTF-8 is not installed on every machine: the messages follow it all the same.
  const Case cases[] = {{"ja", "C", DefaultLanguage::English, true},
                        {nullptr, "ja_JP.UTF-8", DefaultLanguage::English, true},
                        {nullptr, "C", DefaultLanguage::English, false},
                        {nullptr, "C.UTF-8", DefaultLanguage::Japanese, true},
                        {nullptr, "en_US.UTF-8", DefaultLanguage::English, false},
                        {"en", "ja_JP.UTF-8", DefaultLanguage::Japanese, false},
                        {"fr", "C", DefaultLanguage::Japanese, false}};
  for (const Case& c : cases) {
    unsetenv("LANGUAGE");
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    if (c.language) setenv("LANGUAGE", c.language, 1);
    setenv("LANG", c.lang, 1);
    useMessageLanguage(runningProgramFolder(), c.fallback);
    EXPECT_EQ(std::string(translated("the file cannot be read")),
              c.japanese ? "ファイルを読み込めません" : "the file cannot be read")
        << (c.language ? c.language : "-") << " " << c.lang;
  }
  unsetenv("LANGUAGE");
  setenv("LANG", "C", 1);
  useMessageLanguage(runningProgramFolder(), DefaultLanguage::English);
}

}  // namespace
}  // namespace kalvenor
