#pragma once

#include "platform/core/toolkit.h"

namespace platform {

class QtToolkit final : public Toolkit {
public:
    void MsgBox(QWidget* owner, const QString& prompt, const QString& title) override;
    void DoEvents() override;
    void End(int status) override;
};

} // namespace platform
