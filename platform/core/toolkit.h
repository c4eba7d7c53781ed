#pragma once

#include <QString>

class QWidget;

namespace platform {

// Window-toolkit services that tests must be able to stand in for.
class Toolkit {
public:
    virtual ~Toolkit() = default;
    // Modal box with one OK button and no icon; returns when the user closes it.
    virtual void MsgBox(QWidget* owner, const QString& prompt, const QString& title) = 0;
    // One pass over the window messages that are waiting.
    virtual void DoEvents() = 0;
    // Ends the process at once with this exit status; no further event handler runs. The
    // toolkit's application object must have been made with new: it is deleted first when the
    // clipboard is ours.
    virtual void End(int status = 0) = 0;
};

} // namespace platform
