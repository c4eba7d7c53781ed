#pragma once

#include <QSize>

class QWidget;

namespace platform {

// The size a window may take, frame included, and still show whole on its screen. Where the
// window system places windows itself and never tells a program where (a native Wayland
// client), a window already shown may not grow either: it was placed to fit at its size.
QSize roomOnScreen(const QWidget& window);
// Moves a window that reaches past its screen's right or bottom edge back onto it, where the
// window system lets a program move its windows.
void keepOnScreen(QWidget& window);

} // namespace platform
