#include "shell/qt_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "shell/app_title.h"

namespace kalvenor {

QString qtFileFilter(const QString& barSeparated) {
  const QStringList parts = barSeparated.split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& label = parts[i];
    const QString& pattern = parts[i + 1];
    filters << (label.contains(pattern) ? label : label + " (" + pattern + ")");
  }
  return filters.join(";;");
}

std::optional<QString> QtDialogs::openFile(const QString& filter) {
  const QString path = QFileDialog::getOpenFileName(parent_, {}, {}, qtFileFilter(filter));
  if (path.isEmpty()) return std::nullopt;
  return path;
}

// The viewer asks its own overwrite question, and adds no extension to a bare name.
std::optional<QString> QtDialogs::saveFile(const QString& filter) {
  const QString path = QFileDialog::getSaveFileName(parent_, {}, {}, qtFileFilter(filter), nullptr,
                                                    QFileDialog::DontConfirmOverwrite);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<PackedColor> QtDialogs::chooseColor(PackedColor initial) {
  const QColor chosen =
      QColorDialog::getColor(QColor(redOf(initial), greenOf(initial), blueOf(initial)), parent_);
  if (!chosen.isValid()) return std::nullopt;
  return packRgb(chosen.red(), chosen.green(), chosen.blue());
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

}  // namespace kalvenor
