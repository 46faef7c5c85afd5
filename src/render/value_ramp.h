#pragma once

#include <string>

#include "model/array2d.h"
#include "model/packed_color.h"
#include "render/canvas.h"

namespace kalvenor {

// Where a value map has no value (a depth where the boundary is no contact).
inline constexpr PackedColor kNoValueColor = packRgb(190, 190, 190);

// The colours of a map of values: a continuous ramp from dark blue at the lowest value through
// green to yellow at the highest (the viridis ramp, which reads in grey and to most colour-blind
// eyes too), values beyond the range taking its ends, and grey for none (NaN).
struct ValueRamp {
  double low = 0.0;
  double high = 1.0;
  PackedColor colorOf(double value) const;
};

// The ramp over the lowest to the highest value that is not NaN; 0 to 1 when there is none.
ValueRamp rampOver(const Array2D<double>& values);

// A legend of a value map: the ramp as a bar with round values beside it, under its title.
struct ColourBar {
  std::string title;
  ValueRamp ramp;
};

// The width the bar and its values take at text size `size`; its title lies on a row of its own
// above it, colourBarTitleHeight high, ending at the picture's right margin, so that a long
// title costs no width beside the map.
double colourBarWidth(const Canvas& canvas, const ColourBar& bar, int size);
double colourBarTitleHeight(int size);

// The title on the row at `top`, the bar from `left` under it, lowest value at the bottom, with
// ticks; nothing falls below the picture's bottom.
void drawColourBar(Canvas& canvas, const ColourBar& bar, double left, double top, int size,
                   PackedColor lineColor);

}  // namespace kalvenor
