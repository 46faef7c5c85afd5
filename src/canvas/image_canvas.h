#pragma once

#include <QImage>
#include <QPainter>
#include <functional>
#include <memory>

#include "canvas/painter_canvas.h"

namespace kalvenor {

// A Canvas on QImages. In persistent-image mode everything is drawn into the persistent image,
// which the window shows and which copy, duplicate and save take. With the mode off, drawing
// goes only to a screen image that starts as a copy of the persistent one, so it never reaches
// the saved picture. Antialiasing stays off so pixels are deterministic.
class ImageCanvas : public PainterCanvas {
 public:
  explicit ImageCanvas(QSize size);
  ~ImageCanvas() override;

  void clear() override;
  double width() const override;
  double height() const override;

  void setPersistent(bool on);
  bool persistent() const { return persistent_; }

  // The persistent image: what copy, duplicate and save take.
  const QImage& image() const;
  // What the window shows now.
  const QImage& screen() const;
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

  // Runs `draw` on a canvas that paints onto this one's picture in `bands` horizontal bands side
  // by side (BandPainting), by default one per thread the grid builds use: the same pixels as
  // drawing here, in less time on several cores. The pen and fill it leaves behind stay. When
  // `draw` throws, nothing of it is painted.
  void drawInBands(const std::function<void(Canvas&)>& draw, int bands = 0);

  // New drawing-area size: the persistent picture keeps its top-left part and the rest is
  // background; drawing that was only on the screen is lost.
  void resize(QSize size);

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
  QImage image_;
  QImage screen_;
  mutable std::unique_ptr<QPainter> painter_;
  std::function<void()> changed_;
};

}  // namespace kalvenor
