#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <string>

namespace kalvenor {

// The picture as the bytes of a file in an image format Qt writes ("bmp", "png"); a PNG of at
// most 256 colours gets a palette. Throws
// OutputError naming `path` when it cannot be encoded.
QByteArray encodePicture(const QImage& picture, const char* format, const std::string& path);

// Writes the picture as a Windows bitmap whatever the extension, through writeOutputFile: a
// failed write leaves an existing file as it was. Returns an empty string on success, else what
// went wrong and why.
QString writeBitmapFile(const QImage& picture, const QString& path);

}  // namespace kalvenor
