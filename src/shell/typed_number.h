#pragma once

#include <QString>
#include <optional>

class QLineEdit;

namespace kalvenor {

// A numeric box is known to its messages by its caption as the window shows it.
void setNumberCaption(QLineEdit& box, const QString& caption);
// The caption set for the box, in 「」; its object name when none was set.
QString numberCaption(const QLineEdit& box);

// The number in a box read by a command: nothing for an empty box, which leaves its value as it
// was. Text that is not one number (letters, two numbers) throws an error naming the box.
std::optional<double> typedNumber(const QLineEdit& box);

// The number in a box that takes effect as it is typed: nothing while the text is not yet a
// number ("-", "1e", or letters the box refuses once it is left), `whenEmpty` for an empty box.
std::optional<double> numberBeingTyped(const QLineEdit& box,
                                       std::optional<double> whenEmpty = std::nullopt);

// The message that refuses a box's text; nothing when it holds a number or is empty.
std::optional<QString> refusal(const QLineEdit& box);

}  // namespace kalvenor
