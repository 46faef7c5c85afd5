#include <QApplication>
#include <QSettings>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/message_language.h"
#include "app/program_version.h"
#include "model/message_text.h"
#include "shell/form_main.h"
#include "shell/preload.h"
#include "shell/qt_dialogs.h"
#include "shell/qt_translations.h"
#include "shell/window_memory.h"

namespace {

// Without a display Qt would abort deep inside its platform plugin; say so plainly instead.
bool displayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

// Its captions are Japanese, so its messages are too unless the user's settings name a language;
// Qt's own dialogs speak the messages' language.
int main(int argc, char* argv[]) {
  const std::string programFolder = kalvenor::runningProgramFolder();
  kalvenor::useMessageLanguage(programFolder, kalvenor::DefaultLanguage::Japanese);
  const std::vector<std::string> args(argv + 1, argv + argc);
  kalvenor::SessionOptions options;
  try {
    options = kalvenor::parseWindowOptions(args);
  } catch (const kalvenor::UsageError& error) {
    std::fprintf(stderr, "kalvenor: %s\n", error.what());
    return 2;
  }
  if (options.help || options.version) {
    const std::string text =
        options.help ? kalvenor::windowUsage() : kalvenor::versionLine("kalvenor");
    std::fputs(text.c_str(), stdout);
    return 0;
  }
  if (!displayAvailable()) {
    std::fputs(kalvenor::translated(
                   "kalvenor: no display is available (neither DISPLAY nor WAYLAND_DISPLAY is "
                   "set).\nStart it from a desktop session, or under a virtual display: xvfb-run "
                   "-a kalvenor\n"),
               stderr);
    return 1;
  }
  QApplication app(argc, argv);
  kalvenor::useMessageLanguage(programFolder, kalvenor::DefaultLanguage::Japanese);
  if (!kalvenor::installQtTranslations(app)) {
    std::fputs(kalvenor::translated(
                   "kalvenor: Qt's Japanese translations are not installed; its dialogs stay "
                   "English\n"),
               stderr);
  }
  QSettings settings(QStringLiteral("Kalvenor2003"), QStringLiteral("kalvenor"));
  kalvenor::WindowMemory memory(settings);
  kalvenor::QtDialogs dialogs;
  dialogs.setMemory(&memory);
  kalvenor::FormMain window(dialogs, QCoreApplication::applicationDirPath());
  dialogs.setParentWidget(&window);
  window.Form_Load();
  window.setMemory(memory);
  window.show();
  if (!options.session.empty()) {
    window.openSession(QString::fromStdString(options.session));
  } else if (options.inputs.any()) {
    kalvenor::preload(window, options);
  }
  return app.exec();
}
