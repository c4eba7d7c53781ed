#pragma once

#include "platform/qtshellopen.h"
#include "platform/qttoolkit.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <functional>

// The real message box and message pass, but an End that only records: a test cannot let
// the program end its own process.
class WindowToolkit final : public platform::Toolkit {
public:
    void MsgBox(QWidget* owner, const QString& prompt, const QString& title) override {
        ++boxes;
        real_.MsgBox(owner, prompt, title);
    }
    void DoEvents() override { real_.DoEvents(); }
    void End() override { ++ends; }
    int boxes = 0;
    int ends = 0;

private:
    platform::QtToolkit real_;
};

class CountingShell final : public platform::ShellOpen {
public:
    void open(const QString& address) override { opened << address; }
    QStringList opened;
};

// Runs `check` on the next modal window that opens (found the way a person sees it: the
// active modal widget), then lets the test close it.
inline void whenModalOpens(const std::function<void(QWidget*)>& check, int waitedMs = 0) {
    QTimer::singleShot(20, [check, waitedMs] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            check(modal);
        } else if (waitedMs < 5000) {
            whenModalOpens(check, waitedMs + 20);
        }
    });
}
