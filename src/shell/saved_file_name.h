#pragma once

#include <QString>

namespace kalvenor {

// The name a file chosen in a save dialog is written under. A name whose extension is none of
// those `filter` ("label|pattern|label|pattern") offers gets the extension of the pattern chosen
// with it, so that a session typed as "s1" is saved as "s1.json" and the open dialog lists it.
// Every file ("*.*") adds nothing.
QString savedFileName(const QString& typed, const QString& chosenPattern, const QString& filter);

}  // namespace kalvenor
