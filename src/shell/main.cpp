#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "shell/form_main.h"
#include "shell/qt_dialogs.h"

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

int main(int argc, char* argv[]) {
  if (!displayAvailable()) {
    std::fputs(
        "kalvenor: no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
        "Start it from a desktop session, or under a virtual display: xvfb-run -a kalvenor\n",
        stderr);
    return 1;
  }
  QApplication app(argc, argv);
  kalvenor::QtDialogs dialogs;
  kalvenor::FormMain window(dialogs, QCoreApplication::applicationDirPath());
  dialogs.setParentWidget(&window);
  window.Form_Load();
  window.show();
  return app.exec();
}
