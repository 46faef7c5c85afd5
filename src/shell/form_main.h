#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "shell/dialogs.h"
#include "shell/viewer_state.h"
#include "ui_formmain.h"

namespace kalvenor {

class FormImage;
class FormImageS;

// The main window: owns the viewer's state, walks the user through the numbered steps and
// drives the drawing window. Handlers keep the names of the controls they serve.
class FormMain : public QWidget {
  Q_OBJECT

 public:
  // `programFolder` is where default.txt is looked for.
  FormMain(Dialogs& dialogs, QString programFolder);
  ~FormMain() override;

  // Shows the drawing window beside this one, resets every control and field and enables the
  // commands.
  void Form_Load();
  void resetViewer();
  void updateCommandStates();

  ViewerState& state() { return state_; }
  Ui::formMain& ui() { return ui_; }
  FormImage& formImage() { return *formImage_; }
  // The duplicate window, or null before the first "複製".
  FormImageS* formImageS() { return formImageS_.get(); }

  void cmdEnd_Click();
  void cmdVersion_Click();
  void cmdImageClear_Click();
  void cmdImageCopy_Click();
  void cmdImagePaste_Click();
  void cmdImageSave_Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void connectHandlers();
  void txtNbd_Change();
  void txtZbase_Change();
  void txtZbase2_Change();
  void readDefaultFile();
  void clearResultLabels();
  void showWindowSize(int width, int height);

  Ui::formMain ui_;
  Dialogs& dialogs_;
  QString programFolder_;
  ViewerState state_;
  std::unique_ptr<FormImage> formImage_;
  std::unique_ptr<FormImageS> formImageS_;
};

}  // namespace kalvenor
