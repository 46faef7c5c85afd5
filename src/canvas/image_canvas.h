#pragma once

#include <QImage>
#include <QPainter>
#include <functional>
#include <memory>

#include "canvas/painter_canvas.h"

namespace kalvenor {

// A Canvas on QImages. In persistent-image mode everything is drawn into the persistent image,
// which the window shows. With the mode off, drawing goes only to a screen image that starts as
// a copy of the persistent one, so it does not survive a resize. Copy, duplicate and save take
// what the window shows either way. Antialiasing stays off so pixels are deterministic.
// Sizes and coordinates are in logical pixels. At a pixel ratio above 1, as on a screen scaled
// to 200 %, the images hold that many device pixels to each logical one and the painter draws
// at that resolution, so text and lines stay sharp on the screen.
class ImageCanvas : public PainterCanvas {
 public:
  explicit ImageCanvas(QSize size, qreal pixelRatio = 1);
  ~ImageCanvas() override;

  void clear() override;
  double width() const override;
  double height() const override;

  void setPersistent(bool on);
  bool persistent() const { return persistent_; }

  // The persistent picture at the logical size. At a pixel ratio above 1 it is the drawn image
  // averaged down to that size.
  const QImage& image() const;
  // What the window shows now, in device pixels.
  const QImage& screen() const;
  // What the window shows now, at the logical size: what copy, duplicate and save take, so that
  // a picture drawn with the persistent image off is saved as it is seen.
  const QImage& shown() const;
  qreal pixelRatio() const { return image_.devicePixelRatio(); }
  // True until something is drawn after the canvas was made or cleared.
  bool blank() const { return blank_; }

  // The pictures and the pen as they are now. QImage copies share their pixels until
  // one is painted on, so taking a snapshot costs nothing and the drawing that follows goes into
  // fresh pixels, leaving the snapshot's picture intact.
  struct Snapshot {
    QImage image;
    QImage screen;
    Style style{};
    bool blank = true;
  };
  Snapshot snapshot() const;
  // Puts a snapshot back: whatever was drawn since it was taken is gone from the window.
  void restore(const Snapshot& snapshot);

  // New drawing-area size or pixel ratio: the persistent picture keeps its top-left part and the
  // rest is background; drawing that was only on the screen is lost.
  void resize(QSize size, qreal pixelRatio = 1);

  // Called after every change of what the window shows.
  void setChangedCallback(std::function<void()> callback) { changed_ = std::move(callback); }

 protected:
  QPainter& painter() override;
  void drawn() override;

 private:
  void finishPainting() const;
  void changed();

  bool persistent_ = true;
  bool blank_ = true;
  QSize size_;
  QImage image_;
  QImage screen_;
  mutable QImage logical_;        // image() at a pixel ratio above 1, made when first asked for
  mutable QImage logicalScreen_;  // shown() of the screen image, the same way
  mutable std::unique_ptr<QPainter> painter_;
  std::function<void()> changed_;
};

}  // namespace kalvenor
