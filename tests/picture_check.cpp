#include "picture_check.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>

#include "test_paths.h"

namespace kalvenor {
namespace {

// The largest difference of one of the four channels of two ARGB words.
int channelDifference(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                   std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
}

// Letters, digits, '-' and '_' as they are, any other run of characters as one '-', so that data
// tags such as "cells, lines after each cell" make plain file names.
QString fileNamePart(const QString& text) {
  QString part;
  for (const QChar c : text) {
    const bool plain = (c.isLetterOrNumber() && c.unicode() < 128) || c == '-' || c == '_';
    if (plain) {
      part += c;
    } else if (!part.endsWith('-')) {
      part += '-';
    }
  }
  return part;
}

// The expected picture faded to a fifth of its contrast, so that it shows where the red pixels,
// those that differ beyond the tolerance, lie.
QImage differencePicture(const QImage& actual, const QImage& expected, int colour) {
  QImage picture = expected.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < picture.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    const auto* other = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb c = line[x];
      line[x] = channelDifference(c, other[x]) > colour
                    ? qRgb(255, 0, 0)
                    : qRgb(204 + qRed(c) / 5, 204 + qGreen(c) / 5, 204 + qBlue(c) / 5);
    }
  }
  return picture;
}

struct ReportFiles {
  QString expected;
  QString actual;
  QString difference;
};

ReportFiles reportFiles(const PictureReport& report) {
  const QString stem = QDir(report.folder).filePath(report.name);
  return {stem + "-expected.png", stem + "-actual.png", stem + "-difference.png"};
}

void removeReport(const ReportFiles& files) {
  for (const QString& path : {files.expected, files.actual, files.difference}) QFile::remove(path);
}

QString sizeText(const QImage& image) {
  return QStringLiteral("%1 x %2").arg(image.width()).arg(image.height());
}

}  // namespace

PixelDifference pixelDifference(const QImage& actual, const QImage& expected, int colour) {
  const QImage left = actual.convertToFormat(QImage::Format_ARGB32);
  const QImage right = expected.convertToFormat(QImage::Format_ARGB32);
  PixelDifference difference;
  for (int y = 0; y < left.height(); ++y) {
    const auto* l = reinterpret_cast<const QRgb*>(left.constScanLine(y));
    const auto* r = reinterpret_cast<const QRgb*>(right.constScanLine(y));
    for (int x = 0; x < left.width(); ++x) {
      const int d = channelDifference(l[x], r[x]);
      if (d <= colour) continue;
      if (difference.count++ == 0) difference.first = QPoint(x, y);
      difference.largest = std::max(difference.largest, d);
    }
  }
  return difference;
}

PictureReport pictureReport(const QString& what) {
  QString name = fileNamePart(QString::fromUtf8(QTest::currentTestFunction()));
  const QString tag = QString::fromUtf8(QTest::currentDataTag());
  if (!tag.isEmpty()) name += "_" + fileNamePart(tag);
  if (!what.isEmpty()) name += "-" + fileNamePart(what);
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  return {QStringLiteral(KALVENOR_FAILED_PICTURES_DIR "/") + program, name};
}

QString pictureMismatch(const QImage& actual, const QImage& expected, PictureTolerance tolerance,
                        const PictureReport& report) {
  const ReportFiles files = reportFiles(report);
  const bool sameSize = actual.size() == expected.size();
  const PixelDifference difference =
      sameSize ? pixelDifference(actual, expected, tolerance.colour) : PixelDifference{};
  const qint64 tolerated =
      qint64(expected.width()) * expected.height() * tolerance.pixelsPerMille / 1000;
  removeReport(files);
  const bool sameRatio = actual.devicePixelRatio() == expected.devicePixelRatio();
  if (sameRatio && sameSize && difference.count <= tolerated) return {};

  QDir().mkpath(report.folder);
  expected.save(files.expected);
  actual.save(files.actual);
  if (!sameRatio) {
    return QStringLiteral(
               "The picture has %1 pixels to a point, the expected one %2; they are %3 "
               "and %4")
        .arg(actual.devicePixelRatio())
        .arg(expected.devicePixelRatio())
        .arg(files.actual, files.expected);
  }
  if (!sameSize) {
    return QStringLiteral("The picture is %1 pixels, the expected one %2; they are %3 and %4")
        .arg(sizeText(actual), sizeText(expected), files.actual, files.expected);
  }
  differencePicture(actual.convertToFormat(QImage::Format_ARGB32), expected, tolerance.colour)
      .save(files.difference);
  return QStringLiteral(
             "%1 of %2 pixels differ by more than %3 in a colour (at most %4 may), by up to %5, "
             "the first at (%6, %7). Expected: %8 actual: %9 difference: %10")
      .arg(difference.count)
      .arg(qint64(expected.width()) * expected.height())
      .arg(tolerance.colour)
      .arg(tolerated)
      .arg(difference.largest)
      .arg(difference.first.x())
      .arg(difference.first.y())
      .arg(files.expected, files.actual, files.difference);
}

}  // namespace kalvenor
