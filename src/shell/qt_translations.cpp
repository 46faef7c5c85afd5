#include "shell/qt_translations.h"

#include <libintl.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

#include "model/message_text.h"

namespace kalvenor {

// gettext answers the empty message with the header of the catalogue it found, which names the
// catalogue's language.
QString messageCatalogueLanguage() {
  const QString header = QString::fromUtf8(dgettext(kMessageDomain, ""));
  const QRegularExpressionMatch language =
      QRegularExpression(QStringLiteral("^Language: *([A-Za-z_]+)"),
                         QRegularExpression::MultilineOption)
          .match(header);
  return language.hasMatch() ? language.captured(1) : QString();
}

// qtbase holds the texts of the widgets' dialogs; the translator lives as long as the
// application.
bool installQtTranslations(QCoreApplication& app) {
  const QString language = messageCatalogueLanguage();
  if (language.isEmpty() || language.startsWith(QStringLiteral("en"))) return true;
  auto* translator = new QTranslator(&app);
  if (!translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace kalvenor
