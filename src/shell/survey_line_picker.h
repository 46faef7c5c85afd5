#pragma once

#include <QDialog>
#include <QImage>
#include <QWidget>
#include <vector>

#include "render/plan_overview.h"

class QLabel;
class QPushButton;

namespace kalvenor {

// The display area north up, on which each click adds a vertex of a survey line and a
// double-click ends it; a click on the last vertex adds nothing, and Backspace takes the last
// vertex back. The line so far is drawn over the picture with its vertex numbers.
class PlanPickArea : public QWidget {
  Q_OBJECT

 public:
  explicit PlanPickArea(const PlanOverview& overview, QWidget* parent = nullptr);

  const std::vector<SurveyVertex>& vertices() const { return vertices_; }
  // Where the picture stands in the widget: as large as fits, its shape kept, centred.
  QRectF pictureRect() const;
  // The widget point that shows a map point.
  QPointF widgetPoint(const SurveyVertex& point) const;
  QSize sizeHint() const override;

 signals:
  void verticesChanged();
  void ended();
  // The map point under the mouse, for a readout.
  void hovered(double x, double y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool fractions(const QPointF& at, double& u, double& v) const;
  void paintLine(QPainter& painter) const;

  PlanOverview overview_;
  QImage picture_;
  std::vector<SurveyVertex> vertices_;
};

// "測線を地図上で指定": the pick area with a hint and a readout of the point under the mouse. A
// double-click once two vertices are placed, or "OK", accepts the line; Escape or "キャンセル"
// leaves it.
class SurveyLinePicker : public QDialog {
  Q_OBJECT

 public:
  explicit SurveyLinePicker(const PlanOverview& overview, QWidget* parent = nullptr);

  PlanPickArea& area() { return *area_; }
  const std::vector<SurveyVertex>& vertices() const { return area_->vertices(); }

 private:
  void lineEnded();

  PlanPickArea* area_;
  QLabel* readout_;
  QPushButton* ok_;
};

}  // namespace kalvenor
