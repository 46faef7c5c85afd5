#pragma once

#include <QString>

namespace kalvenor {

inline const QString kAppTitle = QStringLiteral("Kalvenor2003");

}  // namespace kalvenor
