#include "shell/typed_number.h"

#include <QLineEdit>
#include <QVariant>
#include <stdexcept>

#include "model/message_text.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

const char* const kCaptionProperty = "numberCaption";

std::optional<double> numberIn(const QLineEdit& box) {
  return wholeNumber(box.text().toStdString());
}

bool isEmpty(const QLineEdit& box) { return box.text().trimmed().isEmpty(); }

}  // namespace

void setNumberCaption(QLineEdit& box, const QString& caption) {
  box.setProperty(kCaptionProperty, caption);
}

QString numberCaption(const QLineEdit& box) {
  const QString caption = box.property(kCaptionProperty).toString();
  return caption.isEmpty() ? box.objectName() : QStringLiteral("「") + caption + "」";
}

std::optional<double> typedNumber(const QLineEdit& box) {
  if (const std::optional<QString> problem = refusal(box)) {
    throw std::runtime_error(problem->toStdString());
  }
  if (isEmpty(box)) return std::nullopt;
  return numberIn(box);
}

std::optional<double> numberBeingTyped(const QLineEdit& box, std::optional<double> whenEmpty) {
  if (isEmpty(box)) return whenEmpty;
  return numberIn(box);
}

std::optional<QString> refusal(const QLineEdit& box) {
  if (isEmpty(box) || numberIn(box)) return std::nullopt;
  return QString::fromStdString(fill(translated("{1} takes a number; \"{2}\" is not one."),
                                     {numberCaption(box).toStdString(), box.text().toStdString()}));
}

}  // namespace kalvenor
