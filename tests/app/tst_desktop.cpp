// The program on an X display with a window manager, driven by xdotool: clicks and keys that
// reach it through the window system asynchronously, as a person's do. Run by desktop.sh.
#include "about/frmAbout.h"
#include "modal.h"
#include "options/frmOpt.h"
#include "program.h"

#include <QAction>
#include <QClipboard>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <sys/types.h>
#include <xcb/xcb.h>

using sampleserver::SampleServer;

namespace {

QString at(const QWidget& widget, const QRect& rect) {
    const QPoint p = widget.mapToGlobal(rect.center());
    return QStringLiteral("%1 %2").arg(p.x()).arg(p.y());
}

// Starts xdotool and returns at once: its input arrives while the caller waits.
void xdotool(const QString& commands) {
    QVERIFY(QProcess::startDetached(QStringLiteral("xdotool"),
                                    commands.split(u' ', Qt::SkipEmptyParts)));
}

// Shown, active, fetching from a sample server that holds each answer `delayMs`.
struct OnDesktop : Program {
    explicit OnDesktop(int delayMs) : server({samplePage()}) {
        server.config().delayMs = delayMs;
        listening = server.listen();
        fetchFrom(server);
        window.show();
        window.activateWindow();
    }
    SampleServer server;
    bool listening = false;
};

// Whether a clipboard manager (desktop.sh starts Xfce's where it is installed) has taken the
// X selection through which programs hand it what they copied.
bool clipboardManagerRuns() {
    xcb_connection_t* x =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    constexpr char Name[] = "CLIPBOARD_MANAGER";
    // xcb's replies are malloc'ed.
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 1, sizeof Name - 1, Name), nullptr),
        &std::free);
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        atom ? xcb_get_selection_owner_reply(x, xcb_get_selection_owner(x, atom->atom), nullptr)
             : nullptr,
        &std::free);
    return owner && owner->owner != XCB_NONE;
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QStringLiteral("xcb") ||
            QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("needs an X display and xdotool (see desktop.sh)");
    }

    // Clicks on the disabled button, F5, Enter and a click on the menu, all made while a page
    // downloads, are dropped: one request in all, no dialog, no open menu afterwards. Closing
    // the window from its title bar then still saves and ends.
    void inputDuringARefreshIsDroppedButClosingIsNot() {
        OnDesktop app(4000);
        app::frmMain& window = app.window;
        QVERIFY(app.listening && QTest::qWaitForWindowActive(&window));
        const QString button = at(*window.btnRefresh, window.btnRefresh->rect());
        QAction* menu = window.menuBar()->actions().constFirst();
        const QString menuAt = at(*window.menuBar(), window.menuBar()->actionGeometry(menu));
        bool whileRefreshing = false;
        app.toolkit.onEnd = [&] {
            whileRefreshing = !window.btnRefresh->isEnabled();
        };
        QTimer::singleShot(500, this, [&] {
            xdotool(QStringLiteral("mousemove --sync %1 click --repeat 3 --delay 150 1 key F5 "
                                   "key Return mousemove --sync %2 click 1 sleep 0.5 key alt+F4")
                        .arg(button, menuAt));
        });
        window.btnRefresh_Click();
        QCOMPARE(app.server.requestLines().size(), 1);
        QVERIFY(!window.Opt().isVisible());
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QCOMPARE(app.toolkit.ends, 1);
        QVERIFY(whileRefreshing);
        QVERIFY(QFile::exists(QStringLiteral("options.opt")));
    }

    // F10 selects the menu bar, as on Windows, and the arrows and Enter reach the menus: F10,
    // Right, Enter opens the About window.
    void f10ThenArrowsAndEnterReachEveryMenu() {
        OnDesktop app(0);
        app::frmMain& window = app.window;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        {
            bool opened = false;
            const WhenModalOpens about([&](QWidget* modal) {
                opened = modal == &window.About();
                xdotool(QStringLiteral("key space")); // its OK, as a person closes it
            });
            xdotool(QStringLiteral("key --delay 150 F10 Right Return"));
            QTRY_VERIFY_WITH_TIMEOUT(opened && !window.About().isVisible(), 10000);
        }
    }

    // A refresh at start fits the window before a slow window manager has framed it (here it
    // is held still meanwhile); once the frame is there, the window fits the screen, frame and
    // all.
    void startUpRefreshFitsTheScreenOnceFramed() {
        QByteArray wide = samplePage();
        wide.replace("\xC0\xE2\xF1\xF2\xF0\xE0\xEB\xE8\xE9\xF1\xEA\xE8 \xE4\xEE\xEB\xE0\xF0",
                     QByteArray(1100, '\xE4')); // a name far wider than the screen
        SampleServer proxy({wide});
        QVERIFY(proxy.listenOnStorablePort());
        const pid_t wm = qEnvironmentVariableIntValue("KURSOVE_WM_PID");
        QVERIFY2(wm > 0, "desktop.sh names the window manager it started");
        QCOMPARE(::kill(wm, SIGSTOP), 0);
        const Program app(proxyOptions(proxy, true));
        ::kill(wm, SIGCONT);
        const app::frmMain& window = app.window;
        QCOMPARE(proxy.requestLines().size(), 1);
        QTRY_VERIFY(window.frameGeometry().width() > window.width()); // framed now
        const QRect area = window.screen()->availableGeometry();
        QTRY_VERIFY(area.contains(window.frameGeometry()));
    }

    // Rates copied and then the window closed: the program is gone, its copy is not.
    void copiedRatesOutliveTheProgram() {
        QTRY_VERIFY_WITH_TIMEOUT(clipboardManagerRuns() ||
                                     qEnvironmentVariableIsEmpty("KURSOVE_CLIPBOARD_MANAGER"),
                                 10000);
        if (!clipboardManagerRuns())
            QSKIP("no clipboard manager here (Xfce's xfsettingsd, see desktop.sh)");
        SampleServer proxy({samplePage()});
        QVERIFY(proxy.listenOnStorablePort());
        const ScratchDir dir;
        ScratchDir::write(proxyOptions(proxy, true));
        QProcess program;
        program.start(QStringLiteral(KURSOVE_BINARY), {});
        QTRY_COMPARE_WITH_TIMEOUT(proxy.requestLines().size(), 1, 20000);
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        xdotool(QStringLiteral("search --sync --onlyvisible --pid %1 . windowactivate --sync "
                               "key ctrl+a ctrl+c")
                    .arg(program.processId()));
        QTRY_VERIFY_WITH_TIMEOUT(clipboard->text().contains(QStringLiteral("\tUSD\t")), 10000);
        xdotool(QStringLiteral("key alt+F4"));
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(clipboard->text().contains(QStringLiteral("\tUSD\t")),
                 "the copy died with the program");
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
