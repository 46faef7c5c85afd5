#include "imagewin/bitmap_file.h"

#include <QImageWriter>
#include <QSaveFile>

namespace kalvenor {

QString writeBitmapFile(const QImage& picture, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  QImageWriter writer(&file, "bmp");
  if (!writer.write(picture)) {
    file.cancelWriting();
    return writer.errorString();
  }
  if (!file.commit()) return file.errorString();
  return {};
}

}  // namespace kalvenor
