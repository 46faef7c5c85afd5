#pragma once

#include <QImage>
#include <QString>

namespace kalvenor {

// Writes the picture as a Windows bitmap whatever the extension. The data go to a temporary
// file in the same folder that is renamed over the target only when complete, so a failed write
// leaves an existing file as it was. Returns an empty string on success, else what went wrong.
QString writeBitmapFile(const QImage& picture, const QString& path);

}  // namespace kalvenor
