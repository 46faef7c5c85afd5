#include <QGuiApplication>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/message_language.h"
#include "app/program_version.h"
#include "cli/batch_render.h"
#include "model/message_text.h"

namespace {

// The batch renderer's errors are its own one-line messages; Qt's notes about its platform
// would only get in their way.
void keepSevereMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << "\n";
}

}  // namespace

// Draws without a window: the offscreen platform needs no display.
// Its messages follow the locale, as command-line tools' do.
int main(int argc, char* argv[]) {
  const std::string programFolder = kalvenor::runningProgramFolder();
  kalvenor::useMessageLanguage(programFolder, kalvenor::DefaultLanguage::English);
  const std::vector<std::string> args(argv + 1, argv + argc);
  kalvenor::RenderOptions options;
  try {
    options = kalvenor::parseRenderOptions(args);
  } catch (const kalvenor::UsageError& error) {
    std::cerr << kalvenor::fill(kalvenor::translated("kalvenor-render: {1}"), {error.what()})
              << "\n";
    return 2;
  }
  if (options.help || options.version) {
    std::cout << (options.help ? kalvenor::renderUsage()
                               : kalvenor::versionLine("kalvenor-render"));
    return 0;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(keepSevereMessages);
  QGuiApplication app(argc, argv);
  kalvenor::useMessageLanguage(programFolder, kalvenor::DefaultLanguage::English);
  return kalvenor::runBatchRender(options, QCoreApplication::applicationDirPath().toStdString(),
                                  std::cerr);
}
