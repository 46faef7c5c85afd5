#pragma once

#include <string>

namespace kalvenor {

// The language a program speaks when the user's settings name none.
enum class DefaultLanguage { English, Japanese };

// Chooses the language of the messages and where their catalogue lies (`programFolder`'s
// share/locale, as installed). The language is the first of: LANGUAGE as the user set it; the
// language of LC_ALL, LC_MESSAGES or LANG, unless that is C or POSIX; the default. The language's
// own locale need not be installed: the messages follow it all the same, in UTF-8. A language
// without a catalogue gives English. Call it again after Qt has set the program's locale.
void useMessageLanguage(const std::string& programFolder, DefaultLanguage fallback);

// The folder of the program that runs, from the system; "" when it cannot tell.
std::string runningProgramFolder();

}  // namespace kalvenor
