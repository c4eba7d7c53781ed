#pragma once

#include <QObject>

namespace platform {

// While it lives, what a person does with the mouse, keyboard, wheel or touch screen is dropped
// before any window of the program sees it. Painting, timers, the network and closing a
// window go on. On its end it first drops the input that arrived meanwhile and is still
// waiting to be delivered, so none of it acts afterwards.
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
