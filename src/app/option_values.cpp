#include "app/option_values.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <optional>
#include <sstream>

#include "model/coordinate_system.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {

std::vector<double> numbers(const std::string& option, const std::string& text, std::size_t count) {
  const auto refuse = [&] {
    throw UsageError(fill(translated("{1} takes {2} numbers separated by commas; {3} is not that"),
                          {option, std::to_string(count), quotedFound(text)}));
  };
  std::vector<double> values;
  std::stringstream parts(text);
  std::string part;
  while (std::getline(parts, part, ',')) {
    const auto value = wholeNumber(part);
    if (!value || !std::isfinite(*value)) refuse();
    values.push_back(*value);
  }
  if (values.size() != count) refuse();
  return values;
}

namespace {

// `count` finite numbers separated by commas, or nothing.
std::optional<std::vector<double>> wholeNumbers(const std::string& text, std::size_t count) {
  std::vector<double> values;
  std::stringstream parts(text);
  std::string part;
  while (std::getline(parts, part, ',')) {
    const auto value = wholeNumber(part);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    values.push_back(*value);
  }
  if (values.size() != count) return std::nullopt;
  return values;
}

}  // namespace

Point2 point(const std::string& option, const std::string& text) {
  const auto v = numbers(option, text, 2);
  return {v[0], v[1]};
}

std::vector<Point2> vertices(const std::string& text) {
  std::vector<Point2> points;
  std::stringstream parts(text);
  std::string part;
  while (std::getline(parts, part, ';')) {
    const auto xy = wholeNumbers(part, 2);
    if (!xy) {
      throw UsageError(fill(translated("{1} takes vertices x,y separated by semicolons; vertex {2} "
                                       "({3}) is not that"),
                            {"--vertices", std::to_string(points.size() + 1), quotedFound(part)}));
    }
    points.push_back({(*xy)[0], (*xy)[1]});
  }
  return points;
}

void readContours(RenderOptions& o, const std::string& text) {
  if (text == "auto") {
    o.autoContours = 20;
  } else if (text.rfind("auto:", 0) == 0) {
    const auto n = wholeNumber(text.substr(5));
    if (!n || *n < 1 || *n > 32767 || *n != Int(*n)) {
      throw UsageError(
          fill(translated("{1} takes a whole number of divisions from 1; {2} is not that"),
               {"--contours auto:N", quotedFound(text)}));
    }
    o.autoContours = static_cast<int>(*n);
  } else {
    const auto v = numbers("--contours", text, 3);
    if (v[2] == 0) {
      throw UsageError(fill(translated("{1}: the interval must not be 0"), {"--contours"}));
    }
    o.contours = {v[0], v[1], v[2]};
  }
}

void readPerspective(RenderOptions& o, const std::string& text) {
  const auto n = numbers("--perspective", text, 2);
  o.perspective = {n[0], n[1]};
}

void readFrame(RenderOptions& o, const std::string& text) {
  if (text != "2" && text != "4" && text != "none") {
    throw UsageError(fill(translated("{1} takes 2, 4 or none"), {"--frame"}));
  }
  o.frame = text == "none" ? 0 : std::stoi(text);
}

void readContacts(RenderOptions& o, const std::string& text) {
  if (text != "smooth" && text != "cells") {
    throw UsageError(fill(translated("{1} takes smooth or cells; {2} is not that"),
                          {"--contacts", quotedFound(text)}));
  }
  o.contacts = text == "smooth" ? Contacts::Smooth : Contacts::Cells;
}

void readMapOf(RenderOptions& o, const std::string& text) {
  const std::size_t colon = text.find(':');
  const std::string kind = text.substr(0, colon);
  if (colon == std::string::npos || colon + 1 == text.size() ||
      (kind != "thickness" && kind != "depth")) {
    throw UsageError(fill(translated("{1} takes thickness:UNIT or depth:BOUNDARY, the unit or "
                                     "boundary named as in the model; {2} is not that"),
                          {"--map-of", quotedFound(text)}));
  }
  o.mapValue = MapValue{kind == "thickness" ? MapValueKind::Thickness : MapValueKind::Depth,
                        text.substr(colon + 1)};
}

void readShade(RenderOptions& o, const std::string& text) {
  o.shading.on = true;
  if (text.empty()) return;
  const auto v = numbers("--shade", text, 2);
  if (!(v[1] >= 0 && v[1] <= 90)) {
    throw UsageError(fill(translated("{1} takes the light's azimuth and its altitude from 0 to 90 "
                                     "degrees; {2} is not that"),
                          {"--shade", quotedFound(text)}));
  }
  o.shading.azimuth = v[0];
  o.shading.altitude = v[1];
}

void readShadeStrength(RenderOptions& o, const std::string& text) {
  const double strength = numbers("--shade-strength", text, 1)[0];
  if (!(strength >= 0 && strength <= 1)) {
    throw UsageError(fill(translated("{1} takes a number from 0 to 1; {2} is not that"),
                          {"--shade-strength", quotedFound(text)}));
  }
  o.shading.strength = strength;
}

void readLayer(RenderOptions& o, const std::string& text) {
  if (text.empty()) {
    throw UsageError(fill(translated("{1} needs the name of a layer"), {"--layer"}));
  }
  o.layer = text;
}

void readBoreholeBuffer(RenderOptions& o, const std::string& text) {
  const double buffer = numbers("--borehole-buffer", text, 1)[0];
  if (!(buffer > 0)) {
    throw UsageError(fill(translated("{1} takes a distance in metres above 0; {2} is not that"),
                          {"--borehole-buffer", quotedFound(text)}));
  }
  o.boreholeDrawing.buffer = buffer;
}

void readExportVe(RenderOptions& o, const std::string& text) {
  const double ve = numbers("--export-ve", text, 1)[0];
  if (!(ve > 0)) {
    throw UsageError(fill(translated("{1} takes a vertical exaggeration above 0; {2} is not that"),
                          {"--export-ve", quotedFound(text)}));
  }
  o.exportVe = ve;
}

void readExportDecimate(RenderOptions& o, const std::string& text) {
  constexpr int kMostDecimation = 1000;
  const auto n = wholeNumber(text);
  if (!n || *n < 1 || *n > kMostDecimation || *n != Int(*n)) {
    throw UsageError(
        fill(translated("{1} takes a whole number from 1 to {2}; {3} is not that"),
             {"--export-decimate", std::to_string(kMostDecimation), quotedFound(text)}));
  }
  o.exportDecimate = static_cast<int>(*n);
}

void readSectionSeries(RenderOptions& o, const std::string& text) {
  const std::vector<double> n = numbers("--section-series", text, 2);
  if (n[0] != std::floor(n[0]) || n[0] < 1 || n[0] > kMaxSeriesSections) {
    throw UsageError(
        fill(translated("{1} takes the number of sections, a whole number from 1 to "
                        "{2}, and their spacing in metres, for example 5,500; {3} is "
                        "not that"),
             {"--section-series", std::to_string(kMaxSeriesSections), quotedFound(text)}));
  }
  const SectionSeries series{static_cast<int>(n[0]), n[1]};
  if (const auto problem = seriesProblem(series)) {
    throw UsageError("--section-series: " + *problem);
  }
  o.sectionSeries = series;
}

void readAtlas(RenderOptions& o, const std::string& text) {
  std::string extension = std::filesystem::path(text).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension != ".pdf") {
    throw UsageError(fill(translated("{1} writes a PDF, whose name must end in .pdf; {2} does not"),
                          {"--atlas", quotedFound(text)}));
  }
  o.atlasFile = text;
}

void readAtlasPage(RenderOptions& o, const std::string& text) {
  const std::size_t comma = text.find(',');
  const std::string orientation = comma == std::string::npos ? "" : text.substr(comma + 1);
  const std::optional<AtlasPaper> paper =
      orientation.empty() || orientation == "portrait"
          ? namedPaper(text.substr(0, comma), orientation == "portrait")
          : std::nullopt;
  if (!paper) {
    throw UsageError(fill(translated("{1} takes A3, A4, A5, letter or legal, with {2} for "
                                     "upright pages; {3} is not that"),
                          {"--atlas-page", ",portrait", quotedFound(text)}));
  }
  o.atlasPaper = *paper;
}

void readSize(RenderOptions& o, const std::string& text) {
  const std::size_t x = text.find('x');
  const auto w = x == std::string::npos ? std::nullopt : wholeNumber(text.substr(0, x));
  const auto h = x == std::string::npos ? std::nullopt : wholeNumber(text.substr(x + 1));
  if (!w || !h || *w < kMinPictureSide || *h < kMinPictureSide || *w > kMaxPictureSide ||
      *h > kMaxPictureSide || *w != Int(*w) || *h != Int(*h)) {
    throw UsageError(fill(translated("{1} takes WIDTHxHEIGHT in pixels from {2} to {3}, for "
                                     "example 800x800; {4} is not that"),
                          {"--size", std::to_string(kMinPictureSide),
                           std::to_string(kMaxPictureSide), quotedFound(text)}));
  }
  o.width = static_cast<int>(*w);
  o.height = static_cast<int>(*h);
  o.sizeGiven = true;
}

std::string checkedTitle(const std::string& text) {
  std::size_t characters = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    if (static_cast<unsigned char>(c) < 0x20) {
      throw UsageError(fill(translated("{1} must be one line of text"), {"--title"}));
    }
  }
  if (characters > kMaxTitleCharacters) {
    throw UsageError(
        fill(translated("{1} takes at most {2} characters; this one has {3}"),
             {"--title", std::to_string(kMaxTitleCharacters), std::to_string(characters)}));
  }
  return text;
}

// "--view A,G,,V" leaves the magnification to --fit.
void readView(RenderOptions& o, const std::string& text) {
  const std::size_t second = text.find(',', text.find(',') + 1);
  if (second != std::string::npos && text.compare(second, 2, ",,") == 0) {
    std::vector<double> n;
    try {
      n = numbers("--view", text.substr(0, second) + ",1" + text.substr(second + 1), 4);
    } catch (const UsageError&) {
      numbers("--view", text, 4);  // says what is wrong with the text as given
    }
    o.view = {n[0], n[1], n[2], n[3]};
    o.fit = true;
    return;
  }
  const auto n = numbers("--view", text, 4);
  o.view = {n[0], n[1], n[2], n[3]};
}

// A coordinate system GDAL does not know, or one in degrees, is refused before any file is read.
std::string checkedSrs(const std::string& text) {
  try {
    projectedSystemWkt(text);
  } catch (const CoordinateSystemError& error) {
    throw UsageError(std::string("--srs: ") + error.what());
  }
  return text;
}

}  // namespace kalvenor
