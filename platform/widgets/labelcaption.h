#pragma once

#include "platform/core/caption.h"

#include <QLabel>

namespace platform {

class LabelCaption final : public Caption {
public:
    explicit LabelCaption(QLabel& label) : label_(label) {}
    void setCaption(const QString& text) override { label_.setText(text); }

private:
    QLabel& label_;
};

} // namespace platform
