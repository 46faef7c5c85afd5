#include "shell/saved_file_name.h"

#include <QFileInfo>
#include <QStringList>

namespace kalvenor {
namespace {

// The extensions a pattern such as "*.tif *.tiff" names, in lower case; none for "*.*".
QStringList extensionsOf(const QString& pattern) {
  QStringList extensions;
  for (const QString& part : pattern.split(' ', Qt::SkipEmptyParts)) {
    if (part.startsWith(QStringLiteral("*.")) && part != QStringLiteral("*.*")) {
      extensions << part.mid(2).toLower();
    }
  }
  return extensions;
}

QStringList offeredExtensions(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList extensions;
  for (qsizetype i = 1; i < parts.size(); i += 2) extensions << extensionsOf(parts[i]);
  return extensions;
}

}  // namespace

QString savedFileName(const QString& typed, const QString& chosenPattern, const QString& filter) {
  const QStringList chosen = extensionsOf(chosenPattern);
  const QString name = QFileInfo(typed).fileName();
  if (chosen.isEmpty() || name.isEmpty() ||
      offeredExtensions(filter).contains(QFileInfo(typed).suffix().toLower())) {
    return typed;
  }
  // "map." means "map" with the extension to come, not a second dot.
  return typed + (typed.endsWith('.') ? QString() : QStringLiteral(".")) + chosen.front();
}

}  // namespace kalvenor
