#pragma once

#include <QString>
#include <string>

namespace kalvenor {

// The title of one dialog of a sequence: what it asks for, which of how many, and its name when
// it has one, as in "境界面 2 / 4: 砂岩上面".
inline QString sequenceTitle(const QString& what, int index, int count, const std::string& name) {
  const QString title = what + " " + QString::number(index) + " / " + QString::number(count);
  const QString shownName = QString::fromStdString(name).trimmed();
  return shownName.isEmpty() ? title : title + ": " + shownName;
}

}  // namespace kalvenor
