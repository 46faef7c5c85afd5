#include "exports/qgis_style.h"

#include <cpl_conv.h>
#include <cpl_minixml.h>

#include <filesystem>
#include <memory>
#include <string>

#include "exports/gdal_files.h"
#include "model/colour_file.h"
#include "model/gdal_string.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

CPLXMLNode* element(CPLXMLNode* parent, const char* name,
                    std::initializer_list<std::pair<const char*, std::string>> attributes) {
  CPLXMLNode* node = CPLCreateXMLNode(parent, CXT_Element, name);
  for (const auto& [key, value] : attributes) CPLAddXMLAttributeAndValue(node, key, value.c_str());
  return node;
}

XmlTree styleRoot() {
  XmlTree root(CPLCreateXMLNode(nullptr, CXT_Element, "qgis"));
  CPLAddXMLAttributeAndValue(root.get(), "version", "3.22.0");
  CPLAddXMLAttributeAndValue(root.get(), "styleCategories", "Symbology");
  return root;
}

std::string styleText(const XmlTree& root) {
  return "<!DOCTYPE qgis PUBLIC 'http://mrcc.com/qgis.dtd' 'SYSTEM'>\n" +
         takeGdalString(CPLSerializeXMLTree(root.get()));
}

// QGIS writes a colour as "red,green,blue,alpha".
std::string qgisColour(PackedColor color) {
  return numberText(redOf(color)) + "," + numberText(greenOf(color)) + "," +
         numberText(blueOf(color)) + ",255";
}

void property(CPLXMLNode* layer, const char* key, const std::string& value) {
  element(layer, "prop", {{"k", key}, {"v", value}});
}

void addSymbol(CPLXMLNode* symbols, std::size_t number, PackedColor color, StyleSymbol kind) {
  const bool fill = kind == StyleSymbol::Fill;
  CPLXMLNode* symbol = element(symbols, "symbol",
                               {{"type", fill ? "fill" : "line"},
                                {"name", std::to_string(number)},
                                {"alpha", "1"},
                                {"clip_to_extent", "1"},
                                {"force_rhr", "0"}});
  CPLXMLNode* layer =
      element(symbol, "layer",
              {{"class", fill ? "SimpleFill" : "SimpleLine"}, {"enabled", "1"}, {"pass", "0"}});
  if (fill) {
    property(layer, "color", qgisColour(color));
    property(layer, "style", "solid");
    property(layer, "outline_style", "no");
  } else {
    property(layer, "line_color", qgisColour(color));
    property(layer, "line_style", "solid");
    property(layer, "line_width", "0.5");
    property(layer, "line_width_unit", "MM");
    property(layer, "capstyle", "round");
    property(layer, "joinstyle", "round");
  }
}

}  // namespace

std::string qgisCategorizedStyle(const std::string& field,
                                 const std::vector<StyleCategory>& categories, StyleSymbol symbol) {
  const XmlTree root = styleRoot();
  CPLXMLNode* renderer = element(root.get(), "renderer-v2",
                                 {{"type", "categorizedSymbol"},
                                  {"attr", field},
                                  {"symbollevels", "0"},
                                  {"enableorderby", "0"},
                                  {"forceraster", "0"}});
  CPLXMLNode* classes = CPLCreateXMLNode(renderer, CXT_Element, "categories");
  CPLXMLNode* symbols = CPLCreateXMLNode(renderer, CXT_Element, "symbols");
  for (std::size_t n = 0; n < categories.size(); ++n) {
    const StyleCategory& c = categories[n];
    element(classes, "category",
            {{"symbol", std::to_string(n)},
             {"value", c.value},
             {"label", c.label},
             {"render", "true"}});
    addSymbol(symbols, n, c.color, symbol);
  }
  return styleText(root);
}

std::string qgisRasterStyle(const std::vector<UnitStyle>& styles) {
  const XmlTree root(CPLCreateXMLNode(nullptr, CXT_Element, "qgis"));
  CPLAddXMLAttributeAndValue(root.get(), "version", "3.22.0");
  CPLAddXMLAttributeAndValue(root.get(), "styleCategories", "Symbology");
  CPLXMLNode* renderer =
      element(CPLCreateXMLNode(root.get(), CXT_Element, "pipe"), "rasterrenderer",
              {{"type", "paletted"}, {"band", "1"}, {"opacity", "1"}, {"alphaBand", "-1"}});
  CPLXMLNode* palette = CPLCreateXMLNode(renderer, CXT_Element, "colorPalette");
  for (int unit = 1; unit < static_cast<int>(styles.size()); ++unit) {
    const UnitStyle& s = styles[unit];
    element(palette, "paletteEntry",
            {{"value", numberText(unit)},
             {"color", colourHex(s.color)},
             {"alpha", numberText(s.alpha)},
             {"label", s.name.empty() ? "unit " + numberText(unit) : s.name}});
  }
  return "<!DOCTYPE qgis PUBLIC 'http://mrcc.com/qgis.dtd' 'SYSTEM'>\n" +
         takeGdalString(CPLSerializeXMLTree(root.get()));
}

std::string qgisStylePath(const std::string& rasterPath) {
  return std::filesystem::path(rasterPath).replace_extension(".qml").string();
}

}  // namespace kalvenor
