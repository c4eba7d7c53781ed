#pragma once

#include <QString>

namespace platform {

// Hands a web address to the desktop's default browser. The outcome is not reported.
class ShellOpen {
public:
    virtual ~ShellOpen() = default;
    virtual void open(const QString& address) = 0;
};

} // namespace platform
