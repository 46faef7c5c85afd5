#pragma once

#include <string>
#include <vector>

#include "model/packed_color.h"
#include "render/canvas.h"

namespace kalvenor {

// One row of a legend.
struct LegendEntry {
  std::string name;
  PackedColor color;
};

// Room kept free around the drawing for the annotations, in pixels.
struct Margins {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// The text height for a picture's annotations: it grows with the picture, from 10 to 20 pixels.
int annotationTextSize(const Canvas& canvas);

// Margins that leave at least half of the picture each way to the drawing: on a picture too small
// for all the annotations the drawing keeps its room and the labels that do not fit are left out.
Margins limitedMargins(const Margins& wanted, const Canvas& canvas);

// A label drawn only when it lies wholly on the picture; false when it was left out.
bool drawLabel(Canvas& canvas, double x, double baseline, const std::string& text, int size,
               TextAlign align);

// The text cut to fit `width`, an ellipsis marking the cut; "" when not even that fits.
std::string fittedText(const Canvas& canvas, const std::string& text, int size, double width);

// The height the title line takes, 0 without a title.
double titleHeight(const std::string& title, int size);

// The title centred on the top line, cut to the picture's width.
void drawTitle(Canvas& canvas, const std::string& title, int size);

double legendWidth(const Canvas& canvas, const std::vector<LegendEntry>& entries, int size);

// The rows from (left, top) downward, each a swatch outlined in the line colour and the name;
// rows below the picture's bottom are left out.
void drawLegend(Canvas& canvas, const std::vector<LegendEntry>& entries, double left, double top,
                int size, PackedColor lineColor);

}  // namespace kalvenor
