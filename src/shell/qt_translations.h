#pragma once

class QCoreApplication;

namespace kalvenor {

// Puts Qt's own Japanese texts ("アドレス:", "保存", "キャンセル") into its file, colour and
// message dialogs, so they match the viewer's captions; the viewer's own messages are not
// translated. False, with the dialogs left in English, where Qt's translations are not
// installed.
bool installQtJapanese(QCoreApplication& app);

}  // namespace kalvenor
