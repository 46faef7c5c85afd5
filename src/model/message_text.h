#pragma once

#include <initializer_list>
#include <string>

namespace kalvenor {

// The catalogue every message of both programs is translated in (po/ja.po).
inline constexpr const char* kMessageDomain = "kalvenor";

// A message in the language chosen for the program's messages (see useMessageLanguage): the
// English text is both the message and its key in the catalogue, so a message without a
// translation stays English. Every message and every piece of one is marked where it is
// written, by this call with the literal text.
const char* translated(const char* english);

// The same for a message about a count: its singular and plural, and the count that chooses.
const char* translatedCount(const char* singular, const char* plural, unsigned long count);

// The pattern with {1}, {2}, ... replaced by the values in their order, so that a translation can
// put them where its language wants them: file names, numbers and GDAL's reasons go in as they
// are. A brace that is not such a placeholder stays as it is.
std::string fill(const std::string& pattern, std::initializer_list<std::string> values);

}  // namespace kalvenor
