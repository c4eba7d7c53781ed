#pragma once

#include "platform/widgets/qttoolkit.h"

#include <QApplication>
#include <QTimer>
#include <functional>

// The real message box, for tests that find and close it as a person would.
inline void showRealBox(QWidget* owner, const QString& prompt, const QString& title) {
    platform::QtToolkit().MsgBox(owner, prompt, title);
}

// Runs `check` on the next modal window that opens, found as a person sees it.
inline void whenModalOpens(const std::function<void(QWidget*)>& check, int waitedMs = 0) {
    QTimer::singleShot(20, [check, waitedMs] {
        if (QWidget* modal = QApplication::activeModalWidget())
            check(modal);
        else if (waitedMs < 5000)
            whenModalOpens(check, waitedMs + 20);
    });
}
