// The main window end to end, offscreen: the refresh command's states, the error box, its keys,
// start-up with the options, the command line and shut-down.
#include "options/frmOpt.h"
#include "platform/widgets/flexgrid.h"
#include "program.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QCommonStyle>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <kursove/version.h>

using sampleserver::SampleServer;

namespace {

// The button's state and caption, and the options menu's state.
auto stateOf(const app::frmMain& window) {
    return std::tuple{window.btnRefresh->isEnabled(), window.mnuOptions->isEnabled(),
                      window.btnRefresh->text()};
}

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    // Enter on the focused button and F5 refresh, F5 only while the button is enabled. The
    // button and the menu are off during a refresh, which a request from code (a person cannot
    // make one then) does not repeat; then the rates show, as a screen reader reads them too,
    // and the button has the focus again. Tab walks out of the grid; Ctrl+A, Ctrl+C copies
    // the 28 currencies. (A failed refresh: tst_faults; the grid's cells: tst_mainlayout.)
    void refreshCommandAndKeys() {
        Program app;
        app::frmMain& window = app.window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        SampleServer server({samplePage()});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        decltype(stateOf(window)) during;
        connect(&server, &SampleServer::requestSeen, &window, [&] {
            during = stateOf(window);
            if (server.requestLines().size() == 1)
                window.btnRefresh_Click();
        });
        window.btnRefresh->setFocus();
        QTest::keyClick(window.btnRefresh, Qt::Key_Return);
        QCOMPARE(server.requestLines().size(), 1);
        QCOMPARE(during, std::tuple(false, false, QStringLiteral("Обновяване...")));
        QCOMPARE(stateOf(window), std::tuple(true, true, QStringLiteral("Обнови")));
        QVERIFY(window.btnRefresh->hasFocus()); // so Enter refreshes again
        QCOMPARE(window.FG->TextMatrix(26, 3), QStringLiteral("1.67142"));
        QCOMPARE(QAccessible::queryAccessibleInterface(window.lblUSD)->text(QAccessible::Name),
                 QStringLiteral(" 1.671 ЛВ"));

        QTest::keyClick(&window, Qt::Key_F5);
        QCOMPARE(server.requestLines().size(), 2);
        window.btnRefresh->setEnabled(false);
        QTest::keyClick(&window, Qt::Key_F5);
        QCOMPARE(server.requestLines().size(), 2);
        window.btnRefresh->setEnabled(true);
        window.FG->setFocus();
        window.FG->setCurrentCell(29, 5);
        QTest::keyClick(window.FG, Qt::Key_Tab);
        QVERIFY(window.btnRefresh->hasFocus());
        QTest::keyClick(window.FG, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(window.FG, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
        QCOMPARE(lines.size(), 28 + 1);
        QVERIFY(lines.at(27).count(u'\t') == 5 && !lines.at(27).endsWith(u'\t'));
        QCOMPARE(lines.at(28), QString());
    }

    // Asked to quit while a page downloads (the session ends): the options are saved and the
    // program ends, with no error box for the page it did not get.
    void quitDuringARefreshSavesAndEnds() {
        // After exit() every event loop ends at once until the application's own loop has run
        // again: it runs for a moment at the end, so the later tests can wait.
        const auto rearm = qScopeGuard([] {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            QCoreApplication::exec();
        });
        Program app;
        SampleServer server({samplePage(), "text/html", sampleserver::Fault::Stall});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        app.window.btnRefresh_Click();
        QCOMPARE(app.toolkit.ends, 1);
        QVERIFY(app.toolkit.messages.isEmpty());
        QVERIFY(QFile::exists(QStringLiteral("options.opt")));
    }

    // With refresh at start the page comes through the proxy while the window shows and is
    // still loading; without, nothing is fetched.
    void refreshAtStartOnlyWhenAsked_data() {
        QTest::addColumn<bool>("refresh");
        QTest::newRow("asked") << true;
        QTest::newRow("not asked") << false;
    }
    void refreshAtStartOnlyWhenAsked() {
        QFETCH(bool, refresh);
        SampleServer proxy({samplePage()});
        QVERIFY(proxy.listenOnStorablePort());
        bool loadingAndShown = false;
        connect(&proxy, &SampleServer::requestSeen, this, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (const auto* main = qobject_cast<app::frmMain*>(top))
                    loadingAndShown = main->Loading() && main->isVisible();
            }
        });
        const Program app(proxyOptions(proxy, refresh));
        QCOMPARE(loadingAndShown, refresh);
        QCOMPARE(proxy.requestLines(),
                 refresh ? QByteArrayList{"GET " + QByteArray(rates::RateAddress) + " HTTP/1.1"}
                         : QByteArrayList{});
        QCOMPARE(app.window.lblDate2->text(), refresh ? "05.12.2026" : "-");
    }

    // F10 takes the keyboard to the menu bar as Alt does, even in a style where Alt does not:
    // the first menu is highlighted and nothing opens. (Then the arrows and Enter, in the
    // desktop's style: tst_desktop.)
    void f10SelectsTheMenuBar() {
        const QString before = QApplication::style()->name();
        const auto restore = qScopeGuard([&] { QApplication::setStyle(before); });
        QApplication::setStyle(new QCommonStyle);
        Program app;
        app::frmMain& window = app.window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(window.btnRefresh, Qt::Key_F10);
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QCOMPARE(window.menuBar()->activeAction(), window.menuBar()->actions().constFirst());
    }

    // --help, --help-all and --version answer on standard output in lines that fit a console,
    // with no display, and fail on a full disk; anything unknown is refused with one line that
    // names it as typed and points to --help, status 2; a start with no display or no platform
    // plugin ends with one line and status 1, not an abort; none of them starts the window (which
    // would write options.opt).
    void commandLineAnsweredWithoutTheWindow_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text"); // in the answer, or in the one line of refusal
        const QString noWindow = QStringLiteral("прозорецът не може да се покаже");
        const auto row = [](const QStringList& arguments, int status, const QString& text) {
            QTest::newRow(arguments.isEmpty() ? "no display" : qPrintable(arguments.join(u' ')))
                << arguments << status << text;
        };
        row({"--help"}, 0, "Използване: kursove [опции]");
        row({"--help-all"}, 0, "-reverse");
        row({"-v"}, 0, "kursove " + QString::fromLatin1(kursove::Version) + '\n');
        row({"--bogus"}, 2, "непозната опция „--bogus“");
        row({"-platform=offscreen"}, 2, "„-platform=offscreen“");
        row({"-reverse", "extra"}, 2, "неочакван аргумент „extra“");
        row({"-style"}, 2, "„-style“ иска стойност");
#ifdef Q_OS_LINUX // on Windows Qt shows a box of its own first, which no handler can stop
        row({"-platform", "nosuchplugin"}, 1, noWindow);
        row({}, 1, noWindow);
        QTest::newRow("--help to a full disk") << QStringList{"--help"} << 1 << QString();
#endif
    }
    void commandLineAnsweredWithoutTheWindow() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, text);
        const ScratchDir dir;
        QProcess program;
#ifdef Q_OS_LINUX
        QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
        noDisplay.remove(QStringLiteral("QT_QPA_PLATFORM"));
        noDisplay.remove(QStringLiteral("DISPLAY"));
        noDisplay.remove(QStringLiteral("WAYLAND_DISPLAY"));
        program.setProcessEnvironment(noDisplay);
        if (text.isEmpty())
            program.setStandardOutputFile(QStringLiteral("/dev/full"));
#endif
        program.start(QStringLiteral(KURSOVE_BINARY), arguments);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        // UTF-8 through a pipe on Windows, whatever the code page (Wine's Western default has no
        // Cyrillic), as Qt 6 writes on Unix.
        const auto decode = [](const QByteArray& bytes) {
            return QString::fromUtf8(bytes);
        };
        const QString output = decode(program.readAllStandardOutput()).remove(u'\r');
        const QString error = decode(program.readAllStandardError());
        QVERIFY2((status == 0 ? output : error).contains(text), qPrintable(output + error));
        for (const QString& line : output.split(u'\n')) // a console's 80 columns
            QVERIFY2(line.size() < 80, qPrintable(line));
        if (status != 0 && !text.isEmpty()) // one line of refusal
            QVERIFY2(output.isEmpty() && error.count(u'\n') == 1 &&
                         error.startsWith(QStringLiteral("kursove: ")) &&
                         (status != 2 || error.contains(QStringLiteral("--help"))),
                     qPrintable(error));
        QVERIFY(!QFile::exists(QStringLiteral("options.opt")));
    }

    // Closing the window saves and ends. Where options.opt cannot be written, one box says
    // where the options were not saved, and the program ends with a failure; a file that may
    // be written in a read-only folder is written in place.
    void closingTheWindowSavesOrTells_data() {
        QTest::addColumn<QFile::Permissions>("folder");
        QTest::addColumn<QFile::Permissions>("file");
        QTest::addColumn<bool>("saved");
        const QFile::Permissions all(0x7000);
        const QFile::Permissions readWrite = QFile::ReadOwner | QFile::WriteOwner;
        QTest::newRow("writable") << all << readWrite << true;
        QTest::newRow("read-only file") << all << QFile::Permissions(QFile::ReadOwner) << false;
        QTest::newRow("write-only file") << all << QFile::Permissions(QFile::WriteOwner) << false;
        QTest::newRow("read-only folder")
            << (QFile::ReadOwner | QFile::ExeOwner) << readWrite << true;
    }
    void closingTheWindowSavesOrTells() {
        QFETCH(QFile::Permissions, folder);
        QFETCH(QFile::Permissions, file);
        QFETCH(bool, saved);
        const QByteArray old("0\r\n0\r\n8080\r\n\"old\"\r\n");
        Program app(old);
        options::Options changed = app.window.Opt().record();
        changed.proxyHost = QStringLiteral("new");
        app.window.Opt().setRecord(changed);
        if (!app.dir.setModes(folder, file) && !saved)
            QSKIP("no permission bits here");
        QVERIFY(app.window.close());
        app.dir.makeOptionsReadable();
        QCOMPARE(app.toolkit.ends, 1);
        QCOMPARE(app.toolkit.exitStatus, saved ? 0 : 1);
        const QString path = QDir::toNativeSeparators(QFileInfo("options.opt").absoluteFilePath());
        QCOMPARE(app.toolkit.messages.join(u'\n'),
                 saved ? QString() : "Грешка|Настройките не бяха записани във файла\r\n" + path);
        QCOMPARE(ScratchDir::read(), saved ? QByteArray("0\r\n0\r\n8080\r\n\"new\"\r\n") : old);
        app.window.mnuExit->trigger();
        QCOMPARE(app.toolkit.ends, 2);
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
