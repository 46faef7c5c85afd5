#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "test_paths.h"

namespace kalvenor {

// The bundled example and the survey line the pictures of these tests use.
inline QString exampleFile(const QString& name) {
  return QStringLiteral(KALVENOR_EXAMPLES_DIR "/folded-basin/") + name;
}

inline const QStringList kExampleBoundaries = {"limestone_top.txt", "sandstone_top.txt",
                                               "mudstone_top.txt", "unconformity.txt"};
inline const QString kSectionStart = QStringLiteral("30200,41000");
inline const QString kSectionEnd = QStringLiteral("34800,43500");

// kalvenor-render's inputs for the example: its files and colours, base height 0.
inline QStringList exampleInputs() {
  QStringList args = {
      "--model",  exampleFile("model.txt"),  "--surface", exampleFile("topography.txt"),
      "--colors", exampleFile("colors.txt"), "--zbase",   "0"};
  for (const QString& boundary : kExampleBoundaries) args << "--boundary" << exampleFile(boundary);
  return args;
}

// Runs kalvenor-render with `args`, which name `picture` as an output, and reads the picture in
// RGB32; on `threads` threads when given. A null image when the run failed; `errors` then holds
// what it said.
inline QImage renderPicture(const QStringList& args, const QString& picture, QString& errors,
                            int threads = 0) {
  QProcess process;
  if (threads > 0) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OMP_NUM_THREADS"), QString::number(threads));
    process.setProcessEnvironment(environment);
  }
  process.start(QStringLiteral(KALVENOR_RENDER_PATH), args);
  if (!process.waitForFinished(120000)) {
    errors = QStringLiteral("kalvenor-render did not finish");
    return {};
  }
  errors = QString::fromUtf8(process.readAllStandardError());
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return {};
  return QImage(picture).convertToFormat(QImage::Format_RGB32);
}

// The number of pixels of one colour, given by qRgb.
inline qint64 pixelsOf(const QImage& image, QRgb color) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  qint64 count = 0;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) count += line[x] == color;
  }
  return count;
}

}  // namespace kalvenor
