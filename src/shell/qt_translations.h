#pragma once

#include <QString>

class QCoreApplication;

namespace kalvenor {

// The language of the catalogue the messages come from, as the catalogue names it ("ja"); ""
// while they stay English (the language chosen has no catalogue, or it is English).
QString messageCatalogueLanguage();

// Puts Qt's own texts ("アドレス:", "保存", "キャンセル") into its file, colour and message
// dialogs in the language of the messages, so that they match the viewer's messages and, in
// Japanese, its captions. English messages leave Qt's English texts. False, with the dialogs
// left in English, where Qt's translations for that language are not installed.
bool installQtTranslations(QCoreApplication& app);

}  // namespace kalvenor
