// The readers' messages under a Japanese locale: the whole sentence in Japanese, with the file's
// name, the line and item where reading stopped and the numbers found kept as they are.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "app/message_language.h"
#include "model/colour_file.h"
#include "model/grid_surface.h"
#include "model/logical_model.h"
#include "model/read_error.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

class ReaderMessagesInJapanese : public ::testing::Test {
 protected:
  void SetUp() override { chooseLanguage("ja", "ja_JP.UTF-8"); }
  void TearDown() override { chooseLanguage(nullptr, "C"); }

  static void chooseLanguage(const char* language, const char* lang) {
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    if (language) {
      setenv("LANGUAGE", language, 1);
    } else {
      unsetenv("LANGUAGE");
    }
    setenv("LANG", lang, 1);
    useMessageLanguage(runningProgramFolder(), DefaultLanguage::English);
  }
};

// What reading the file says: the message of its ReadError.
std::string refusal(const std::function<void()>& read) {
  try {
    read();
  } catch (const ReadError& error) {
    return error.what();
  }
  return "(read without a message)";
}

TEST_F(ReaderMessagesInJapanese, NameTheFileLineItemAndNumbersInAJapaneseSentence) {
  struct Case {
    std::string content;
    std::function<void(const std::string&)> read;
    std::string message;  // after the file's name
  };
  const auto grid = [](const std::string& path) { readGridSurface(path); };
  const auto model = [](const std::string& path) { readLogicalModel(path); };
  const auto colours = [](const std::string& path) { readColourFile(path); };
  const Case cases[] = {
      {"2, 2, 0, 0, 1, 1\n1, 2\nx3, 4\n", grid,
       "、3 行目、9 番目の項目: 標高として数値が必要ですが、\"x3\" となっています"},
      {"2, 2, 0, 0, 1, 1\n1, 2, 3\n", grid,
       "、2 行目、9 番目の項目: 4 個の標高のうち 3 個でファイルが終わっています"},
      {"1, 5, 0, 0, 1, 1\n", grid,
       "、1 行目、1 番目の項目: Nxは 2 から 2147483647 までの整数でなければなりませんが、1 "
       "となっています"},
      {"1\ns\nlow,-1\nhigh,+-1\n", model,
       "、4 行目、6 番目の項目: 地質 2 の境界面 1 に対するセルの値として数値が必要ですが、\"+-1\" "
       "となっています"},
      {"unit 1 #ff0000\nboundary 0 #00ff00\n", colours,
       "、2 行目: 境界面の番号（1 以上の整数）が必要ですが、\"0\" となっています"},
  };
  for (const Case& c : cases) {
    const TempFile file(c.content);
    EXPECT_EQ(refusal([&] { c.read(file.path()); }), file.path() + c.message) << c.content;
  }
}

TEST_F(ReaderMessagesInJapanese, ValuesLeftOverAreCountedInTheWarning) {
  const TempFile file("2, 2, 0, 0, 1, 1\n1, 2, 3, 4, 5, 6\n");
  EXPECT_EQ(trailingValuesWarning(file.path(), readGridSurface(file.path())),
            file.path() +
                ": 4 個の標高の後にある 2 個の値を無視しました。小数点のコンマや数値の中の空白が"
                "あると、1 つの数値が 2 つとして読まれます");
}

}  // namespace
}  // namespace kalvenor
