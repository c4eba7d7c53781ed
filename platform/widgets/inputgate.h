#pragma once

#include <QObject>

namespace platform {

// While it lives, what a person does with the mouse, keyboard, wheel or touch screen is dropped
// before any window of the program sees it, as it arrives: none of it is kept to act
// afterwards. Painting, timers, the network and closing a window go on (Alt+F4 too, which on
// Windows reaches the program as a key that the system turns into a close request).
class InputGate final : public QObject {
    Q_OBJECT
public:
    InputGate();
    ~InputGate() override;
    Q_DISABLE_COPY_MOVE(InputGate)

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace platform
