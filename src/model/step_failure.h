#pragma once

#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "model/message_text.h"

namespace kalvenor {

// A step of a command that could not be completed; the message says which step and why, so a
// failure deep inside a build or a drawing still reads as a sentence the user can act on.
class StepFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The message for a step that ran out of memory. The step reads as a verb phrase in English
// ("build the section grid") and is translated as a noun phrase (断面格子の作成), which the
// translated sentence takes.
inline std::string notEnoughMemoryTo(const std::string& step) {
  return fill(translated("not enough memory to {1}"), {step});
}

// Runs one step of a command. Running out of memory becomes "not enough memory to <step>";
// any other exception keeps its own message, which already names the file or the value.
template <typename Step>
decltype(auto) runStep(const std::string& step, Step&& work) {
  try {
    return std::forward<Step>(work)();
  } catch (const std::bad_alloc&) {
    throw StepFailure(notEnoughMemoryTo(step));
  } catch (const std::length_error&) {
    throw StepFailure(notEnoughMemoryTo(step));
  }
}

}  // namespace kalvenor
