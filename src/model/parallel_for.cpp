#include "model/parallel_for.h"

#include <omp.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>

namespace kalvenor {
namespace {

// The first failure of a loop and whether there was one, so that the other threads stop soon.
class FirstFailure {
 public:
  bool happened() const { return happened_.load(std::memory_order_acquire); }
  void keep(std::exception_ptr error) {
    const std::lock_guard lock(mutex_);
    if (!error_) error_ = std::move(error);
    happened_.store(true, std::memory_order_release);
  }
  void rethrow() const {
    if (error_) std::rethrow_exception(error_);
  }

 private:
  std::atomic<bool> happened_{false};
  std::mutex mutex_;
  std::exception_ptr error_;
};

void runGuarded(int i, const std::function<void(int)>& body, FirstFailure& failure) {
  if (failure.happened()) return;
  try {
    body(i);
  } catch (...) {
    failure.keep(std::current_exception());
  }
}

}  // namespace

void parallelFor(int first, int last, const std::function<void(int)>& body,
                 const ParallelSchedule& schedule) {
  if (last < first) return;
  const int threads = std::max(1, schedule.threads);
  const int chunk = schedule.chunk > 0 ? schedule.chunk : 1;
  FirstFailure failure;
  if (schedule.dynamic) {
#pragma omp parallel for num_threads(threads) schedule(dynamic, chunk) if (threads > 1)
    for (int i = first; i <= last; ++i) runGuarded(i, body, failure);
  } else {
#pragma omp parallel for num_threads(threads) schedule(static, chunk) if (threads > 1)
    for (int i = first; i <= last; ++i) runGuarded(i, body, failure);
  }
  failure.rethrow();
}

int availableThreads() { return omp_get_max_threads(); }

bool onCallingThread() { return omp_get_thread_num() == 0; }

}  // namespace kalvenor
