// The one parallel loop of the core: every iteration once, and a failure on any thread comes
// back to the caller instead of ending the program.
#include "model/parallel_for.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

namespace kalvenor {
namespace {

struct Sharing {
  const char* name;
  ParallelSchedule schedule;
};

const Sharing kSharings[] = {
    {"taken when free", {.threads = 2}},
    {"taken four at a time", {.threads = 2, .chunk = 4}},
    {"dealt out on three threads", {.threads = 3, .dynamic = false}},
    {"on one thread", {.threads = 1}},
};

TEST(ParallelFor, CallsEveryIterationOnce) {
  for (const Sharing& sharing : kSharings) {
    std::vector<std::atomic<int>> calls(101);
    parallelFor(
        -50, 50, [&](int i) { ++calls[i + 50]; }, sharing.schedule);
    for (int i = -50; i <= 50; ++i) EXPECT_EQ(calls[i + 50], 1) << sharing.name << ", " << i;
  }
  int none = 0;
  parallelFor(1, 0, [&](int) { ++none; });
  EXPECT_EQ(none, 0);
}

// Whichever thread it is thrown on, the caller gets the exception itself once the loop is over,
// and the iterations not yet begun are left out.
TEST(ParallelFor, AFailureInOneIterationIsThrownToTheCaller) {
  for (const Sharing& sharing : kSharings) {
    std::atomic<int> calls = 0;
    std::atomic<bool> thrown = false;
    // The late iterations wait for the throw and then take their time, so that neither a thread
    // held off before throwing nor a slow first unwinding lets the others run them all.
    const auto fail = [&] {
      parallelFor(
          1, 100000,
          [&](int i) {
            ++calls;
            if (i == 7) {
              thrown = true;
              throw std::bad_alloc();
            }
            if (i <= 1000) return;
            while (!thrown) std::this_thread::yield();
            std::this_thread::sleep_for(std::chrono::microseconds(100));
          },
          sharing.schedule);
    };
    EXPECT_THROW(fail(), std::bad_alloc) << sharing.name;
    EXPECT_LT(calls, 100000) << sharing.name;
  }
  // Every iteration failing at once on all threads still gives the caller one of them.
  EXPECT_THROW(parallelFor(1, 64, [](int i) { throw std::runtime_error(std::to_string(i)); },
                           {.threads = 2}),
               std::runtime_error);
}

// The loop that paints on the calling thread while others draw relies on this.
TEST(ParallelFor, DealtOutTheFirstIterationRunsOnTheCallingThread) {
  const std::thread::id caller = std::this_thread::get_id();
  std::vector<std::thread::id> ranOn(6);
  std::vector<bool> calling(6);
  parallelFor(0, 5,
              [&](int i) {
                ranOn[i] = std::this_thread::get_id();
                calling[i] = onCallingThread();
              },
              {.threads = 3, .dynamic = false});
  EXPECT_EQ(ranOn[0], caller);
  EXPECT_TRUE(calling[0]);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(calling[i], ranOn[i] == caller) << i;
  EXPECT_TRUE(onCallingThread());
}

}  // namespace
}  // namespace kalvenor
