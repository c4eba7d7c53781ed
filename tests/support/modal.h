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
        : check_(std::move(check)), file_(file), line_(line) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                timer_.stop();
                ran_ = true;
                check_(modal);
            } else if (++ticks_ * 20 > 5000) {
                // Failed here and now, not at the end of the scope after later checks ran.
                timer_.stop();
                ran_ = true;
                QTest::qFail("no modal window opened within 5 s", file_, line_);
            }
        });
        timer_.start();
    }
    ~WhenModalOpens() {
        timer_.stop();
        if (!ran_)
            QTest::qFail("no modal window opened", file_, line_);
    }
    WhenModalOpens(const WhenModalOpens&) = delete;
    WhenModalOpens& operator=(const WhenModalOpens&) = delete;

private:
    std::function<void(QWidget*)> check_;
    const char* file_;
    int line_;
    int ticks_ = 0;
    bool ran_ = false;
    QTimer timer_;
};
