#include "shell/window_memory.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QWidget>

namespace kalvenor {
namespace {

// Filters hold slashes and brackets, which settings keys must not; their digest names them.
QString folderKey(const QString& filter) {
  const QByteArray digest = QCryptographicHash::hash(filter.toUtf8(), QCryptographicHash::Sha1);
  return QStringLiteral("folders/") + QString::fromLatin1(digest.toHex().left(16));
}

const QString kRecent = QStringLiteral("sessions/recent");

}  // namespace

QString WindowMemory::folderFor(const QString& filter) const {
  return settings_.value(folderKey(filter)).toString();
}

void WindowMemory::rememberFile(const QString& filter, const QString& file) {
  settings_.setValue(folderKey(filter), QFileInfo(file).absolutePath());
}

void WindowMemory::restoreWindow(QWidget& window, const QString& name) const {
  const QByteArray geometry = settings_.value(QStringLiteral("windows/") + name).toByteArray();
  if (!geometry.isEmpty()) window.restoreGeometry(geometry);
}

void WindowMemory::rememberWindow(const QWidget& window, const QString& name) {
  settings_.setValue(QStringLiteral("windows/") + name, window.saveGeometry());
}

QStringList WindowMemory::recentSessions() const { return settings_.value(kRecent).toStringList(); }

QString WindowMemory::lastSession() const {
  const QStringList recent = recentSessions();
  return recent.isEmpty() ? QString() : recent.front();
}

void WindowMemory::rememberSession(const QString& path) {
  QStringList recent = recentSessions();
  recent.removeAll(path);
  recent.prepend(path);
  while (recent.size() > kRecentSessionCount) recent.removeLast();
  settings_.setValue(kRecent, recent);
}

}  // namespace kalvenor
