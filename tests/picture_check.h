#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <QtTest>

// One comparison for every picture test. On a mismatch it writes the expected picture, the actual
// one and a difference picture (the expected one faded, the pixels that differ in red) and names
// them in the failure, so the reason can be seen rather than guessed from a count.

namespace kalvenor {

// How far two pictures may differ and still count as the same.
struct PictureTolerance {
  // The largest difference of a red, green, blue or alpha value that still counts as equal.
  int colour = 0;
  // How many pixels in a thousand may differ by more.
  qint64 pixelsPerMille = 0;
};

// Pixel for pixel.
inline constexpr PictureTolerance kExactPixels{};
// Traced lines: a compiler may round a projected corner the other way.
inline constexpr PictureTolerance kTracedLines{.colour = 0, .pixelsPerMille = 1};
// Antialiased edges and text, whose coverage shifts with the rasteriser's version.
inline constexpr PictureTolerance kSmoothedEdges{.colour = 24, .pixelsPerMille = 1};

// The pixels of two pictures of one size that differ by more than a colour tolerance: how many,
// the first in reading order and the largest difference of a channel among them.
struct PixelDifference {
  qint64 count = 0;
  QPoint first{-1, -1};
  int largest = 0;
};

PixelDifference pixelDifference(const QImage& actual, const QImage& expected, int colour = 0);

// Where the pictures of a mismatch go: `folder`/`name`-expected.png, -actual.png, -difference.png.
struct PictureReport {
  QString folder;
  QString name;
};

// The report of the running test function (and data row); `what` tells several comparisons of one
// function apart. The folder is the build's failed-pictures/<test program>.
PictureReport pictureReport(const QString& what = {});

// Empty when `actual` is `expected` within `tolerance`; otherwise what differs and the paths of the
// three pictures written for `report`. A match removes pictures an earlier failure left there.
QString pictureMismatch(const QImage& actual, const QImage& expected, PictureTolerance tolerance,
                        const PictureReport& report);

}  // namespace kalvenor

// Fails the running test when `actual` is not `expected` within `tolerance`; an optional last
// argument tells several comparisons of one test function apart.
#define KALVENOR_COMPARE_PICTURES(actual, expected, tolerance, ...)                                \
  do {                                                                                             \
    const QString mismatch_ = ::kalvenor::pictureMismatch((actual), (expected), (tolerance),       \
                                                          ::kalvenor::pictureReport(__VA_ARGS__)); \
    if (!mismatch_.isEmpty()) QFAIL(qPrintable(mismatch_));                                        \
  } while (false)
