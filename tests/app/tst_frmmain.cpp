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
#include <QStyleFactory>
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
    // The button and the menu are off during a refresh, which a request from code (a person
    // cannot make one then) does not repeat; then the rates show, and a screen reader reads
    // each value label as it shows, with what it is and the caption beside it. (A failed
    // refresh: tst_faults; the grid's cells: tst_mainlayout.)
    void refreshFetchesOnceWithTheControlsOff() {
        Program app;
        app::frmMain& window = app.window;
        SampleServer server({samplePage()});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        decltype(stateOf(window)) during;
        connect(&server, &SampleServer::requestSeen, &window, [&] {
            during = stateOf(window);
            if (server.requestLines().size() == 1)
                window.btnRefresh_Click();
        });
        window.btnRefresh_Click();
        QCOMPARE(server.requestLines().size(), 1);
        QCOMPARE(during, std::tuple(false, false, QStringLiteral("Обновяване...")));
        QCOMPARE(stateOf(window), std::tuple(true, true, QStringLiteral("Обнови")));
        QCOMPARE(window.FG->TextMatrix(26, 3), QStringLiteral("1.67142"));
        QAccessibleInterface* usd = QAccessible::queryAccessibleInterface(window.lblUSD);
        QCOMPARE(usd->text(QAccessible::Name), QStringLiteral(" 1.671 ЛВ"));
        QCOMPARE(usd->text(QAccessible::Description),
                 QStringLiteral("Курс на щатския долар в лева"));
        const auto labelledBy = usd->relations(QAccessible::Label);
        QCOMPARE(labelledBy.size(), 1);
        QCOMPARE(labelledBy.first().first->text(QAccessible::Name), QStringLiteral("1 USD ="));
        QCOMPARE(QAccessible::queryAccessibleInterface(window.lblDate2)->text(QAccessible::Name),
                 QStringLiteral("05.12.2026"));
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
        options::Options changed = app.window.Opt().record();
        changed.proxyHost = QStringLiteral("kept.local");
        app.window.Opt().setRecord(changed);
        SampleServer server({samplePage(), "text/html", sampleserver::Fault::Stall});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        app.window.btnRefresh_Click();
        QCOMPARE(app.toolkit.ends, 1);
        QVERIFY(app.toolkit.messages.isEmpty());
        QCOMPARE(ScratchDir::read(), QByteArray("0\r\n0\r\n8080\r\n\"kept.local\"\r\n"));
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
        QVERIFY(!app.window.Loading());
        QCOMPARE(proxy.requestLines(),
                 refresh ? QByteArrayList{"GET " + QByteArray(rates::RateAddress) + " HTTP/1.1"}
                         : QByteArrayList{});
        QCOMPARE(app.window.lblDate2->text(), refresh ? "05.12.2026" : "-");
    }

    // Enter on the focused button and F5 refresh, F5 only while the button is enabled, and the
    // button has the focus again after its refresh; Tab walks out of the grid; Ctrl+A, Ctrl+C
    // copies the 28 currencies.
    void keysOfTheMainWindow() {
        Program app;
        app::frmMain& window = app.window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        SampleServer server({samplePage()});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        window.btnRefresh->setFocus();
        QTest::keyClick(window.btnRefresh, Qt::Key_Return);
        QCOMPARE(server.requestLines().size(), 1);
        QVERIFY(window.btnRefresh->hasFocus()); // so Enter refreshes again
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

    // F10 takes the keyboard to the menu bar as Alt does, in any style: the first menu is
    // highlighted and nothing opens. (Then the arrows and Enter: tst_desktop.)
    void f10SelectsTheMenuBar_data() {
        QTest::addColumn<QString>("style");
        QTest::newRow("fusion") << QStringLiteral("fusion");
        QTest::newRow("windows") << QStringLiteral("windows");
        QTest::newRow("no Alt navigation") << QString();
    }
    void f10SelectsTheMenuBar() {
        QFETCH(QString, style);
        const QString before = QApplication::style()->name();
        const auto restore = qScopeGuard([&] { QApplication::setStyle(before); });
        QApplication::setStyle(style.isEmpty() ? new QCommonStyle : QStyleFactory::create(style));
        Program app;
        app::frmMain& window = app.window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(window.btnRefresh, Qt::Key_F10);
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QCOMPARE(window.menuBar()->activeAction(), window.menuBar()->actions().constFirst());
    }

    // --help and --version answer on standard output, with no display, and fail on a full
    // disk; anything unknown is refused with one line that names it as typed and points to
    // --help, status 2; a start with no display or no platform plugin ends with one line and
    // status 1, not an abort; none of them starts the window (which would write options.opt).
    // The toolkit's own options, with a value or without, start it.
    void commandLine() {
        const ScratchDir dir;
        QProcess program;
        const auto run = [&](const QStringList& arguments) {
            program.start(QStringLiteral(KURSOVE_BINARY), arguments);
            return program.waitForFinished(10000) ? program.exitCode() : -1;
        };
        // With no display: the command line is answered, or refused, before one is needed.
#ifdef Q_OS_LINUX
        QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
        noDisplay.remove(QStringLiteral("QT_QPA_PLATFORM"));
        noDisplay.remove(QStringLiteral("DISPLAY"));
        noDisplay.remove(QStringLiteral("WAYLAND_DISPLAY"));
        program.setProcessEnvironment(noDisplay);
#endif
        // Through a pipe the text is UTF-8 on Windows, whatever the code page (Wine's Western
        // default has no Cyrillic), and in the system's encoding elsewhere.
        const auto text = [](const QByteArray& bytes) {
#ifdef Q_OS_WIN
            return QString::fromUtf8(bytes);
#else
            return QString::fromLocal8Bit(bytes);
#endif
        };
        QCOMPARE(run({"--help"}), 0);
        const QString help = text(program.readAllStandardOutput());
        QVERIFY2(help.section(u'\n', 0, 0).contains(QStringLiteral("Използване: kursove [опции]")),
                 qPrintable(help));
        QCOMPARE(run({"--help-all"}), 0);
        const QString helpAll = text(program.readAllStandardOutput());
        for (const QString& line : helpAll.split(u'\n')) // a console's 80 columns
            QVERIFY2(QString(line).remove(u'\r').size() < 80, qPrintable(line));
        QVERIFY(helpAll.contains(QStringLiteral("-reverse")));
        QCOMPARE(run({"-v"}), 0);
        QCOMPARE(program.readAllStandardOutput().trimmed(), // CR LF on Windows
                 QByteArray("kursove ") + kursove::Version);

        const QString noWindow = QStringLiteral("прозорецът не може да се покаже");
        const struct {
            QStringList arguments;
            QString what;
            int status;
        } refusals[] = {
            {{"--bogus"}, "непозната опция „--bogus“", 2},
            {{"-platform=offscreen"}, "„-platform=offscreen“", 2},
            {{"-reverse", "extra"}, "неочакван аргумент „extra“", 2},
            {{"-style"}, "„-style“ иска стойност", 2},
            {{"-platform", "nosuchplugin"}, noWindow, 1},
#ifdef Q_OS_LINUX
            {{}, noWindow, 1},
#endif
        };
        for (const auto& refusal : refusals) {
            const int status = run(refusal.arguments);
            const QString error = text(program.readAllStandardError());
            const QStringList lines = error.split(u'\n', Qt::SkipEmptyParts);
            QVERIFY2(status == refusal.status && program.exitStatus() == QProcess::NormalExit &&
                         program.readAllStandardOutput().isEmpty() && lines.size() == 1 &&
                         lines.first().startsWith(QStringLiteral("kursove: ")) &&
                         lines.first().contains(refusal.what) &&
                         (status != 2 || lines.first().contains(QStringLiteral("--help"))),
                     qPrintable(refusal.arguments.join(u' ') + QStringLiteral(": ") + error));
        }
        QVERIFY(!QFile::exists(QStringLiteral("options.opt")));
#ifdef Q_OS_LINUX
        QProcess full;
        full.setStandardOutputFile(QStringLiteral("/dev/full"));
        full.start(QStringLiteral(KURSOVE_BINARY), {QStringLiteral("--help")});
        QVERIFY(full.waitForFinished(10000) && full.exitCode() != 0);
#endif

        program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        program.start(QStringLiteral(KURSOVE_BINARY),
                      {"-testability", "-style", "fusion", "-platform", "offscreen"});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("options.opt")) ||
                                     program.state() == QProcess::NotRunning,
                                 60000);
        QCOMPARE(program.state(), QProcess::Running); // started, not refused
        program.kill();
        program.waitForFinished();
    }

    // Closing the window saves and ends. Where options.opt cannot be written, one box says
    // where the options were not saved, and the program ends with a failure; a file that may
    // be written in a read-only folder is written in place.
    void closingTheWindowSavesOrTells_data() {
        QTest::addColumn<QFile::Permissions>("folder");
        QTest::addColumn<QFile::Permissions>("file");
        QTest::addColumn<bool>("saved");
        const QFile::Permissions all(0x7000);
        const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
        const QFile::Permissions readWrite = QFile::ReadOwner | QFile::WriteOwner;
        const QFile::Permissions readable(QFile::ReadOwner);
        QTest::newRow("writable") << all << readWrite << true;
        QTest::newRow("read-only file") << all << readable << false;
        QTest::newRow("mode 000") << all << QFile::Permissions() << false;
        QTest::newRow("write-only file") << all << QFile::Permissions(QFile::WriteOwner) << false;
        QTest::newRow("directory") << all << all << false;
        QTest::newRow("read-only folder") << readOnly << readWrite << true;
        QTest::newRow("read-only folder and file") << readOnly << readable << false;
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
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        if (tag == u"directory")
            QVERIFY(QFile::remove("options.opt") && QDir().mkdir("options.opt"));
        if (!app.dir.setModes(folder, file) && tag != u"writable")
            QSKIP("no permission bits here");
        QVERIFY(app.window.close());
        app.dir.makeOptionsReadable();
        QCOMPARE(app.toolkit.ends, 1);
        QCOMPARE(app.toolkit.exitStatus, saved ? 0 : 1);
        const QString path = QDir::toNativeSeparators(QFileInfo("options.opt").absoluteFilePath());
        QCOMPARE(app.toolkit.messages.join(u'\n'),
                 saved ? QString() : "Грешка|Настройките не бяха записани във файла\r\n" + path);
        if (tag != u"directory")
            QCOMPARE(ScratchDir::read(), saved ? QByteArray("0\r\n0\r\n8080\r\n\"new\"\r\n") : old);
        app.window.mnuExit->trigger();
        QCOMPARE(app.toolkit.ends, 2);
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
