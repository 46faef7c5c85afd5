#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

class QWidget;

namespace kalvenor {

// How many sessions the recent-sessions list keeps.
constexpr int kRecentSessionCount = 8;

// What the viewer remembers from one run to the next: the folder each kind of file dialog was
// last left in, where its windows stood and how large they were, and the sessions used last.
// Everything lives in the given settings, so tests keep it in a file of their own.
class WindowMemory {
 public:
  explicit WindowMemory(QSettings& settings) : settings_(settings) {}

  // A kind of file dialog is known by its filter; "" before any file of that kind was chosen.
  QString folderFor(const QString& filter) const;
  void rememberFile(const QString& filter, const QString& file);

  // Puts the window where it was last remembered under `name`; nothing before the first time.
  void restoreWindow(QWidget& window, const QString& name) const;
  void rememberWindow(const QWidget& window, const QString& name);

  // The most recent first, each once.
  QStringList recentSessions() const;
  QString lastSession() const;
  void rememberSession(const QString& path);

 private:
  QSettings& settings_;
};

}  // namespace kalvenor
