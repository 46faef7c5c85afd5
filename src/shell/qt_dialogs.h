#pragma once

#include <QStringList>

#include "shell/dialogs.h"

class QFileDialog;
class QWidget;

namespace kalvenor {

// Turns "label|pattern|label|pattern" into Qt's "label (pattern);;label (pattern)" filter list.
// Every label is shown as written; "*.*" becomes "*", so that it matches files without an
// extension too, as it does for the user who reads it.
QString qtFileFilter(const QString& barSeparated);

// Gives a file dialog its title and filters. Qt reads the pattern from the last bracketed group
// of a filter; hiding that group leaves the labels as the user knows them.
void setUpFileDialog(QFileDialog& dialog, const QString& filter, const QString& title);

// The pattern, as `barSeparated` writes it, of the filter chosen in a dialog set up with it.
QString chosenPattern(const QFileDialog& dialog, const QString& barSeparated);

class WindowMemory;

class QtDialogs : public Dialogs {
 public:
  // Dialogs open centred over this window.
  void setParentWidget(QWidget* parent) { parent_ = parent; }
  // File dialogs start in the folder the last one of their kind was left in.
  void setMemory(WindowMemory* memory) { memory_ = memory; }

  std::optional<QString> openFile(const QString& filter, const QString& title) override;
  std::optional<SaveChoice> saveFile(const QString& filter, const QString& title) override;
  std::optional<PackedColor> chooseColor(PackedColor initial, const QString& title) override;
  void message(const QString& text, Icon icon) override;
  bool askYesNo(const QString& text) override;
  Answer askYesNoCancel(const QString& text) override;
  std::optional<std::vector<SurveyVertex>> pickSurveyLine(const PlanOverview& overview) override;

 private:
  std::optional<QString> chosenFile(QFileDialog& dialog, const QString& filter);

  QWidget* parent_ = nullptr;
  WindowMemory* memory_ = nullptr;
};

}  // namespace kalvenor
