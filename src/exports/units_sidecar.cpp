#include "exports/units_sidecar.h"

#include <cpl_conv.h>
#include <cpl_minixml.h>

#include <memory>

#include "exports/gdal_files.h"
#include "model/gdal_string.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

// GDAL's sidecar as it was written, or a new one when there is none to keep.
XmlTree sidecarTree(const std::string& written) {
  XmlTree root(written.empty() ? nullptr : CPLParseXMLString(written.c_str()));
  if (root && CPLGetXMLNode(root.get(), "=PAMDataset")) return root;
  return XmlTree(CPLCreateXMLNode(nullptr, CXT_Element, "PAMDataset"));
}

CPLXMLNode* firstBand(CPLXMLNode* dataset) {
  for (CPLXMLNode* child = dataset->psChild; child; child = child->psNext) {
    if (child->eType == CXT_Element && std::string(child->pszValue) == "PAMRasterBand" &&
        std::string(CPLGetXMLValue(child, "band", "")) == "1") {
      return child;
    }
  }
  CPLXMLNode* band = CPLCreateXMLNode(dataset, CXT_Element, "PAMRasterBand");
  CPLAddXMLAttributeAndValue(band, "band", "1");
  return band;
}

// Replaces the element of that name under `parent` with an empty one.
CPLXMLNode* freshChild(CPLXMLNode* parent, const char* name) {
  if (CPLXMLNode* old = CPLGetXMLNode(parent, name)) {
    CPLRemoveXMLChild(parent, old);
    CPLDestroyXMLNode(old);
  }
  return CPLCreateXMLNode(parent, CXT_Element, name);
}

void setValue(CPLXMLNode* parent, const char* name, const std::string& value) {
  CPLCreateXMLNode(freshChild(parent, name), CXT_Text, value.c_str());
}

}  // namespace

std::string stylingSidecar(const std::string& written, const std::vector<UnitStyle>& styles) {
  XmlTree root = sidecarTree(written);
  CPLXMLNode* band = firstBand(CPLGetXMLNode(root.get(), "=PAMDataset"));
  setValue(band, "NoDataValue", "0");
  setValue(band, "ColorInterp", "Palette");
  CPLXMLNode* names = freshChild(band, "CategoryNames");
  CPLXMLNode* table = freshChild(band, "ColorTable");
  for (const UnitStyle& style : styles) {
    CPLCreateXMLElementAndValue(names, "Category", style.name.c_str());
    CPLXMLNode* entry = CPLCreateXMLNode(table, CXT_Element, "Entry");
    CPLAddXMLAttributeAndValue(entry, "c1", numberText(redOf(style.color)).c_str());
    CPLAddXMLAttributeAndValue(entry, "c2", numberText(greenOf(style.color)).c_str());
    CPLAddXMLAttributeAndValue(entry, "c3", numberText(blueOf(style.color)).c_str());
    CPLAddXMLAttributeAndValue(entry, "c4", numberText(style.alpha).c_str());
  }
  return takeGdalString(CPLSerializeXMLTree(root.get()));
}

}  // namespace kalvenor
