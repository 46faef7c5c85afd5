#include "exports/dxf_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "exports/scene_number_text.h"

namespace kalvenor {
namespace {

std::array<int, 3> aciColour(int index) {
  static constexpr std::array<std::array<int, 3>, 9> kFirst{{{255, 0, 0},
                                                             {255, 255, 0},
                                                             {0, 255, 0},
                                                             {0, 255, 255},
                                                             {0, 0, 255},
                                                             {255, 0, 255},
                                                             {255, 255, 255},
                                                             {128, 128, 128},
                                                             {192, 192, 192}}};
  static constexpr std::array<int, 6> kGreys{51, 91, 132, 173, 214, 255};
  if (index < 10) return kFirst[static_cast<std::size_t>(index - 1)];
  if (index >= 250) {
    const int g = kGreys[static_cast<std::size_t>(index - 250)];
    return {g, g, g};
  }
  // 24 hues 15 degrees apart, each in five brightnesses at full and at half saturation.
  static constexpr std::array<double, 5> kValue{1.0, 0.65, 0.5, 0.3, 0.15};
  const int hueStep = (index - 10) / 10;
  const double hue = 15.0 * hueStep, value = kValue[((index - 10) % 10) / 2];
  const double saturation = index % 2 == 0 ? 1.0 : 0.5;
  const double sector = hue / 60.0, f = sector - std::floor(sector);
  const double p = value * (1 - saturation), q = value * (1 - saturation * f),
               t = value * (1 - saturation * (1 - f));
  std::array<double, 3> rgb{};
  switch (static_cast<int>(sector)) {
    case 0:
      rgb = {value, t, p};
      break;
    case 1:
      rgb = {q, value, p};
      break;
    case 2:
      rgb = {p, value, t};
      break;
    case 3:
      rgb = {p, q, value};
      break;
    case 4:
      rgb = {t, p, value};
      break;
    default:
      rgb = {value, p, q};
      break;
  }
  return {static_cast<int>(rgb[0] * 255), static_cast<int>(rgb[1] * 255),
          static_cast<int>(rgb[2] * 255)};
}

// Writes group codes and values, one per line, and hands out the handles.
class DxfWriter {
 public:
  void pair(int code, const std::string& value) {
    text_ += std::to_string(code);
    text_ += '\n';
    text_ += value;
    text_ += '\n';
  }
  void pair(int code, int value) { pair(code, std::to_string(value)); }
  void number(int code, double value) {
    std::string digits;
    appendNumber(digits, value);
    pair(code, digits);
  }
  void point(int code, const DxfPoint& p) {
    number(code, p[0]);
    number(code + 10, p[1]);
    number(code + 20, p[2]);
  }
  std::string handle() {
    std::string next = nextHandle();
    ++next_;
    return next;
  }
  std::string nextHandle() const {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%X", next_);
    return hex;
  }
  std::string& text() { return text_; }

 private:
  std::string text_;
  unsigned next_ = 0x20;
};

// Layer names may not hold the characters DXF keeps for itself.
std::string layerName(std::string name) {
  for (char& c : name) {
    if (std::string_view("<>/\\\":;?*|=`,").find(c) != std::string_view::npos) c = '_';
  }
  return name.empty() ? "_" : name;
}

struct Handles {
  std::string modelSpace, paperSpace;
};

void table(DxfWriter& w, const std::string& name, std::size_t entries, std::string& handle) {
  handle = w.handle();
  w.pair(0, "TABLE");
  w.pair(2, name);
  w.pair(5, handle);
  w.pair(330, "0");
  w.pair(100, "AcDbSymbolTable");
  w.pair(70, static_cast<int>(entries));
}

void record(DxfWriter& w, const std::string& kind, const std::string& owner,
            const std::string& subclass) {
  w.pair(0, kind);
  w.pair(5, w.handle());
  w.pair(330, owner);
  w.pair(100, "AcDbSymbolTableRecord");
  w.pair(100, subclass);
}

void header(DxfWriter& w, const DxfDrawing& d) {
  w.pair(0, "SECTION");
  w.pair(2, "HEADER");
  w.pair(9, "$ACADVER");
  w.pair(1, "AC1021");
  w.pair(9, "$INSUNITS");
  w.pair(70, 6);
  w.pair(9, "$MEASUREMENT");
  w.pair(70, 1);
  w.pair(9, "$USERR1");
  w.number(40, d.verticalExaggeration);
  w.pair(9, "$HANDSEED");
  w.pair(5, "FFFFF");
  w.pair(0, "ENDSEC");
  w.pair(0, "SECTION");
  w.pair(2, "CLASSES");
  w.pair(0, "ENDSEC");
}

void lineTypes(DxfWriter& w) {
  std::string owner;
  table(w, "LTYPE", 3, owner);
  for (const char* name : {"ByBlock", "ByLayer", "Continuous"}) {
    record(w, "LTYPE", owner, "AcDbLinetypeTableRecord");
    w.pair(2, name);
    w.pair(70, 0);
    w.pair(3, std::string(name) == "Continuous" ? "Solid line" : "");
    w.pair(72, 65);
    w.pair(73, 0);
    w.number(40, 0.0);
  }
  w.pair(0, "ENDTAB");
}

void layers(DxfWriter& w, const DxfDrawing& d) {
  std::string owner;
  table(w, "LAYER", d.layers.size() + 1, owner);
  record(w, "LAYER", owner, "AcDbLayerTableRecord");
  w.pair(2, "0");
  w.pair(70, 0);
  w.pair(62, 7);
  w.pair(6, "Continuous");
  for (const DxfDrawing::Layer& layer : d.layers) {
    record(w, "LAYER", owner, "AcDbLayerTableRecord");
    w.pair(2, layerName(layer.name));
    w.pair(70, 0);
    w.pair(62, nearestAci(layer.color));
    w.pair(420, (redOf(layer.color) << 16) | (greenOf(layer.color) << 8) | blueOf(layer.color));
    w.pair(6, "Continuous");
  }
  w.pair(0, "ENDTAB");
}

void emptyTables(DxfWriter& w) {
  for (const char* name : {"VPORT", "VIEW", "UCS", "DIMSTYLE"}) {
    std::string owner;
    table(w, name, 0, owner);
    if (std::string(name) == "DIMSTYLE") w.pair(100, "AcDbDimStyleTable");
    w.pair(0, "ENDTAB");
  }
  std::string owner;
  table(w, "STYLE", 1, owner);
  record(w, "STYLE", owner, "AcDbTextStyleTableRecord");
  w.pair(2, "Standard");
  w.pair(70, 0);
  w.number(40, 0.0);
  w.number(41, 1.0);
  w.number(50, 0.0);
  w.pair(71, 0);
  w.number(42, 2.5);
  w.pair(3, "txt");
  w.pair(4, "");
  w.pair(0, "ENDTAB");
  table(w, "APPID", 1, owner);
  record(w, "APPID", owner, "AcDbRegAppTableRecord");
  w.pair(2, "ACAD");
  w.pair(70, 0);
  w.pair(0, "ENDTAB");
}

Handles blockRecords(DxfWriter& w) {
  std::string owner;
  table(w, "BLOCK_RECORD", 2, owner);
  Handles h;
  for (const char* name : {"*Model_Space", "*Paper_Space"}) {
    (std::string(name) == "*Model_Space" ? h.modelSpace : h.paperSpace) = w.nextHandle();
    record(w, "BLOCK_RECORD", owner, "AcDbBlockTableRecord");
    w.pair(2, name);
  }
  w.pair(0, "ENDTAB");
  return h;
}

void blocks(DxfWriter& w, const Handles& h) {
  w.pair(0, "SECTION");
  w.pair(2, "BLOCKS");
  for (const auto& [name, owner] :
       {std::pair{"*Model_Space", h.modelSpace}, std::pair{"*Paper_Space", h.paperSpace}}) {
    w.pair(0, "BLOCK");
    w.pair(5, w.handle());
    w.pair(330, owner);
    w.pair(100, "AcDbEntity");
    w.pair(8, "0");
    w.pair(100, "AcDbBlockBegin");
    w.pair(2, name);
    w.pair(70, 0);
    w.point(10, {0, 0, 0});
    w.pair(3, name);
    w.pair(1, "");
    w.pair(0, "ENDBLK");
    w.pair(5, w.handle());
    w.pair(330, owner);
    w.pair(100, "AcDbEntity");
    w.pair(8, "0");
    w.pair(100, "AcDbBlockEnd");
  }
  w.pair(0, "ENDSEC");
}

void entity(DxfWriter& w, const char* kind, const Handles& h, const DxfDrawing& d,
            std::size_t layer) {
  w.pair(0, kind);
  w.pair(5, w.handle());
  w.pair(330, h.modelSpace);
  w.pair(100, "AcDbEntity");
  w.pair(8, layerName(d.layers[layer].name));
}

void faces(DxfWriter& w, const Handles& h, const DxfDrawing& d) {
  for (const DxfDrawing::Face& f : d.faces) {
    entity(w, d.threeD ? "3DFACE" : "SOLID", h, d, f.layer);
    w.pair(100, d.threeD ? "AcDbFace" : "AcDbTrace");
    // A solid's third and fourth corners are crossed: the triangle repeats its last corner.
    for (int n = 0; n < 4; ++n)
      w.point(10 + n, f.corners[static_cast<std::size_t>(std::min(n, 2))]);
  }
}

void polylines(DxfWriter& w, const Handles& h, const DxfDrawing& d) {
  for (const DxfDrawing::Polyline& line : d.polylines) {
    if (!d.threeD) {
      entity(w, "LWPOLYLINE", h, d, line.layer);
      w.pair(100, "AcDbPolyline");
      w.pair(90, static_cast<int>(line.points.size()));
      w.pair(70, 0);
      for (const DxfPoint& p : line.points) {
        w.number(10, p[0]);
        w.number(20, p[1]);
      }
      continue;
    }
    entity(w, "POLYLINE", h, d, line.layer);
    w.pair(100, "AcDb3dPolyline");
    w.point(10, {0, 0, 0});
    w.pair(70, 8);
    for (const DxfPoint& p : line.points) {
      entity(w, "VERTEX", h, d, line.layer);
      w.pair(100, "AcDbVertex");
      w.pair(100, "AcDb3dPolylineVertex");
      w.point(10, p);
      w.pair(70, 32);
    }
    entity(w, "SEQEND", h, d, line.layer);
  }
}

void texts(DxfWriter& w, const Handles& h, const DxfDrawing& d) {
  for (const DxfDrawing::Text& t : d.texts) {
    entity(w, "TEXT", h, d, t.layer);
    w.pair(100, "AcDbText");
    w.point(10, t.at);
    w.number(40, t.height);
    w.pair(1, t.text);
    w.pair(100, "AcDbText");
  }
}

void objects(DxfWriter& w) {
  const std::string root = w.handle(), groups = w.handle();
  w.pair(0, "SECTION");
  w.pair(2, "OBJECTS");
  w.pair(0, "DICTIONARY");
  w.pair(5, root);
  w.pair(330, "0");
  w.pair(100, "AcDbDictionary");
  w.pair(281, 1);
  w.pair(3, "ACAD_GROUP");
  w.pair(350, groups);
  w.pair(0, "DICTIONARY");
  w.pair(5, groups);
  w.pair(330, root);
  w.pair(100, "AcDbDictionary");
  w.pair(281, 1);
  w.pair(0, "ENDSEC");
}

}  // namespace

int nearestAci(PackedColor color) {
  int best = 1;
  long bestDistance = std::numeric_limits<long>::max();
  for (int index = 1; index <= 255; ++index) {
    // Index 7 draws black on the white paper a section is printed on.
    const auto [r, g, b] = index == 7 ? std::array<int, 3>{0, 0, 0} : aciColour(index);
    const long dr = r - redOf(color), dg = g - greenOf(color), db = b - blueOf(color);
    const long distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) best = index, bestDistance = distance;
  }
  return best;
}

std::string dxfText(const DxfDrawing& drawing) {
  DxfWriter w;
  header(w, drawing);
  w.pair(0, "SECTION");
  w.pair(2, "TABLES");
  lineTypes(w);
  layers(w, drawing);
  emptyTables(w);
  const Handles h = blockRecords(w);
  w.pair(0, "ENDSEC");
  blocks(w, h);
  w.pair(0, "SECTION");
  w.pair(2, "ENTITIES");
  faces(w, h, drawing);
  polylines(w, h, drawing);
  texts(w, h, drawing);
  w.pair(0, "ENDSEC");
  objects(w);
  w.pair(0, "EOF");
  return std::move(w.text());
}

}  // namespace kalvenor
