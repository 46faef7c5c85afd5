#pragma once

#include <QString>
#include <QtTest>

namespace kalvenor {

// The face the pictures draw their text in; scripts/setup installs it (fonts-ipafont-gothic).
inline const QString kTextFont = QStringLiteral("IPAPGothic");

// Empty when Qt finds `family` itself; otherwise says which face Qt takes in its place, so that a
// picture with text that cannot match its control picture says why. Needs a QGuiApplication.
QString textFontMissing(const QString& family = kTextFont);

}  // namespace kalvenor

// Fails the running test, before it draws, when the text would come out in another face.
#define KALVENOR_REQUIRE_TEXT_FONT()                        \
  do {                                                      \
    const QString missing_ = ::kalvenor::textFontMissing(); \
    if (!missing_.isEmpty()) QFAIL(qPrintable(missing_));   \
  } while (false)
