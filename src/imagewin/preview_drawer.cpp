#include "imagewin/preview_drawer.h"

#include <exception>

namespace kalvenor {

// Two threads, so a request need not wait for the one it cancelled to notice.
PreviewDrawer::PreviewDrawer(QObject* parent) : QObject(parent) { pool_.setMaxThreadCount(2); }

PreviewDrawer::~PreviewDrawer() {
  cancel();
  pool_.waitForDone();
}

void PreviewDrawer::cancel() {
  ++generation_;
  if (cancelled_) cancelled_->store(true);
}

void PreviewDrawer::request(Job job) {
  cancel();
  cancelled_ = std::make_shared<std::atomic<bool>>(false);
  pool_.start([this, job = std::move(job), cancelled = cancelled_, generation = generation_] {
    QImage picture;
    try {
      picture = job(*cancelled);
    } catch (const std::exception&) {
      // Nothing to show; the full picture drawn when the gesture ends reports any real fault.
      return;
    }
    if (picture.isNull() || cancelled->load()) return;
    // The destructor waits for this thread, so the drawer still exists here; a call still
    // queued when it goes is dropped with it.
    QMetaObject::invokeMethod(
        this, [this, picture, generation] { deliver(picture, generation); }, Qt::QueuedConnection);
  });
}

void PreviewDrawer::deliver(const QImage& picture, std::uint64_t generation) {
  if (generation == generation_) emit drawn(picture);
}

}  // namespace kalvenor
