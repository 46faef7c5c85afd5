#include "render/annotation_layout.h"

#include <algorithm>
#include <cmath>

namespace kalvenor {
namespace {

// Cuts a UTF-8 text before its last character, so that a Japanese name never loses half a
// character.
void dropLastCharacter(std::string& text) {
  while (!text.empty()) {
    const auto byte = static_cast<unsigned char>(text.back());
    text.pop_back();
    if ((byte & 0xC0) != 0x80) return;
  }
}

double rowHeight(int size) { return 1.5 * size; }

}  // namespace

int annotationTextSize(const Canvas& canvas) {
  const double shorter = std::min(canvas.width(), canvas.height());
  return static_cast<int>(std::clamp(std::round(shorter / 36), 10.0, 20.0));
}

Margins limitedMargins(const Margins& wanted, const Canvas& canvas) {
  Margins m = wanted;
  const double across = m.left + m.right, down = m.top + m.bottom;
  if (across > canvas.width() / 2) {
    const double f = canvas.width() / 2 / across;
    m.left *= f;
    m.right *= f;
  }
  if (down > canvas.height() / 2) {
    const double f = canvas.height() / 2 / down;
    m.top *= f;
    m.bottom *= f;
  }
  return m;
}

bool drawLabel(Canvas& canvas, double x, double baseline, const std::string& text, int size,
               TextAlign align) {
  const double width = canvas.textWidth(text, size);
  const double left = align == TextAlign::Left     ? x
                      : align == TextAlign::Center ? x - width / 2
                                                   : x - width;
  // The baseline leaves about a fifth of the text height below it for descenders.
  if (left < 0 || left + width > canvas.width() || baseline - 0.8 * size < 0 ||
      baseline + 0.25 * size > canvas.height()) {
    return false;
  }
  canvas.text(static_cast<float>(x), static_cast<float>(baseline), text, size, align);
  return true;
}

std::string fittedText(const Canvas& canvas, const std::string& text, int size, double width) {
  if (canvas.textWidth(text, size) <= width) return text;
  const std::string ellipsis = "\xE2\x80\xA6";
  std::string cut = text;
  while (!cut.empty() && canvas.textWidth(cut + ellipsis, size) > width) dropLastCharacter(cut);
  return cut.empty() ? std::string() : cut + ellipsis;
}

double titleHeight(const std::string& title, int size) {
  return title.empty() ? 0 : rowHeight(size) + 0.3 * size;
}

void drawTitle(Canvas& canvas, const std::string& title, int size) {
  if (title.empty()) return;
  const std::string shown = fittedText(canvas, title, size, canvas.width() - size);
  if (!shown.empty())
    drawLabel(canvas, canvas.width() / 2, 1.2 * size, shown, size, TextAlign::Center);
}

double legendWidth(const Canvas& canvas, const std::vector<LegendEntry>& entries, int size) {
  double widest = 0;
  for (const LegendEntry& entry : entries) {
    widest = std::max(widest, canvas.textWidth(entry.name, size));
  }
  return entries.empty() ? 0 : 1.6 * size + widest;
}

void drawLegend(Canvas& canvas, const std::vector<LegendEntry>& entries, double left, double top,
                int size, PackedColor lineColor) {
  setSolidPen(canvas, lineColor, 1);
  canvas.setFillStyle(FillStyle::Solid);
  double y = top;
  for (const LegendEntry& entry : entries) {
    if (y + rowHeight(size) > canvas.height()) return;
    const auto x0 = static_cast<std::int32_t>(std::lround(left));
    const auto y0 = static_cast<std::int32_t>(std::lround(y + 0.2 * size));
    const std::int32_t x1 = x0 + size, y1 = y0 + size;
    canvas.setFillColor(entry.color);
    canvas.setPenColor(lineColor);
    canvas.polygon({CanvasPoint{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
    drawLabel(canvas, left + 1.6 * size, y + size, entry.name, size, TextAlign::Left);
    y += rowHeight(size);
  }
}

}  // namespace kalvenor
