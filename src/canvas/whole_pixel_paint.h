#pragma once

#include <QPainter>
#include <span>

#include "render/canvas.h"

namespace kalvenor {

// Fills a polygon with whole-pixel corners by the even-odd rule straight into the pixels of the
// image `painter` paints on, giving the pixels the painter's own fill without antialiasing gives:
// a pixel row is sampled through its middle, and an edge met there at x fills from the pixel
// whose middle lies at or right of x. Costs a tenth of the painter's way for a cell of a few
// pixels, where most of the painter's time goes to setting up its outline and spans.
//
// Returns false, having drawn nothing, where it cannot give the painter's pixels for certain:
// when the painter is not on a 32-bit image at one pixel to the point with at most a whole-pixel
// shift, or when a corner lies left or right of the image (the painter clips such edges its own
// way).
bool fillWholePixels(QPainter& painter, std::span<const CanvasPoint> corners, PackedColor color);

// A point at a whole pixel with a solid pen 1 or 2 pixels wide, without antialiasing, as the
// painter draws it: the pixel itself, or the square of two by two whose lower right pixel it is.
// Returns false, having drawn nothing, for any other point, on a painter fillWholePixels refuses,
// or where the square would not lie wholly within the image.
bool dotWholePixel(QPainter& painter, float x, float y, int width, PackedColor color);

}  // namespace kalvenor
