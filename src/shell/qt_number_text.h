#pragma once

#include <QString>

#include "model/number_text.h"

namespace kalvenor {

// The number rules for the text of controls.
inline QString numberQText(double value) { return QString::fromStdString(numberText(value)); }
inline double leadingNumber(const QString& text) { return leadingNumber(text.toStdString()); }

}  // namespace kalvenor
