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

// The width the bar and its title take at text size `size`.
double colourBarWidth(const Canvas& canvas, const ColourBar& bar, int size);

// The title from (left, top), the bar under it, lowest value at the bottom, with ticks; nothing
// falls below the picture's bottom.
void drawColourBar(Canvas& canvas, const ColourBar& bar, double left, double top, int size,
                   PackedColor lineColor);

}  // namespace kalvenor
