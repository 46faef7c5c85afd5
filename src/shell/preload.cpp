#include "shell/preload.h"

#include <QFileInfo>
#include <functional>

#include "model/colour_file.h"
#include "model/read_error.h"
#include "shell/form_main.h"

namespace kalvenor {

std::optional<QString> PreloadDialogs::openFile(const QString& filter, const QString& title) {
  if (files.empty()) return real_.openFile(filter, title);
  const QString file = files.front();
  files.pop_front();
  return file;
}

std::optional<PackedColor> PreloadDialogs::chooseColor(PackedColor initial, const QString& title) {
  if (colors.empty()) return real_.chooseColor(initial, title);
  const PackedColor color = colors.front();
  colors.pop_front();
  return color;
}

void PreloadDialogs::message(const QString& text, Icon icon) {
  ++messagesShown;
  real_.message(text, icon);
}

namespace {

// The full path, as a file dialog would return it.
QString fullPath(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).absoluteFilePath();
}

class Preload {
 public:
  Preload(FormMain& window, PreloadDialogs& dialogs) : window_(window), dialogs_(dialogs) {}

  // Runs one step as the command of `control`; false when it showed a message. Unused answers
  // never reach a later dialog.
  bool run(const QWidget* control, const std::function<void()>& step) {
    const int before = dialogs_.messagesShown;
    window_.runCommand(control, step);
    dialogs_.files.clear();
    dialogs_.colors.clear();
    return dialogs_.messagesShown == before;
  }

  bool fail(const QString& text) {
    dialogs_.message(text, Dialogs::Icon::Warning);
    return false;
  }

  bool boundaries(const std::vector<std::string>& paths);
  bool colours(const std::string& path);

  FormMain& window_;
  PreloadDialogs& dialogs_;
};

bool Preload::boundaries(const std::vector<std::string>& paths) {
  const int Nbd = window_.state().model.Nbd;
  if (static_cast<int>(paths.size()) != Nbd) {
    return fail(QStringLiteral("The model has %1 boundaries but %2 boundary files were given.")
                    .arg(Nbd)
                    .arg(paths.size()));
  }
  return run(window_.ui().cmdBoundaryFile, [&] {
    for (const std::string& path : paths) dialogs_.files.push_back(fullPath(path));
    window_.cmdBoundaryFile_Click();
  });
}

// The unit colours through the colour sequence, the line colours through the boundaries'
// column headers.
bool Preload::colours(const std::string& path) {
  ColourFile file;
  try {
    file = readColourFile(path);
  } catch (const ReadError& error) {
    return fail(QString::fromUtf8(error.what()));
  }
  const LogicalModel& model = window_.state().model;
  for (int unit = 1; unit <= model.unitCount(); ++unit) {
    if (!file.unit.count(unit)) {
      return fail(QStringLiteral("%1 gives no colour for unit %2 of the model.")
                      .arg(QString::fromStdString(path))
                      .arg(unit));
    }
  }
  return run(window_.ui().cmdColor, [&] {
    for (int unit = 1; unit <= model.unitCount(); ++unit) dialogs_.colors.push_back(file.unit[unit]);
    window_.cmdColor_Click();
    for (const auto& [boundary, colour] : file.boundary) {
      if (boundary > model.Nbd) continue;
      dialogs_.colors.push_back(colour);
      window_.ui().grdModel->selectColumn(boundary - 1);
      window_.grdModel_Click();
    }
    window_.ui().grdModel->clearSelection();
  });
}

}  // namespace

void preload(FormMain& window, PreloadDialogs& dialogs, const InputFiles& files) {
  Preload steps(window, dialogs);
  Ui::formMain& ui = window.ui();
  const auto openWith = [&](const std::string& path, const QWidget* control,
                            void (FormMain::*command)()) {
    return steps.run(control, [&] {
      dialogs.files.push_back(fullPath(path));
      (window.*command)();
    });
  };
  if (!files.model.empty() &&
      !openWith(files.model, ui.cmdOpenModel, &FormMain::cmdOpenModel_Click)) {
    return;
  }
  if (!files.boundaries.empty() && !steps.boundaries(files.boundaries)) return;
  if (!files.colors.empty() && !steps.colours(files.colors)) return;
  if (!files.surface.empty() &&
      !openWith(files.surface, ui.cmdOpenDisplayFile, &FormMain::cmdOpenDisplayFile_Click)) {
    return;
  }
  if (files.model.empty() || files.surface.empty()) return;
  if (!steps.run(ui.cmdKalvenor, [&] { window.cmdKalvenor_Click(); })) return;
  if (!steps.run(ui.cmd3DDefault, [&] { window.cmd3DDefault_Click(); })) return;
  steps.run(ui.cmdGeoMap, [&] { window.cmdGeoMap_Click(); });
}

}  // namespace kalvenor
