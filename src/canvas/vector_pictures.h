#pragma once

#include <QByteArray>
#include <QSize>
#include <functional>

#include "render/canvas.h"

namespace kalvenor {

enum class VectorFormat { Svg, Pdf };

// The picture `draw` makes on a canvas of `size` pixels cleared to `background`, as the bytes of
// an SVG file or of a one-page PDF whose points are the pixels, its text as text; lines and
// points antialiased when asked.
QByteArray vectorPicture(VectorFormat format, QSize size, PackedColor background,
                         bool antialiasedLines, const std::function<void(Canvas&)>& draw);

// The pages of a PDF: their paper in millimetres, the canvas pixels an inch of it is drawn with,
// and how many there are.
struct PdfPages {
  QSizeF millimetres;
  double dotsPerInch = 72.0;
  int count = 1;
};

// A PDF of the pages, page n (from 0) drawn by drawPage(canvas, n) on a canvas of the paper's
// size at its resolution, cleared to `background`; its text as text, lines and points
// antialiased when asked. The pages share one painter, so that the fonts and shapes of the file
// are shared too.
QByteArray pagedPdf(const PdfPages& pages, PackedColor background, bool antialiasedLines,
                    const std::function<void(Canvas&, int)>& drawPage);

}  // namespace kalvenor
