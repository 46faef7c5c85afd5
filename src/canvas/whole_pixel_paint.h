#pragma once

#include <QPainter>
#include <cstddef>
#include <optional>
#include <span>

#include "render/canvas.h"

namespace kalvenor {

// The pixels of the image a painter paints on, where they can be written directly with the
// painter's result: a 32-bit image at one pixel to the point, the painter shifted by whole pixels
// at most, without clipping. Valid while that painter stays open unchanged: an open painter holds
// its image detached, so the pixels are the image's own.
struct PixelTarget {
  QRgb* pixels;
  std::ptrdiff_t stride;  // pixels from one row to the next
  int width, height;
  QPoint shift;  // added to a point to find its pixel
};
std::optional<PixelTarget> pixelTargetOf(QPainter& painter);

// Fills a polygon with whole-pixel corners by the even-odd rule, giving the pixels the painter's
// own fill without antialiasing gives: a pixel row is sampled through its middle, and an edge met
// there at x fills from the pixel whose middle lies at or right of x. Costs a tenth of the
// painter's way for a cell of a few pixels, where most of the painter's time goes to setting up
// its outline and spans.
//
// Returns false, having drawn nothing, where a corner lies left or right of the image (the
// painter clips such edges its own way), more than 16 384 rows above or below it, or the polygon
// has over 16 corners.
bool fillWholePixels(const PixelTarget& target, std::span<const CanvasPoint> corners,
                     PackedColor color);

// A point at a whole pixel with a solid pen 1 or 2 pixels wide, without antialiasing, as the
// painter draws it: the pixel itself, or the square of two by two whose lower right pixel it is.
// Returns false, having drawn nothing, for any other point, or where the square would not lie
// wholly within the image.
bool dotWholePixel(const PixelTarget& target, float x, float y, int width, PackedColor color);

}  // namespace kalvenor
