#include "canvas/bitmap_file.h"

#include <QBuffer>
#include <QHash>
#include <QImageWriter>
#include <cstring>

#include "canvas/output_files.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

// The picture with a palette of its colours, the same pixels; a null image when it has more than
// 256 colours.
QImage inPalette(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  QImage indexed(rgb.size(), QImage::Format_Indexed8);
  QList<QRgb> palette;
  QHash<QRgb, uchar> index;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* out = indexed.scanLine(y);
    // Neighbouring pixels mostly share their colour: look up only where it changes.
    QRgb last = 0;
    uchar lastIndex = 0;
    for (int x = 0; x < rgb.width(); ++x) {
      if (x == 0 || in[x] != last) {
        auto found = index.constFind(in[x]);
        if (found == index.cend()) {
          if (palette.size() == 256) return {};
          found = index.insert(in[x], static_cast<uchar>(palette.size()));
          palette.push_back(in[x]);
        }
        last = in[x];
        lastIndex = *found;
      }
      out[x] = lastIndex;
    }
  }
  indexed.setColorTable(palette);
  return indexed;
}

}  // namespace

QByteArray encodePicture(const QImage& picture, const char* format, const std::string& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  // A picture without antialiasing has a few colours: as a palette PNG it has a byte a pixel to
  // filter and compress instead of three, which takes half the time and gives a smaller file.
  const QImage palette = std::strcmp(format, "png") == 0 ? inPalette(picture) : QImage();
  if (!writer.write(palette.isNull() ? picture : palette)) {
    throw OutputError(path, fill(translated("cannot encode the picture as {1}: {2}"),
                                 {format, writer.errorString().toStdString()}));
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
