#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace kalvenor {

inline const QString kAllFilesFilter = QStringLiteral("すべてのファイル (*.*)|*.*");

// A path as the core's file streams expect it.
inline std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace kalvenor
