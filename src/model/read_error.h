#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

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

// Text found in a file, in double quotes, for a message: at most 40 characters, then "...", so
// a binary file or an endless word cannot flood the message. A UTF-8 character is never cut;
// control characters (a NUL would end the message), bytes that are not UTF-8 and the backslash
// are written as escapes such as \x00 and \\.
std::string quotedFound(std::string_view text);

}  // namespace kalvenor
