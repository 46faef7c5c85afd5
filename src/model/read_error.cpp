#include "model/read_error.h"

namespace kalvenor {
namespace {

std::string describe(const std::string& path, int line, int item, const std::string& problem) {
  if (path.empty()) return problem;
  std::string text = path;
  if (line > 0) text += ", line " + std::to_string(line);
  if (item > 0) text += ", item " + std::to_string(item);
  return text + ": " + problem;
}

}  // namespace

ReadError::ReadError(std::string path, int line, int item, std::string problem)
    : std::runtime_error(describe(path, line, item, problem)),
      path_(std::move(path)),
      line_(line),
      item_(item),
      problem_(std::move(problem)) {}

}  // namespace kalvenor
