#include "render/parts_in_order.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "model/parallel_for.h"

namespace kalvenor {
namespace {

// The parts and who draws which: a part is taken by the first thread to ask for it, and no part
// further than `ahead` beyond the next to be painted is taken, which bounds what is held.
class Parts {
 public:
  Parts(const Canvas& measure, int count, int ahead)
      : measure_(measure), count_(count), ahead_(ahead), slots_(count), drawn_(count) {}

  // The next part to draw, or -1 when none may be taken now.
  int take() {
    int part = next_.load();
    while (part < count_ && part < painted_.load(std::memory_order_acquire) + ahead_) {
      if (next_.compare_exchange_weak(part, part + 1)) return part;
    }
    return -1;
  }
  bool allTaken() const { return next_.load() >= count_; }

  void drawOne(int part, const DrawPart& draw) {
    if (!failed()) {
      try {
        slots_[part].emplace(measure_);
        draw(part, *slots_[part]);
      } catch (...) {
        fail(std::current_exception());
      }
    }
    drawn_[part].store(true, std::memory_order_release);
  }

  // On the calling thread: waits for each part in turn, drawing parts meanwhile, and paints it.
  void paintAll(const DrawPart& draw, const PaintPart& paint) {
    for (int part = 0; part < count_ && !failed(); ++part) {
      while (!drawn_[part].load(std::memory_order_acquire)) {
        const int other = take();
        if (other >= 0) {
          drawOne(other, draw);
        } else {
          std::this_thread::yield();
        }
      }
      if (failed()) break;
      try {
        paint(part, *slots_[part], part > 0 ? &*slots_[part - 1] : nullptr);
      } catch (...) {
        fail(std::current_exception());
        break;
      }
      if (part > 0) slots_[part - 1].reset();
      painted_.store(part + 1, std::memory_order_release);
    }
  }

  // On the other threads: draws parts until all are taken or something failed.
  void drawAll(const DrawPart& draw) {
    while (!failed() && !allTaken()) {
      const int part = take();
      if (part >= 0) {
        drawOne(part, draw);
      } else {
        std::this_thread::yield();
      }
    }
  }

  void rethrow() {
    if (error_) std::rethrow_exception(error_);
  }

 private:
  bool failed() const { return failed_.load(std::memory_order_acquire); }
  void fail(const std::exception_ptr& error) {
    const std::lock_guard lock(errorMutex_);
    if (!error_) error_ = error;
    failed_.store(true, std::memory_order_release);
  }

  const Canvas& measure_;
  const int count_, ahead_;
  std::vector<std::optional<RecordedCanvas>> slots_;
  std::vector<std::atomic<bool>> drawn_;
  std::atomic<int> next_{0}, painted_{0};
  std::atomic<bool> failed_{false};
  std::mutex errorMutex_;
  std::exception_ptr error_;
};

}  // namespace

void drawPartsInOrder(const Canvas& measure, int count, int threads, const DrawPart& draw,
                      const PaintPart& paint) {
  if (count <= 0) return;
  threads = std::max(1, threads);
  Parts parts(measure, count, 2 * threads + 1);
  // One turn a thread, dealt out in order: the first, which paints, is the calling thread's.
  parallelFor(0, threads - 1,
              [&](int turn) {
                if (turn == 0) {
                  parts.paintAll(draw, paint);
                } else {
                  parts.drawAll(draw);
                }
              },
              {.threads = threads, .dynamic = false});
  parts.rethrow();
}

void drawColumnPairs(Canvas& canvas, int pairs, int levels, int threads,
                     const DrawColumnPairs& draw, const std::function<void()>& afterAllFills) {
  // Several parts for each thread.
  constexpr int kCellsPerPart = 1 << 18;
  const int pairsPerPart =
      std::min(std::max(1, kCellsPerPart / std::max(1, levels)), pairs / (8 * threads));
  if (threads <= 1 || pairsPerPart < 1) return draw(canvas, 0, pairs, afterAllFills);
  const int parts = (pairs + pairsPerPart - 1) / pairsPerPart;
  std::vector<RecordedCanvas::Mark> fillsEnd(static_cast<std::size_t>(parts));
  RecordedCanvas heldLines(canvas);
  drawPartsInOrder(
      canvas, parts, threads,
      [&](int part, RecordedCanvas& recording) {
        const int from = part * pairsPerPart;
        draw(recording, from, std::min(pairs, from + pairsPerPart),
             [&] { fillsEnd[part] = recording.mark(); });
      },
      [&](int part, const RecordedCanvas& recording, const RecordedCanvas*) {
        recording.drawOn(canvas, {}, fillsEnd[part]);
        recording.drawOn(heldLines, fillsEnd[part], recording.end());
      });
  afterAllFills();
  heldLines.drawOn(canvas);
}

}  // namespace kalvenor
