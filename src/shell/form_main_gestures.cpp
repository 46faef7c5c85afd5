#include "imagewin/form_image.h"
#include "shell/busy_cursor.h"
#include "shell/draw_in_bands.h"
#include "shell/form_main.h"

namespace kalvenor {
namespace {

ViewNudge nudgeOf(const ViewGesture& gesture) {
  ViewNudge nudge{gesture.drag.x(), gesture.drag.y(), gesture.zoom, std::nullopt, gesture.stretch};
  if (gesture.zoomAt) nudge.zoomAt = std::array{gesture.zoomAt->x(), gesture.zoomAt->y()};
  return nudge;
}

}  // namespace

QPushButton* FormMain::pictureCommand(PictureKind kind) {
  return kind == PictureKind::Map ? ui_.cmdGeoMap : ui_.cmdGeoSection;
}

// A gesture in the drawing window goes through the view boxes, as if typed there, and a preview
// follows it; once the gesture settles the picture is drawn whole as its command draws it, so
// the command afterwards draws the same.
void FormMain::formImage_ViewNudged(const ViewGesture& gesture) {
  const PictureKind kind = session_.redrawablePicture();
  if (kind == PictureKind::None) return;
  const ViewSettings& v = state().view;
  const NudgedView after = session_.nudgedView(nudgeOf(gesture), kind);
  if (after == NudgedView{{v.Alpha, v.Gamma, v.Sca, v.Ve}, v.PanX, v.PanY}) return;
  const bool moved = runCommand(pictureCommand(kind), [this, &after] {
    writeView(after.values);
    ReadingControls reading(*this, Change::View);
    session_.setPan(after.PanX, after.PanY);
  });
  if (!moved) return;
  viewMoved_ = true;
  previewPicture(kind);
}

void FormMain::formImage_ViewSettled() {
  if (!viewMoved_) return;
  viewMoved_ = false;
  previewScene_.reset();
  redrawPicture();
}

// The picture is fitted to the drawing area again once its size rests.
void FormMain::formImage_Resized() {
  if (formImage_->canvas().blank()) return;
  redrawPicture();
}

// The worker draws from the scene, shared read-only, and a copy of the view, never from the
// session, which this thread goes on changing.
void FormMain::previewPicture(PictureKind kind) {
  if (!previewScene_) {
    previewScene_ = std::make_shared<const PreviewScene>(makePreviewScene(state(), kind));
  }
  const ImageCanvas& shown = formImage_->canvas();
  const QSize size(static_cast<int>(shown.width()), static_cast<int>(shown.height()));
  formImage_->drawPreview(
      [scene = previewScene_, view = state().view, size, ratio = shown.pixelRatio(),
       background = shown.backgroundColor()](const std::atomic<bool>& cancelled) {
        ImageCanvas canvas(size, ratio);
        canvas.setBackgroundColor(background);
        canvas.clear();
        drawPreview(canvas, *scene, view, cancelled);
        return QImage(canvas.screen());
      });
}

// The last picture with the current view, and what was drawn over it.
void FormMain::redrawPicture() {
  const PictureKind kind = session_.redrawablePicture();
  if (kind == PictureKind::None) return;
  formImage_->endPreview();
  BusyCursor busy;
  runCommand(pictureCommand(kind), [this] {
    applyViewSettings();
    showWarnings(drawInBands(formImage_->canvas(),
                             [this](Canvas& canvas) { return session_.redrawPicture(canvas); }));
  });
}

}  // namespace kalvenor
