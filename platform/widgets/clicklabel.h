#pragma once

#include <QLabel>
#include <QMouseEvent>
#include <utility>

namespace platform {

// A label or picture that answers a click, as a link does.
class ClickLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            !std::exchange(secondOfDouble_, false))
            emit clicked();
        QLabel::mouseReleaseEvent(event);
    }
    // The second press of a double-click comes as this; its release is not a click of its own.
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        secondOfDouble_ = event->button() == Qt::LeftButton;
        QLabel::mouseDoubleClickEvent(event);
    }

private:
    bool secondOfDouble_ = false;
};

} // namespace platform
