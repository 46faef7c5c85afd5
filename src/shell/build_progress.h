#pragma once

#include <QProgressDialog>

#include "evaluation/grid_builds.h"
#include "model/message_text.h"
#include "shell/app_title.h"

namespace kalvenor {

// A modal progress bar for a grid build; it appears only when the build takes longer than half
// a second and has no cancel button, so a build always runs to its end.
class BuildProgressDialog {
 public:
  explicit BuildProgressDialog(QWidget* parent)
      : dialog_(QString::fromUtf8(translated("Building the display grid…")), QString(), 0, 1000,
                parent) {
    dialog_.setWindowTitle(kAppTitle);
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setMinimumDuration(500);
    dialog_.setCancelButton(nullptr);
  }

  BuildProgress reporter() {
    return [this](double done) { dialog_.setValue(static_cast<int>(done * 1000)); };
  }

 private:
  QProgressDialog dialog_;
};

}  // namespace kalvenor
