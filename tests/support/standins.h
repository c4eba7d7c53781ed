#pragma once

#include "platform/core/caption.h"
#include "platform/core/grid.h"
#include "platform/core/shellopen.h"
#include "platform/core/toolkit.h"

#include <QMap>
#include <QStringList>
#include <functional>

// Stand-ins for the platform services, keeping what they are given.
struct FakeGrid final : platform::Grid {
    void setTextMatrix(int row, int col, const QString& text) override { cells[{row, col}] = text; }
    [[nodiscard]] QString TextMatrix(int row, int col) const override {
        return cells.value({row, col});
    }
    QMap<QPair<int, int>, QString> cells;
};

struct FakeCaption final : platform::Caption {
    void setCaption(const QString& text) override { caption = text; }
    QString caption;
};

// Records the message boxes and the end of the process.
struct FakeToolkit final : platform::Toolkit {
    void MsgBox(QWidget* /*owner*/, const QString& prompt, const QString& title) override {
        messages << title + u'|' + prompt;
    }
    void DoEvents() override {}
    void End(int status) override {
        ++ends;
        exitStatus = status;
        if (onEnd)
            onEnd();
    }
    std::function<void()> onEnd;
    QStringList messages;
    int ends = 0;
    int exitStatus = -1;
};

struct CountingShell final : platform::ShellOpen {
    void open(const QString& address) override { opened << address; }
    QStringList opened;
};
