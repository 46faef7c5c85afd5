#include "text_font.h"

#include <QFont>
#include <QFontInfo>

namespace kalvenor {

QString textFontMissing(const QString& family) {
  const QString found = QFontInfo(QFont(family)).family();
  if (found == family) return {};
  return QStringLiteral(
             "The text of this picture is drawn in %1, but Qt found \"%2\" in its place, so the "
             "text cannot come out as in the control picture: install the font (scripts/setup "
             "installs fonts-ipafont-gothic)")
      .arg(family, found);
}

}  // namespace kalvenor
