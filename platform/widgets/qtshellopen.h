#pragma once

#include "platform/core/shellopen.h"

namespace platform {

class QtShellOpen final : public ShellOpen {
public:
    void open(const QString& address) override;
};

} // namespace platform
