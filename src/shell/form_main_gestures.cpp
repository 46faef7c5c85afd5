#include <atomic>
#include <utility>

#include "imagewin/form_image.h"
#include "render/cancellable_canvas.h"
#include "shell/busy_cursor.h"
#include "shell/form_main.h"

namespace kalvenor {

// A picture drawn whole on a worker from a detached copy of the session, and what the copy said.
struct WholePicture {
  WholePicture(Session copy, std::uint64_t at) : session(std::move(copy)), copiedAt(at) {}

  // On the worker: the picture as the session's command draws it, on the session's threads. A
  // null image when cancelled; a failure is kept for the window to report.
  QImage draw(QSize size, qreal ratio, PackedColor background, bool antialiasedLines,
              const std::atomic<bool>& cancelled) {
    ImageCanvas canvas(size, ratio);
    canvas.setBackgroundColor(background);
    canvas.setAntialiasedLines(antialiasedLines);
    // The flag lives only as long as this drawing: the copy keeps no pointer to it after.
    const RenderContext own = session.renderContext();
    session.setRenderContext({own.threads, &cancelled});
    try {
      warnings = session.redrawPicture(canvas);
    } catch (const DrawingCancelled&) {
      session.setRenderContext(own);
      return {};
    } catch (...) {
      failed = true;
    }
    session.setRenderContext(own);
    picture = canvas.snapshot();
    drawn = true;
    return canvas.screen();
  }

  Session session;
  std::uint64_t copiedAt;
  // Written by the worker before the picture is handed to the window's thread.
  ImageCanvas::Snapshot picture;
  Warnings warnings;
  bool failed = false;
  bool drawn = false;
};

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
  if (kind == PictureKind::None) return showNote(whyNoPictureToTurn());
  if (!viewMoved_ && !wholePicture_) session_.resumePictureView();
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

// The picture is fitted to the drawing area again once its size rests, with the room the legend
// and axes need there.
void FormMain::formImage_Resized() {
  if (formImage_->canvas().blank()) return;
  redrawPicture(state().annotations.any());
}

// The picture on screen drawn again as its command would draw it now, so that a value typed in
// the view boxes since is kept, not put back to the picture's.
void FormMain::redrawShownPicture(bool fit) {
  if (formImage_->canvas().blank()) return;
  redrawPicture(fit);
}

// The worker draws from the scene, shared read-only, and a copy of the projection, never from the
// session, which this thread goes on changing.
void FormMain::previewPicture(PictureKind kind) {
  wholePicture_.reset();
  if (!previewScene_) {
    previewScene_ = std::make_shared<const PreviewScene>(makePreviewScene(state(), kind));
  }
  const ImageCanvas& shown = formImage_->canvas();
  const QSize size(static_cast<int>(shown.width()), static_cast<int>(shown.height()));
  formImage_->drawPreview(
      [scene = previewScene_, projection = session_.projection(), size, ratio = shown.pixelRatio(),
       background = shown.backgroundColor(),
       threads = session_.renderContext().threads](const std::atomic<bool>& cancelled) {
        ImageCanvas canvas(size, ratio);
        canvas.setBackgroundColor(background);
        canvas.clear();
        drawPreview(canvas, *scene, projection, {threads, &cancelled});
        return QImage(canvas.screen());
      });
}

// The last picture with the current view, and what was drawn over it. It is drawn on a worker
// from a copy of the session, so the window goes on answering, and taken over once drawn; until
// then the preview stays. A newer gesture cancels it. The session changed meanwhile, the picture
// is drawn again; the drawing failed, it is drawn here, where the failure is reported as the
// command's. A fit chooses the view first.
void FormMain::redrawPicture(bool fit) {
  const PictureKind kind = session_.redrawablePicture();
  if (kind == PictureKind::None) return;
  const auto view = [this, kind, fit] { fit ? fitView(kind) : applyViewSettings(); };
  if (!runCommand(pictureCommand(kind), view)) return;
  if (!redrawsOnWorker()) return redrawHere();
  auto whole = std::make_shared<WholePicture>(session_.detachedCopy(), session_.changeCount());
  const ImageCanvas& shown = formImage_->canvas();
  const QSize size(static_cast<int>(shown.width()), static_cast<int>(shown.height()));
  formImage_->drawPreview([whole, size, ratio = shown.pixelRatio(),
                           background = shown.backgroundColor(),
                           lines = shown.antialiasedLines()](const std::atomic<bool>& cancelled) {
    return whole->draw(size, ratio, background, lines, cancelled);
  });
  wholePicture_ = std::move(whole);
}

void FormMain::formImage_PreviewShown() {
  if (!wholePicture_ || !wholePicture_->drawn) return;
  const std::shared_ptr<WholePicture> whole = std::exchange(wholePicture_, nullptr);
  if (whole->failed) return redrawHere();
  if (!session_.takeDrawnCopy(whole->session, whole->copiedAt)) return redrawPicture();
  formImage_->canvas().restore(whole->picture);
  showWarnings(whole->warnings);
}

void FormMain::redrawHere() {
  const PictureKind kind = session_.redrawablePicture();
  if (kind == PictureKind::None) return;
  formImage_->endPreview();
  BusyCursor busy;
  runCommand(pictureCommand(kind),
             [this] { showWarnings(session_.redrawPicture(formImage_->canvas())); });
}

// The copy of the session shares its grids, so a picture of any size is drawn on the worker. With
// the persistent image off a picture is drawn on the screen alone, which only this thread's
// canvas knows.
bool FormMain::redrawsOnWorker() const { return formImage_->canvas().persistent(); }

}  // namespace kalvenor
