#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/packed_color.h"

namespace kalvenor {

// The drawing command in progress, or the last one; none before the first picture.
enum class DrawingMode : std::int16_t {
  None = 0,
  GeologicalMap = 1,
  Section = 2,
  ContourMap = 3,
  GridLines = 4,
  SurveyLine = 5
};

// What is written around a map or a section: a legend of the units, the distance and elevation
// axes with the ends and the exaggeration of a section, and a title. The section's ends are
// labelled with its name and the name primed ("A" and "A'"; "B" and "B'" for the second of a
// series).
struct Annotations {
  bool legend = false;
  bool axes = false;
  std::string title{};
  std::string sectionName = "A";

  bool any() const { return legend || axes || !title.empty(); }
};

// A title longer than this is refused: it could not be read on any picture.
constexpr std::size_t kMaxTitleCharacters = 200;

// How cells crossed by a contact are filled: whole in the unit of their first corner, as the
// described look has it, or split along the traced lines with the lines drawn after the fills.
enum class Contacts : std::int8_t { Cells, Smooth };

// A shaded relief over the terrain of the map: the light comes from `azimuth` degrees clockwise
// from north, `altitude` degrees above the horizon, and a cell facing away from it keeps
// 1 - strength of its colour. Off, every colour stays flat.
struct ReliefShading {
  bool on = false;
  double azimuth = 315.0;
  double altitude = 45.0;
  double strength = 0.5;
  friend bool operator==(const ReliefShading&, const ReliefShading&) = default;
};

struct DrawOptions {
  PackedColor LineColor = kBlack;  // frame and grid lines: black on white, white on black
  bool DrawBoundary = false;       // draw geological boundary lines
  DrawingMode DrawMode = DrawingMode::None;
  Contacts contacts = Contacts::Cells;
  bool surveyTrace = false;  // the survey line as a trace on the ground, not the dotted outline
  ReliefShading shading{};   // of the map's terrain; walls and sections stay flat
};

}  // namespace kalvenor
