#pragma once

#include <QImage>
#include <QPainter>
#include <functional>
#include <memory>

#include "render/canvas.h"

namespace kalvenor {

// A Canvas on QImages. In persistent-image mode everything is drawn into the persistent image,
// which the window shows and which copy, duplicate and save take. With the mode off, drawing
// goes only to a screen image that starts as a copy of the persistent one, so it never reaches
// the saved picture. Antialiasing stays off so pixels are deterministic.
class ImageCanvas : public Canvas {
 public:
  explicit ImageCanvas(QSize size);
  ~ImageCanvas() override;

  void clear() override;
  void setBackgroundColor(PackedColor color) override;
  void setPenColor(PackedColor color) override;
  void setPenWidth(int width) override;
  void setPenStyle(PenStyle style) override;
  void setFillColor(PackedColor color) override;
  void setFillStyle(FillStyle style) override;
  void line(float x1, float y1, float x2, float y2) override;
  void line(float x1, float y1, float x2, float y2, PackedColor color) override;
  void point(float x, float y) override;
  void polygon(const Quad& corners) override;
  double width() const override;
  double height() const override;

  void setPersistent(bool on);
  bool persistent() const { return persistent_; }
  PackedColor backgroundColor() const { return background_; }

  // The persistent image: what copy, duplicate and save take.
  const QImage& image() const;
  // What the window shows now.
  const QImage& screen() const;

  // New drawing-area size: the persistent picture keeps its top-left part and the rest is
  // background; drawing that was only on the screen is lost.
  void resize(QSize size);

  // Called after every change of what the window shows.
  void setChangedCallback(std::function<void()> callback) { changed_ = std::move(callback); }

 private:
  QImage& target();
  QPainter& painter();
  void finishPainting() const;
  void applyPen(QPainter& painter) const;
  void notify();

  bool persistent_ = true;
  QImage image_;
  QImage screen_;
  mutable std::unique_ptr<QPainter> painter_;
  PackedColor background_ = kWhite;
  PackedColor penColor_ = kBlack;
  int penWidth_ = 1;
  PenStyle penStyle_ = PenStyle::Solid;
  PackedColor fillColor_ = kBlack;
  FillStyle fillStyle_ = FillStyle::Transparent;
  std::function<void()> changed_;
};

QColor toQColor(PackedColor color);

}  // namespace kalvenor
