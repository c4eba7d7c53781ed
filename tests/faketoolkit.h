#pragma once

#include "platform/toolkit.h"

#include <QStringList>

// Records what the program asked of the toolkit instead of doing it.
class FakeToolkit final : public platform::Toolkit {
public:
    void MsgBox(QWidget* /*owner*/, const QString& prompt, const QString& title) override {
        calls << QStringLiteral("MsgBox");
        messages << title + u'|' + prompt;
    }
    void DoEvents() override { calls << QStringLiteral("DoEvents"); }
    void End() override { calls << QStringLiteral("End"); }
    QStringList calls;
    QStringList messages;
};
