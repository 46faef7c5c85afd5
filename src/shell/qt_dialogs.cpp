#include "shell/qt_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "canvas/packed_qcolor.h"
#include "shell/app_title.h"
#include "shell/survey_line_picker.h"
#include "shell/window_memory.h"

namespace kalvenor {

QString qtFileFilter(const QString& barSeparated) {
  const QStringList parts = barSeparated.split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString pattern =
        parts[i + 1] == QStringLiteral("*.*") ? QStringLiteral("*") : parts[i + 1];
    filters << parts[i] + " (" + pattern + ")";
  }
  return filters.join(";;");
}

void setUpFileDialog(QFileDialog& dialog, const QString& filter, const QString& title) {
  if (!title.isEmpty()) dialog.setWindowTitle(title);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(qtFileFilter(filter).split(";;"));
}

// Qt names the chosen filter as it was set or, with the details hidden, by the label it shows.
QString chosenPattern(const QFileDialog& dialog, const QString& barSeparated) {
  const QString chosen = dialog.selectedNameFilter();
  const QStringList parts = barSeparated.split('|');
  const QStringList filters = dialog.nameFilters();
  for (qsizetype i = 0; i + 1 < parts.size() && i / 2 < filters.size(); i += 2) {
    if (chosen == filters[i / 2] || chosen == parts[i]) return parts[i + 1];
  }
  return {};
}

std::optional<QString> QtDialogs::chosenFile(QFileDialog& dialog, const QString& filter) {
  if (memory_ && !memory_->folderFor(filter).isEmpty()) {
    dialog.setDirectory(memory_->folderFor(filter));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString file = dialog.selectedFiles().front();
  if (memory_) memory_->rememberFile(filter, file);
  return file;
}

std::optional<QString> QtDialogs::openFile(const QString& filter, const QString& title) {
  QFileDialog dialog(parent_);
  setUpFileDialog(dialog, filter, title);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return chosenFile(dialog, filter);
}

// The viewer asks its own overwrite question once it has given a bare name the extension of the
// chosen filter, so the dialog neither asks nor adds anything.
std::optional<Dialogs::SaveChoice> QtDialogs::saveFile(const QString& filter,
                                                       const QString& title) {
  QFileDialog dialog(parent_);
  setUpFileDialog(dialog, filter, title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const std::optional<QString> file = chosenFile(dialog, filter);
  if (!file) return std::nullopt;
  return SaveChoice{*file, chosenPattern(dialog, filter)};
}

std::optional<PackedColor> QtDialogs::chooseColor(PackedColor initial, const QString& title) {
  const QColor chosen = QColorDialog::getColor(toQColor(initial), parent_, title);
  if (!chosen.isValid()) return std::nullopt;
  return fromQColor(chosen);
}

void QtDialogs::message(const QString& text, Icon icon) {
  static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                QMessageBox::Warning, QMessageBox::Critical};
  QMessageBox box(icons[static_cast<int>(icon)], kAppTitle, text, QMessageBox::Ok, parent_);
  box.exec();
}

bool QtDialogs::askYesNo(const QString& text) {
  QMessageBox box(QMessageBox::Question, kAppTitle, text, QMessageBox::Yes | QMessageBox::No,
                  parent_);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

Dialogs::Answer QtDialogs::askYesNoCancel(const QString& text) {
  QMessageBox box(QMessageBox::Question, kAppTitle, text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

std::optional<std::vector<SurveyVertex>> QtDialogs::pickSurveyLine(const PlanOverview& overview) {
  SurveyLinePicker picker(overview, parent_);
  if (picker.exec() != QDialog::Accepted) return std::nullopt;
  return picker.vertices();
}

}  // namespace kalvenor
