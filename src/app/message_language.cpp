#include "app/message_language.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "build_config.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool isPlainLocale(std::string_view name) {
  return name == "C" || name == "POSIX" || name.starts_with("C.");
}

// "ja" of "ja_JP.UTF-8"; "" for the plain locale.
std::string languageOfLocale() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const std::string name = environment(variable);
    if (name.empty()) continue;
    if (isPlainLocale(name)) return "";
    return name.substr(0, name.find_first_of("_.@"));
  }
  return "";
}

std::string chosenLanguage(DefaultLanguage fallback) {
  std::string given = environment("LANGUAGE");
  if (!given.empty()) return given;
  std::string ofLocale = languageOfLocale();
  if (!ofLocale.empty()) return ofLocale;
  return fallback == DefaultLanguage::Japanese ? "ja" : "";
}

}  // namespace

// gettext passes LANGUAGE over while the messages' locale is the plain one, and a locale that is
// not installed cannot be set: the language is then told through LANGUAGE over C.UTF-8, which
// every system has.
void useMessageLanguage(const std::string& programFolder, DefaultLanguage fallback) {
  const std::string language = chosenLanguage(fallback);
  if (!language.empty()) setenv("LANGUAGE", language.c_str(), 1);
  // A change of the locale makes gettext forget the translations it found before: through the
  // plain locale, the locale changes whatever it was.
  std::setlocale(LC_MESSAGES, "C");
  const char* locale = std::setlocale(LC_MESSAGES, "");
  if (!language.empty() && (!locale || isPlainLocale(locale))) {
    std::setlocale(LC_MESSAGES, "C.UTF-8");
    // The system's own messages (strerror, also inside GDAL's) follow the language too, and the
    // plain locale's character set would show them as question marks.
    const char* characters = std::setlocale(LC_CTYPE, nullptr);
    if (!characters || std::string_view(characters) == "C" ||
        std::string_view(characters) == "POSIX") {
      std::setlocale(LC_CTYPE, "C.UTF-8");
    }
  }
  const std::filesystem::path folder =
      (std::filesystem::path(programFolder) / build::kLocaleFolderFromPrograms).lexically_normal();
  bindtextdomain(kMessageDomain, folder.c_str());
  bind_textdomain_codeset(kMessageDomain, "UTF-8");
}

std::string runningProgramFolder() {
  std::error_code unknown;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", unknown);
  return unknown ? std::string() : program.parent_path().string();
}

}  // namespace kalvenor
