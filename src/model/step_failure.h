#pragma once

#include <new>
#include <stdexcept>
#include <string>
#include <utility>

namespace kalvenor {

// A step of a command that could not be completed; the message says which step and why, so a
// failure deep inside a build or a drawing still reads as a sentence the user can act on.
class StepFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Runs one step of a command. Running out of memory becomes "not enough memory to <step>";
// any other exception keeps its own message, which already names the file or the value.
template <typename Step>
decltype(auto) runStep(const std::string& step, Step&& work) {
  try {
    return std::forward<Step>(work)();
  } catch (const std::bad_alloc&) {
    throw StepFailure("not enough memory to " + step);
  } catch (const std::length_error&) {
    throw StepFailure("not enough memory to " + step);
  }
}

}  // namespace kalvenor
