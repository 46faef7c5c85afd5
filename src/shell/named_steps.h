#pragma once

#include <functional>
#include <string>
#include <utility>

#include "model/step_failure.h"

namespace kalvenor {

// A grid's size as the step names give it: "64 x 16384".
inline std::string gridSize(int nI, int nJ) {
  return std::to_string(nI) + " x " + std::to_string(nJ);
}

// Runs the long steps of the window's commands under their names, so that running out of
// memory in one reads "not enough memory to <step>". A test can hook in to make a named step
// fail the way a real one would.
class NamedSteps {
 public:
  // Called with the name of every step just before it runs; whatever it throws, the step throws.
  using Hook = std::function<void(const std::string& step)>;
  void setHook(Hook hook) { hook_ = std::move(hook); }

  template <typename Work>
  auto run(const std::string& step, Work&& work) -> decltype(work()) {
    return runStep(step, [&]() -> decltype(work()) {
      if (hook_) hook_(step);
      return work();
    });
  }

 private:
  Hook hook_;
};

}  // namespace kalvenor
