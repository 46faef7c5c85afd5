#pragma once

#include <stdexcept>
#include <string>

namespace kalvenor {

// An export that cannot be made; what() is one line, "PATH: <what is wrong>".
class ExportError : public std::runtime_error {
 public:
  ExportError(const std::string& path, const std::string& problem)
      : std::runtime_error(path + ": " + problem) {}
};

}  // namespace kalvenor
