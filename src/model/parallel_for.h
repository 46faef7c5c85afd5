#pragma once

#include <functional>

namespace kalvenor {

// How the iterations of a parallel loop are shared out.
struct ParallelSchedule {
  int threads = 1;  // at most this many threads, as the caller's RenderContext says
  int chunk = 1;    // iterations taken at a time
  // Taken by whichever thread is free (for iterations of uneven cost), or dealt out chunk by
  // chunk to the threads in turn, so that the first chunk always runs on the calling thread.
  bool dynamic = true;
};

// Calls body(i) for every i from `first` to `last`, in one OpenMP loop. An exception
// thrown by any call cannot escape the thread it was thrown on (OpenMP would end the program):
// the first one is kept, the calls not yet begun are skipped, and it is thrown again on the
// calling thread once the loop has ended.
void parallelFor(int first, int last, const std::function<void(int)>& body,
                 const ParallelSchedule& schedule = {});

// The threads the programs give their work: what OpenMP offers (OMP_NUM_THREADS, else one a
// core). Asked once by whoever makes the RenderContext; nothing below the session asks.
int availableThreads();

// True on the thread that called parallelFor, and outside any parallel loop: the one thread that
// may report progress while the others work.
bool onCallingThread();

}  // namespace kalvenor
