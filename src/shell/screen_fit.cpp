#include "shell/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace kalvenor {
namespace {

// How long after its start a window is still kept on the screen; later moves are the user's.
constexpr int kPlacingMilliseconds = 3000;
constexpr int kCheckMilliseconds = 100;

QRect availableArea(const QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

// Moves and shrinks the window so that its frame lies inside the area.
void keepInside(QWidget& window, const QRect& area) {
  const QRect frame = window.frameGeometry();
  const QSize margins = frame.size() - window.size();
  const QSize room = area.size() - margins;
  const QSize size = window.size().boundedTo(room).expandedTo(window.minimumSize());
  if (size != window.size()) window.resize(size);
  const QSize whole = size + margins;
  const int x =
      std::clamp(frame.x(), area.left(), std::max(area.left(), area.right() + 1 - whole.width()));
  const int y =
      std::clamp(frame.y(), area.top(), std::max(area.top(), area.bottom() + 1 - whole.height()));
  if (QPoint(x, y) != frame.topLeft()) window.move(x, y);
}

// Keeps the window inside the area while the window manager frames it, which it does in its own
// time after the window is shown, and then lets the user move it.
class OnScreen : public QObject {
 public:
  OnScreen(QWidget& window, WindowSize size) : QObject(&window), window_(window), size_(size) {
    connect(&check_, &QTimer::timeout, this, [this] {
      if (!window_.isVisible()) return;
      if (size_ == WindowSize::AsItsPagesNeed) {
        window_.resize(window_.size().expandedTo(window_.sizeHint()));
        size_ = WindowSize::AsItIs;
      }
      keepInside(window_, availableArea(window_));
    });
    check_.start(kCheckMilliseconds);
    QTimer::singleShot(kPlacingMilliseconds, this, [this] { deleteLater(); });
  }

 private:
  QWidget& window_;
  WindowSize size_;
  QTimer check_;
};

// A page in a scroll area asks for the room the page needs, so a window sized to its hint shows
// its pages whole where the screen has room; QScrollArea's own hint is capped at a few lines.
class PageScroll : public QScrollArea {
 public:
  QSize sizeHint() const override {
    const int frame = 2 * frameWidth();
    return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
  }
};

}  // namespace

void letPagesScroll(QTabWidget& tabs) {
  const int current = tabs.currentIndex();
  for (int index = 0; index < tabs.count(); ++index) {
    QWidget* page = tabs.widget(index);
    if (qobject_cast<QScrollArea*>(page)) continue;
    const QString title = tabs.tabText(index);
    tabs.removeTab(index);
    auto* scroll = new PageScroll;
    scroll->setObjectName(page->objectName() + QStringLiteral("Scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    tabs.insertTab(index, scroll, title);
  }
  tabs.setCurrentIndex(current);
}

void placeOnScreen(QWidget& window, QPoint frameTopLeft, WindowSize size) {
  const QRect area = availableArea(window);
  window.move(area.topLeft() + frameTopLeft);
  keepInside(window, area);
  new OnScreen(window, size);
}

}  // namespace kalvenor
