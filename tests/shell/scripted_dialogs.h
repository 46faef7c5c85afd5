#pragma once

#include <QStringList>
#include <deque>

#include "shell/dialogs.h"

namespace kalvenor {

// Answers dialogs from a script and records what was asked, with the title of every file and
// colour dialog and the colour each colour dialog opened on. An unscripted file, colour or
// survey line dialog counts as cancelled; an unscripted question as No. A save dialog answers with
// the next of `files` and the next of `chosenPatterns`, or the first filter's pattern, which a
// dialog starts with.
class ScriptedDialogs : public Dialogs {
 public:
  std::deque<std::optional<QString>> files;
  std::deque<QString> chosenPatterns;
  std::deque<std::optional<PackedColor>> colors;
  std::deque<bool> answers;
  std::deque<Answer> choices;  // the answers to Yes / No / Cancel questions
  std::deque<std::optional<std::vector<SurveyVertex>>> pickedLines;

  QStringList filters;
  QStringList titles;
  QStringList messages;
  std::vector<Icon> messageIcons;
  QStringList questions;
  std::vector<PackedColor> initialColors;
  std::vector<PlanOverview> overviews;  // that each line was picked on

  std::optional<QString> openFile(const QString& filter, const QString& title) override {
    return nextFile(filter, title);
  }
  std::optional<SaveChoice> saveFile(const QString& filter, const QString& title) override {
    const std::optional<QString> file = nextFile(filter, title);
    QString pattern = filter.section('|', 1, 1);
    if (!chosenPatterns.empty()) {
      pattern = chosenPatterns.front();
      chosenPatterns.pop_front();
    }
    if (!file) return std::nullopt;
    return SaveChoice{*file, pattern};
  }
  std::optional<PackedColor> chooseColor(PackedColor initial, const QString& title) override {
    titles << title;
    initialColors.push_back(initial);
    if (colors.empty()) return std::nullopt;
    const auto color = colors.front();
    colors.pop_front();
    return color;
  }
  void message(const QString& text, Icon icon) override {
    messages << text;
    messageIcons.push_back(icon);
  }
  bool askYesNo(const QString& text) override {
    questions << text;
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::vector<SurveyVertex>> pickSurveyLine(const PlanOverview& overview) override {
    overviews.push_back(overview);
    if (pickedLines.empty()) return std::nullopt;
    const auto line = pickedLines.front();
    pickedLines.pop_front();
    return line;
  }
  Answer askYesNoCancel(const QString& text) override {
    questions << text;
    if (choices.empty()) return Answer::No;
    const Answer answer = choices.front();
    choices.pop_front();
    return answer;
  }

 private:
  std::optional<QString> nextFile(const QString& filter, const QString& title) {
    filters << filter;
    titles << title;
    if (files.empty()) return std::nullopt;
    const auto file = files.front();
    files.pop_front();
    return file;
  }
};

}  // namespace kalvenor
