#include "canvas/bitmap_file.h"

#include <QBuffer>
#include <QImageWriter>

#include "canvas/output_files.h"

namespace kalvenor {

QByteArray encodePicture(const QImage& picture, const char* format, const std::string& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(picture)) {
    throw OutputError(path, std::string("cannot encode the picture as ") + format + ": " +
                                writer.errorString().toStdString());
  }
  return bytes;
}

QString writeBitmapFile(const QImage& picture, const QString& path) {
  try {
    writeOutputFile(path.toStdString(), encodePicture(picture, "bmp", path.toStdString()));
    return {};
  } catch (const OutputError& error) {
    return QString::fromStdString(error.problem());
  }
}

}  // namespace kalvenor
