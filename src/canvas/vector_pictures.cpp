#include "canvas/vector_pictures.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

#include "canvas/vector_canvas.h"

namespace kalvenor {
namespace {

void drawOn(QPaintDevice& device, QSize size, PackedColor background, bool antialiasedLines,
            const std::function<void(Canvas&)>& draw) {
  VectorCanvas canvas(device, size);
  canvas.setAntialiasedLines(antialiasedLines);
  canvas.setBackgroundColor(background);
  canvas.clear();
  draw(canvas);
}

}  // namespace

QByteArray vectorPicture(VectorFormat format, QSize size, PackedColor background,
                         bool antialiasedLines, const std::function<void(Canvas&)>& draw) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QString title = QStringLiteral("Kalvenor2003");
  if (format == VectorFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title);
    drawOn(svg, size, background, antialiasedLines, draw);
  } else {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(72);  // one point a pixel
    pdf.setPageSize(QPageSize(QSizeF(size), QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(title);
    pdf.setCreator(title);
    drawOn(pdf, size, background, antialiasedLines, draw);
  }
  return bytes;
}

QByteArray pagedPdf(const PdfPages& pages, PackedColor background, bool antialiasedLines,
                    const std::function<void(Canvas&, int)>& drawPage) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QString title = QStringLiteral("Kalvenor2003");
  QPdfWriter pdf(&buffer);
  pdf.setResolution(static_cast<int>(std::lround(pages.dotsPerInch)));
  pdf.setPageSize(
      QPageSize(pages.millimetres, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  pdf.setTitle(title);
  pdf.setCreator(title);
  {
    VectorCanvas canvas(pdf, QSize(pdf.width(), pdf.height()));
    canvas.setAntialiasedLines(antialiasedLines);
    canvas.setBackgroundColor(background);
    for (int page = 0; page < pages.count; ++page) {
      if (page > 0) {
        canvas.finishPage();
        pdf.newPage();
      }
      canvas.clear();
      drawPage(canvas, page);
    }
  }
  return bytes;
}

}  // namespace kalvenor
