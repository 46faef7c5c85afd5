#pragma once

#include <stdexcept>
#include <string>

namespace kalvenor {

// A file that could not be read or parsed. `line` and `item` are 1-based and 0 when they do not
// apply (for example when the file cannot be opened at all).
class ReadError : public std::runtime_error {
 public:
  ReadError(std::string path, int line, int item, std::string problem);

  const std::string& path() const { return path_; }
  int line() const { return line_; }
  int item() const { return item_; }
  const std::string& problem() const { return problem_; }

 private:
  std::string path_;
  int line_;
  int item_;
  std::string problem_;
};

}  // namespace kalvenor
