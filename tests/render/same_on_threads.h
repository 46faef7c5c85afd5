#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "recording_canvas.h"
#include "render/draw_options.h"

namespace kalvenor {

// Expects `draw(contacts, mode, threads)` to record on 2, 3 and 7 threads the operations it
// records on one, in both contact modes and each of `modes`.
template <class Draw>
void expectWhatOneThreadDraws(const Draw& draw, std::initializer_list<DrawingMode> modes) {
  for (const Contacts contacts : {Contacts::Cells, Contacts::Smooth}) {
    for (const DrawingMode mode : modes) {
      const std::vector<RecordingCanvas::Op> one = draw(contacts, mode, 1);
      ASSERT_GT(one.size(), 100u);
      for (const int threads : {2, 3, 7}) {
        EXPECT_EQ(draw(contacts, mode, threads), one)
            << "contacts " << static_cast<int>(contacts) << ", mode " << static_cast<int>(mode)
            << ", " << threads << " threads";
      }
    }
  }
}

}  // namespace kalvenor
