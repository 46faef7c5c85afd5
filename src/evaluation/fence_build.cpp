#include "evaluation/fence_build.h"

#include "model/message_text.h"

namespace kalvenor {

std::string fenceLineName(std::size_t index) {
  std::string name(1, static_cast<char>('A' + index % 26));
  for (index /= 26; index > 0; index = (index - 1) / 26) {
    name.insert(name.begin(), static_cast<char>('A' + (index - 1) % 26));
  }
  return name;
}

SectionLine surveyLineOf(const FenceLine& line) {
  SectionLine survey;
  survey.vertices = line.vertices;
  survey.origin = line.origin;
  return survey;
}

std::vector<FencePanel> buildFence(const BuildInputs& inputs, const std::vector<FenceLine>& lines,
                                   const std::vector<GridSurface>* grids,
                                   const BuildProgress& progress) {
  std::vector<SectionBuild> sections;
  sections.reserve(lines.size());
  for (std::size_t n = 0; n < lines.size(); ++n) {
    try {
      sections.push_back(placeSection(inputs, surveyLineOf(lines[n])));
    } catch (const BuildError& error) {
      throw BuildError(fill(translated("fence panel {1} ({2}): {3}"),
                            {std::to_string(n + 1), lines[n].name, error.what()}));
    }
  }
  std::vector<GridSurface> read;
  if (!grids && !lines.empty()) read = readBuildBoundaries(inputs);
  const std::vector<GridSurface>& with = grids ? *grids : read;
  std::vector<FencePanel> panels;
  panels.reserve(lines.size());
  for (std::size_t n = 0; n < sections.size(); ++n) {
    SectionBuild& section = sections[n];
    classifySection(inputs, with, section, [&](double done) {
      if (progress) progress((static_cast<double>(n) + done) / static_cast<double>(lines.size()));
    });
    panels.push_back({lines[n].name, std::move(section.grid), std::move(section.section),
                      std::move(section.sectionProfile)});
  }
  return panels;
}

}  // namespace kalvenor
