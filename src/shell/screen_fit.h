#pragma once

#include <QPoint>

class QTabWidget;
class QWidget;

namespace kalvenor {

// Puts each page of the tabs into a scroll area, so that a window smaller than its pages (a
// small screen, or a large scale) still reaches every control.
void letPagesScroll(QTabWidget& tabs);

enum class WindowSize { AsItIs, AsItsPagesNeed };

// Places a window with its frame's top-left corner at `frameTopLeft` of the available area of
// its screen (not under panels), no larger than that area. A window manager frames a window only
// after it is shown, and may then put the title bar above the screen: for the first seconds the
// window is moved and shrunk into the area again whenever its frame leaves it. A window sized
// as its pages need grows to its size hint once it is shown, when the style has given every
// control its size.
void placeOnScreen(QWidget& window, QPoint frameTopLeft, WindowSize size = WindowSize::AsItIs);

}  // namespace kalvenor
