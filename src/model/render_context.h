#pragma once

#include <atomic>

namespace kalvenor {

// What the caller of a build or a drawing decides for it: how many threads it may use, and a flag
// that another thread sets once the result is no longer wanted. Only the session and the programs
// choose these; everything below takes them as given.
struct RenderContext {
  int threads = 1;
  const std::atomic<bool>* cancelled = nullptr;  // none: never cancelled

  bool isCancelled() const { return cancelled && cancelled->load(std::memory_order_relaxed); }
};

}  // namespace kalvenor
