#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "model/packed_color.h"
#include "render/plan_overview.h"

namespace kalvenor {

// Every platform dialog the viewer opens. Filters are written as "label|pattern|label|pattern".
// A title, when not empty, says what the dialog asks for (for example which boundary of a
// sequence); an empty one leaves the platform's own. A cancelled dialog returns nothing. Message
// boxes are modal and titled "Kalvenor2003".
class Dialogs {
 public:
  enum class Icon { None, Information, Warning, Critical };
  enum class Answer { Yes, No, Cancel };

  // A file to save as the user typed it, and the pattern of the filter chosen with it ("*.png";
  // "*.*" for every file).
  struct SaveChoice {
    QString path;
    QString pattern;
  };

  virtual ~Dialogs() = default;
  virtual std::optional<QString> openFile(const QString& filter, const QString& title) = 0;
  virtual std::optional<SaveChoice> saveFile(const QString& filter, const QString& title) = 0;
  virtual std::optional<PackedColor> chooseColor(PackedColor initial, const QString& title) = 0;
  virtual void message(const QString& text, Icon icon) = 0;
  // Yes and No with the question icon, No the default button. True for Yes.
  virtual bool askYesNo(const QString& text) = 0;
  // Yes, No and Cancel with the question icon, Yes the default button; Escape cancels.
  virtual Answer askYesNoCancel(const QString& text) = 0;
  // A survey line clicked on the overview of the display area (see SurveyLinePicker): its
  // vertices in order, two or more.
  virtual std::optional<std::vector<SurveyVertex>> pickSurveyLine(const PlanOverview& overview) = 0;
};

}  // namespace kalvenor
