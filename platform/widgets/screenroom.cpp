#include "platform/widgets/screenroom.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace platform {

namespace {

// Wayland leaves every window's place to the compositor ("wayland", "wayland-egl", ...).
bool windowsCanMove() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

QSize roomOnScreen(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr)
        return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    const QSize room = screen->availableGeometry().size();
    if (window.isVisible() && !windowsCanMove())
        return room.boundedTo(window.frameGeometry().size());
    return room;
}

void keepOnScreen(QWidget& window) {
    if (!window.isVisible() || window.screen() == nullptr || !windowsCanMove())
        return;
    const QRect area = window.screen()->availableGeometry();
    const QRect frame = window.frameGeometry();
    // Back by what reaches past the right or bottom edge, never past the left or top one.
    const QPoint back(
        std::max(0, std::min(frame.right() - area.right(), frame.left() - area.left())),
        std::max(0, std::min(frame.bottom() - area.bottom(), frame.top() - area.top())));
    if (!back.isNull())
        window.move(window.pos() - back);
}

} // namespace platform
