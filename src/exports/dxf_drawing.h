#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/packed_color.h"

namespace kalvenor {

using DxfPoint = std::array<double, 3>;

// What a DXF drawing holds, in drawing units (metres): layers with their colours, filled
// triangles, polylines and texts, each on one of the layers.
struct DxfDrawing {
  struct Layer {
    std::string name;
    PackedColor color{};
  };
  struct Face {
    std::size_t layer = 0;
    std::array<DxfPoint, 3> corners{};
  };
  struct Polyline {
    std::size_t layer = 0;
    std::vector<DxfPoint> points;
  };
  struct Text {
    std::size_t layer = 0;
    DxfPoint at{};
    double height = 1.0;
    std::string text;
  };
  std::vector<Layer> layers;
  std::vector<Face> faces;
  std::vector<Polyline> polylines;
  std::vector<Text> texts;
  bool threeD = false;  // faces as 3DFACE and polylines in space, else SOLID and LWPOLYLINE
  double verticalExaggeration = 1.0;  // kept in the header as $USERR1
};

// The AutoCAD colour index nearest to a colour (1..255), taking 7 as black, which it is on
// white paper, and white as 255.
int nearestAci(PackedColor color);

// The drawing as DXF text (AutoCAD 2007, UTF-8): metres as the insertion units, every layer in
// the layer table with its colour index and its true colour, the entities coloured by layer.
std::string dxfText(const DxfDrawing& drawing);

}  // namespace kalvenor
