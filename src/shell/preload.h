#pragma once

#include <deque>

#include "cli/command_line.h"
#include "shell/dialogs.h"

namespace kalvenor {

class FormMain;

// Answers the file and colour dialogs from a queue while one is filled, and passes everything
// else to the real dialogs; it counts the messages shown so a failed step can be seen.
class PreloadDialogs : public Dialogs {
 public:
  explicit PreloadDialogs(Dialogs& real) : real_(real) {}

  std::deque<QString> files;
  std::deque<PackedColor> colors;
  int messagesShown = 0;

  std::optional<QString> openFile(const QString& filter, const QString& title) override;
  std::optional<QString> saveFile(const QString& filter, const QString& title) override {
    return real_.saveFile(filter, title);
  }
  std::optional<PackedColor> chooseColor(PackedColor initial, const QString& title) override;
  void message(const QString& text, Icon icon) override;
  bool askYesNo(const QString& text) override { return real_.askYesNo(text); }

 private:
  Dialogs& real_;
};

// Runs the steps a user would for the given files, through the window's own handlers: the
// model, the boundary files, the colours, the display surface, then, with all of them, the
// 3D-map grid, the default view and the geological map. A step that fails shows its message
// and ends the preload; the window stays usable.
void preload(FormMain& window, PreloadDialogs& dialogs, const InputFiles& files);

}  // namespace kalvenor
