// The session's messages in the language chosen for them, with their file names, numbers and
// quoted values as they are, and naming where the user sets an input in the program that shows
// them: the option in kalvenor-render, the control in the window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>

#include "app/command_line.h"
#include "app/message_language.h"
#include "app/option_steps.h"
#include "model/input_names.h"
#include "session/session.h"
#include "session/session_file.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// The message of the exception `action` throws; "" when it throws none.
std::string messageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

// Every test leaves the messages English and the inputs named as kalvenor-render names them.
class SessionMessages : public ::testing::Test {
 protected:
  void TearDown() override {
    unsetenv("LANGUAGE");
    setenv("LANG", "C", 1);
    useMessageLanguage(runningProgramFolder(), DefaultLanguage::English);
    setInputNames({});
  }
};

TEST_F(SessionMessages, AreJapaneseUnderAJapaneseLocaleWithTheirValuesAsTheyAre) {
  unsetenv("LANGUAGE");
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  setenv("LANG", "ja_JP.UTF-8", 1);
  useMessageLanguage(runningProgramFolder(), DefaultLanguage::English);
  const TempFile newer(R"({"format": "kalvenor session", "version": 9})", ".json");
  Session session;
  struct Case {
    std::function<void()> action;
    std::string message;
  };
  const Case cases[] = {
      {[&] { readSessionFile(newer.path()); },
       newer.path() + ": セッションは新しいビューアーで書かれています（形式のバージョン 9。" +
           "このビューアーが読めるのは " + std::to_string(kSessionFormatVersion) + " までです）"},
      {[&] { session.resizeModel("16"); },
       "境界面の数は 0 から 15 までの整数にしてください（点の上下の並びに入る境界面は 15 面"
       "までです）。\"16\" はこれに当てはまりません。論理モデルは元のままです。"},
      {[] {
         parseRenderOptions({"--size", "9x9"});
       },
       "--size には幅x高さを 16〜16384 ピクセルで指定してください（例: 800x800）。\"9x9\" "
       "は正しくありません"},
  };
  for (const Case& c : cases) EXPECT_EQ(messageOf(c.action), c.message);
}

TEST_F(SessionMessages, NameTheWindowsControlsOnceTheWindowHasNamedThem) {
  const TempFile oneBoundary("1\ns\nlow,-1\nhigh,1\n");
  InputFiles twoFiles;
  twoFiles.model = oneBoundary.path();
  twoFiles.boundaries = {"lower.txt", "upper.txt"};
  struct Case {
    std::function<void()> action;
    std::string option;
    std::string control;
  };
  const Case cases[] = {
      {[] { Session().setBoundaryFile(1, "lower.txt"); },
       "There is no logical model yet: enter one in --model first.",
       "There is no logical model yet: enter one in 「( １ ) 論理モデルの入力」 first."},
      {[&] {
         Session session;
         loadInputs(session, twoFiles, [](const std::string&) {});
       },
       "(one --boundary each, lowest first)", "(one 「( ２ ) 境界面の指定」 each, lowest first)"},
  };
  for (const Case& c : cases) EXPECT_THAT(messageOf(c.action), HasSubstr(c.option));
  setInputNames(
      {{"--model", "「( １ ) 論理モデルの入力」"}, {"--boundary", "「( ２ ) 境界面の指定」"}});
  for (const Case& c : cases) {
    const std::string message = messageOf(c.action);
    EXPECT_THAT(message, HasSubstr(c.control));
    EXPECT_THAT(message, Not(HasSubstr("--")));
  }
}

}  // namespace
}  // namespace kalvenor
