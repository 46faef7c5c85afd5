#pragma once

#include <QStringList>

#include "shell/dialogs.h"

class QWidget;

namespace kalvenor {

// Turns "label|pattern|label|pattern" into Qt's "label;;label" filter list; a label that does
// not already show its pattern gets it appended in brackets.
QString qtFileFilter(const QString& barSeparated);

class QtDialogs : public Dialogs {
 public:
  // Dialogs open centred over this window.
  void setParentWidget(QWidget* parent) { parent_ = parent; }

  std::optional<QString> openFile(const QString& filter) override;
  std::optional<QString> saveFile(const QString& filter) override;
  std::optional<PackedColor> chooseColor(PackedColor initial) override;
  void message(const QString& text, Icon icon) override;
  bool askYesNo(const QString& text) override;

 private:
  QWidget* parent_ = nullptr;
};

}  // namespace kalvenor
