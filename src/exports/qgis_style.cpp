#include "exports/qgis_style.h"

#include <cpl_conv.h>
#include <cpl_minixml.h>

#include <filesystem>
#include <memory>

#include "model/colour_file.h"
#include "model/gdal_string.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

struct XmlTree {
  void operator()(CPLXMLNode* node) const { CPLDestroyXMLNode(node); }
};

CPLXMLNode* element(CPLXMLNode* parent, const char* name,
                    std::initializer_list<std::pair<const char*, std::string>> attributes) {
  CPLXMLNode* node = CPLCreateXMLNode(parent, CXT_Element, name);
  for (const auto& [key, value] : attributes) CPLAddXMLAttributeAndValue(node, key, value.c_str());
  return node;
}

}  // namespace

std::string qgisRasterStyle(const std::vector<UnitStyle>& styles) {
  const std::unique_ptr<CPLXMLNode, XmlTree> root(CPLCreateXMLNode(nullptr, CXT_Element, "qgis"));
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
