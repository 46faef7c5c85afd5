#include "shell/survey_line_picker.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "shell/qt_number_text.h"

namespace kalvenor {
namespace {

// Two clicks this close on screen are one vertex (the first click of a double-click).
constexpr double kSameVertexPixels = 4.0;

QImage pictureOf(const PlanOverview& overview) {
  QImage image(overview.width, overview.height, QImage::Format_RGB32);
  for (int row = 0; row < overview.height; ++row) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
    for (int column = 0; column < overview.width; ++column) {
      const PackedColor c =
          overview.pixels[static_cast<std::size_t>(row) * overview.width + column];
      line[column] = qRgb(redOf(c), greenOf(c), blueOf(c));
    }
  }
  return image;
}

}  // namespace

PlanPickArea::PlanPickArea(const PlanOverview& overview, QWidget* parent)
    : QWidget(parent), overview_(overview), picture_(pictureOf(overview)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::CrossCursor);
  setMinimumSize(200, 200);
}

QSize PlanPickArea::sizeHint() const {
  return picture_.size().scaled(560, 560, Qt::KeepAspectRatio);
}

QRectF PlanPickArea::pictureRect() const {
  const QSizeF fitted = QSizeF(picture_.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
  return {(width() - fitted.width()) / 2, (height() - fitted.height()) / 2, fitted.width(),
          fitted.height()};
}

QPointF PlanPickArea::widgetPoint(const SurveyVertex& point) const {
  const QRectF rect = pictureRect();
  const auto [u, v] = overview_.fractionsOf(point);
  return {rect.left() + u * rect.width(), rect.top() + v * rect.height()};
}

bool PlanPickArea::fractions(const QPointF& at, double& u, double& v) const {
  const QRectF rect = pictureRect();
  if (!rect.contains(at) || rect.isEmpty()) return false;
  u = (at.x() - rect.left()) / rect.width();
  v = (at.y() - rect.top()) / rect.height();
  return true;
}

void PlanPickArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  painter.drawImage(pictureRect(), picture_);
  paintLine(painter);
}

void PlanPickArea::paintLine(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(200, 0, 0), 2));
  for (std::size_t n = 1; n < vertices_.size(); ++n) {
    painter.drawLine(widgetPoint(vertices_[n - 1]), widgetPoint(vertices_[n]));
  }
  const QFontMetricsF metrics(painter.font());
  for (std::size_t n = 0; n < vertices_.size(); ++n) {
    const QPointF at = widgetPoint(vertices_[n]);
    painter.setPen(QPen(QColor(200, 0, 0), 2));
    painter.setBrush(QColor(200, 0, 0));
    painter.drawEllipse(at, 3.5, 3.5);
    // Black on a white box, readable over any unit's colour.
    const QString number = QString::number(n + 1);
    const QRectF box(at + QPointF(5, -5 - metrics.height()),
                     QSizeF(metrics.horizontalAdvance(number) + 4, metrics.height()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, number);
  }
}

void PlanPickArea::mousePressEvent(QMouseEvent* event) {
  double u = 0, v = 0;
  if (event->button() != Qt::LeftButton || !fractions(event->position(), u, v)) return;
  if (!vertices_.empty()) {
    const QPointF last = widgetPoint(vertices_.back());
    if (std::hypot(last.x() - event->position().x(), last.y() - event->position().y()) <=
        kSameVertexPixels) {
      return;
    }
  }
  const SurveyVertex point = overview_.picked(u, v);
  if (!vertices_.empty() && vertices_.back() == point) return;
  vertices_.push_back(point);
  update();
  emit verticesChanged();
}

void PlanPickArea::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit ended();
}

void PlanPickArea::mouseMoveEvent(QMouseEvent* event) {
  double u = 0, v = 0;
  if (!fractions(event->position(), u, v)) return;
  const SurveyVertex point = overview_.picked(u, v);
  emit hovered(point.x, point.y);
}

void PlanPickArea::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Backspace || vertices_.empty()) {
    QWidget::keyPressEvent(event);
    return;
  }
  vertices_.pop_back();
  update();
  emit verticesChanged();
}

SurveyLinePicker::SurveyLinePicker(const PlanOverview& overview, QWidget* parent)
    : QDialog(parent), area_(new PlanPickArea(overview, this)), readout_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("測線を地図上で指定"));
  auto* layout = new QVBoxLayout(this);
  auto* hint = new QLabel(QStringLiteral("クリックで頂点を追加し、ダブルクリックで終了します"
                                         "（Backspace で最後の頂点を取り消し）"),
                          this);
  hint->setWordWrap(true);
  layout->addWidget(hint);
  layout->addWidget(area_, 1);
  layout->addWidget(readout_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setEnabled(false);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(area_, &PlanPickArea::verticesChanged, this,
          [this] { ok_->setEnabled(area_->vertices().size() >= 2); });
  connect(area_, &PlanPickArea::ended, this, &SurveyLinePicker::lineEnded);
  connect(area_, &PlanPickArea::hovered, this, [this](double x, double y) {
    readout_->setText(QStringLiteral("X %1   Y %2").arg(numberQText(x), numberQText(y)));
  });
  area_->setFocus();
}

// A double-click before two vertices are placed only places the first.
void SurveyLinePicker::lineEnded() {
  if (area_->vertices().size() >= 2) accept();
}

}  // namespace kalvenor
