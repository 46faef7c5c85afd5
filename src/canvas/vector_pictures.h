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

}  // namespace kalvenor
