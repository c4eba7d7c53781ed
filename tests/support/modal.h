#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

// Runs `check` on the next modal window that opens while it lives, found as a person sees it.
// The test fails if none opened by the end of the scope: checks inside `check` that never ran
// must not pass for checks that held. Its timer dies with it, so nothing fires later.
class WhenModalOpens {
public:
    explicit WhenModalOpens(std::function<void(QWidget*)> check,
                            const char* file = __builtin_FILE(), int line = __builtin_LINE())
        : file_(file), line_(line) {
        QObject::connect(&timer_, &QTimer::timeout, [this, check = std::move(check)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr && ++ticks_ * 20 <= 5000)
                return;
            timer_.stop();
            ran_ = true;
            if (modal != nullptr)
                check(modal);
            else // failed here and now, not at the end of the scope after later checks ran
                QTest::qFail("no modal window opened within 5 s", file_, line_);
        });
        timer_.start(20);
    }
    ~WhenModalOpens() {
        timer_.stop();
        if (!ran_)
            QTest::qFail("no modal window opened", file_, line_);
    }
    WhenModalOpens(const WhenModalOpens&) = delete;
    WhenModalOpens& operator=(const WhenModalOpens&) = delete;

private:
    const char* file_;
    int line_;
    int ticks_ = 0;
    bool ran_ = false;
    QTimer timer_;
};
