#pragma once

#include <QColor>

#include "model/packed_color.h"

namespace kalvenor {

// Packed colours and QColors hold the same 8-bit channels, so both directions are exact.
inline QColor toQColor(PackedColor color) {
  return QColor(redOf(color), greenOf(color), blueOf(color));
}

inline PackedColor fromQColor(const QColor& color) {
  return packRgb(color.red(), color.green(), color.blue());
}

}  // namespace kalvenor
