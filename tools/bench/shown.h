#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

// Ends the program once `window` is on the screen and painted: at once where it already is,
// else at its first exposure. On X11 a window shows only when the X server says so, and only
// then is its text laid out and drawn, which a person waits for too.
// exit(), not quit(): quit() closes the windows, and closing the main window ends the program
// before it could report.
class ExitOnceShown final : public QObject {
public:
    explicit ExitOnceShown(QWidget& window) : handle_(window.windowHandle()) {
        if (handle_->isExposed())
            exitSoon();
        else
            handle_->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && handle_->isExposed()) {
            handle_->removeEventFilter(this);
            exitSoon(); // after the window has handled its exposure, i.e. painted
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void exitSoon() {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
    QWindow* handle_;
};
