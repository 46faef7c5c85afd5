#pragma once

#include <QString>

#include "model/number_text.h"

namespace kalvenor {

// The number rules for the text of controls. A value is shown in the general form with the
// fewest digits that read back as it, but for the rounding noise of arithmetic, a unit or so in
// the last of the 15 digits a double holds: 2.00000000000001 shows as 2, 0.1 + 0.2 as 0.3.
QString numberQText(double value);
inline double leadingNumber(const QString& text) { return leadingNumber(text.toStdString()); }

// An elevation of the display surface, which its load lowered by less than a millionth: the
// shortest number at most a millionth above it, as the file wrote it (195.1 for 195.0999991).
QString surfaceElevationQText(double value);

}  // namespace kalvenor
