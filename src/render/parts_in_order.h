#pragma once

#include <functional>

#include "render/recorded_canvas.h"

namespace kalvenor {

// Called on any thread: draws part `part` of a picture into its own recording.
using DrawPart = std::function<void(int part, RecordedCanvas& recording)>;
// Called on the calling thread, in the order of the parts: draws the part's recording on the
// picture's canvas; `before` is the part before's (null for the first), which a part may finish.
using PaintPart =
    std::function<void(int part, const RecordedCanvas& recording, const RecordedCanvas* before)>;

// Draws the parts 0 .. count - 1 on up to `threads` threads and paints them in order while the
// next ones are drawn. Only the calling thread paints, so the canvas needs no care for threads,
// and only a few parts ahead of the one painted are held. The first exception thrown by a
// drawing or a painting stops the others and comes out here; nothing is painted after it.
void drawPartsInOrder(const Canvas& measure, int count, int threads, const DrawPart& draw,
                      const PaintPart& paint);

// Paints the pairs 0 .. pairs - 1 of neighbouring columns of a wall or a section of `levels`
// levels with `draw`, which paints the pairs from .. to - 1 on the canvas it is given and calls
// afterFills() between their fills and the lines it held back until the fills were done. Where
// there are enough pairs to share, they are drawn in parts of a few hundred thousand cells on up
// to `threads` threads, each into a recording, and painted in order; the lines each part held
// back are gathered and drawn after every part's fills and afterAllFills(), as one drawing of all
// the pairs paints them.
using DrawColumnPairs =
    std::function<void(Canvas& canvas, int from, int to, const std::function<void()>& afterFills)>;
void drawColumnPairs(Canvas& canvas, int pairs, int levels, int threads,
                     const DrawColumnPairs& draw, const std::function<void()>& afterAllFills);

}  // namespace kalvenor
