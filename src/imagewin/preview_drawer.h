#pragma once

#include <QImage>
#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace kalvenor {

// Draws previews on threads of its own, so that the window keeps answering while a picture is
// turned. A new request cancels the one before it: its flag is set, which the drawing looks at
// between cells, and its generation is left behind, so that a picture it still finishes is never
// shown over a newer one. Only the picture of the newest request is handed on.
class PreviewDrawer : public QObject {
  Q_OBJECT

 public:
  // Draws one picture on a worker thread from data it owns or shares read-only; a null image,
  // or an exception, when it has nothing to show (it was cancelled, say).
  using Job = std::function<QImage(const std::atomic<bool>& cancelled)>;

  explicit PreviewDrawer(QObject* parent = nullptr);
  // Cancels what is being drawn and waits for it to stop.
  ~PreviewDrawer() override;

  void request(Job job);
  // Nothing requested so far is shown any more.
  void cancel();

 signals:
  // On the GUI thread: the picture of the newest request.
  void drawn(const QImage& picture);

 private:
  void deliver(const QImage& picture, std::uint64_t generation);

  QThreadPool pool_;
  std::uint64_t generation_ = 0;  // read and written on the GUI thread only
  std::shared_ptr<std::atomic<bool>> cancelled_;
};

}  // namespace kalvenor
