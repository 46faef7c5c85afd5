#include "model/input_names.h"

#include <utility>

namespace kalvenor {
namespace {

std::map<std::string, std::string>& names() {
  static std::map<std::string, std::string> given;
  return given;
}

}  // namespace

std::string inputName(const std::string& option) {
  const auto named = names().find(option);
  return named == names().end() ? option : named->second;
}

void setInputNames(std::map<std::string, std::string> given) { names() = std::move(given); }

}  // namespace kalvenor
