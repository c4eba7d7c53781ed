// The main window end to end, offscreen: layout, the refresh command's states, the error box,
// start-up with the options, and shut-down.
#include "about/frmAbout.h"
#include "modal.h"
#include "options/frmOpt.h"
#include "platform/widgets/flexgrid.h"
#include "program.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <kursove/version.h>

using sampleserver::SampleServer;

namespace {

struct State {
    bool button;
    bool options;
    QString caption;
    bool operator==(const State&) const = default;
};

State stateOf(const app::frmMain& window) {
    return {window.btnRefresh->isEnabled(), window.mnuOptions->isEnabled(),
            window.btnRefresh->text()};
}

const State Idle{true, true, QStringLiteral("Обнови")};
const State Refreshing{false, false, QStringLiteral("Обновяване...")};

QString accessibleName(QObject* object) {
    return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
}

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    void layoutAtStart() {
        Program app;
        const app::frmMain& window = app.window;
        QCOMPARE(window.FG->TextMatrix(0, 5), QStringLiteral("Обратен курс     "));
        // The headers' trailing spaces widen their columns before any rate is there.
        const QFontMetrics metrics(window.FG->font());
        for (int col = 0; col < 6; ++col) {
            const QString header = window.FG->TextMatrix(0, col);
            QVERIFY2(header.endsWith(u' '), qPrintable(header));
            QVERIFY2(window.FG->columnWidth(col) >= metrics.horizontalAdvance(header),
                     qPrintable(header));
        }
        // A text with line breaks shows on one line and reads back whole, until replaced.
        window.FG->setTextMatrix(1, 0, QStringLiteral("a\r\nb\tc"));
        QCOMPARE(window.FG->item(0, 0)->text(), QStringLiteral("a  b c"));
        QCOMPARE(window.FG->TextMatrix(1, 0), QStringLiteral("a\r\nb\tc"));
        window.FG->setTextMatrix(1, 0, QStringLiteral("d"));
        QCOMPARE(window.FG->TextMatrix(1, 0), QStringLiteral("d"));
        QCOMPARE(window.lblDate2->text(), QStringLiteral("-"));
        QCOMPARE(window.lblUSD->text(), QStringLiteral("ЛВ"));
        QCOMPARE(window.lblDate2->textFormat(), Qt::PlainText);
        QCOMPARE(stateOf(window), Idle);
        QVERIFY(!window.isVisible()); // the start shows it, not loading
    }

    void refreshThenAFailureKeepsTheRates() {
        Program app;
        app.toolkit.show = showRealBox;
        app::frmMain& window = app.window;
        window.show();
        sampleserver::Config config{samplePage()};
        config.delayMs = 300;
        SampleServer server(config);
        QVERIFY(server.listen());
        app.fetchFrom(server);

        State during;
        QTimer::singleShot(100, [&] { during = stateOf(window); });
        window.btnRefresh_Click();
        QCOMPARE(during, Refreshing);
        QCOMPARE(stateOf(window), Idle);
        QCOMPARE(window.FG->TextMatrix(26, 3), QStringLiteral("1.67142"));
        QCOMPARE(window.lblDate2->text(), QStringLiteral("05.12.2026"));
        QCOMPARE(window.lblUSD->text(), QStringLiteral(" 1.671 ЛВ"));

        server.config().fault = sampleserver::Fault::Status;
        QString seen;
        {
            const WhenModalOpens boxOpened([&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                QVERIFY(box != nullptr && box->icon() == QMessageBox::NoIcon);
                QCOMPARE(box->buttons().size(), 1);
                during = stateOf(window);
                seen = box->windowTitle() + u'|' + box->text();
                box->button(QMessageBox::Ok)->click();
            });
            window.btnRefresh_Click();
        }
        QCOMPARE(seen,
                 QStringLiteral("Грешка|Нямя връзка с интернет\nили сайта на ЗВТ е недостъпен"));
        QCOMPARE(during, Refreshing);
        QCOMPARE(stateOf(window), Idle);
        QVERIFY(window.pagetext().isEmpty());
        QCOMPARE(window.lblUSD->text(), QStringLiteral(" 1.671 ЛВ"));
        QCOMPARE(window.FG->TextMatrix(1, 1), QStringLiteral("AUD"));
    }

    // A refresh asked for from code while one runs (a person cannot: the controls are off)
    // does nothing.
    void refreshDuringARefreshFetchesOnce() {
        Program app;
        sampleserver::Config config{samplePage()};
        config.delayMs = 300;
        SampleServer server(config);
        QVERIFY(server.listen());
        app.fetchFrom(server);
        QTimer::singleShot(0, &app.window, &app::frmMain::btnRefresh_Click);
        app.window.btnRefresh_Click();
        QCOMPARE(server.requestLines().size(), 1);
        QCOMPARE(stateOf(app.window), Idle);
        QCOMPARE(app.window.lblDate2->text(), QStringLiteral("05.12.2026"));
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

    void aboutMenuOpensTheAboutWindow() {
        Program app;
        app.window.show();
        QWidget* opened = nullptr;
        {
            const WhenModalOpens watch([&opened](QWidget* modal) {
                opened = modal;
                modal->hide(); // whichever window it is
            });
            app.window.mnuAbout->trigger();
        }
        QCOMPARE(opened, &app.window.About());
    }

    void refreshAtStartGoesThroughTheProxyBeforeLoadingEnds() {
        SampleServer proxy({samplePage()});
        QVERIFY(proxy.listenOnStorablePort());
        bool loadingAndShown = false;
        connect(&proxy, &SampleServer::requestSeen, this, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (const auto* main = qobject_cast<app::frmMain*>(top))
                    loadingAndShown = main->Loading() && main->isVisible();
            }
        });
        const Program app(proxyOptions(proxy, true));
        QVERIFY(loadingAndShown);
        QVERIFY(!app.window.Loading());
        QCOMPARE(proxy.requestLines(),
                 QByteArrayList{"GET " + QByteArray(rates::RateAddress) + " HTTP/1.1"});
        QCOMPARE(app.window.lblDate2->text(), QStringLiteral("05.12.2026"));
    }

    void noRefreshAtStartFetchesNothing() {
        SampleServer proxy({samplePage()});
        QVERIFY(proxy.listenOnStorablePort());
        Program app(proxyOptions(proxy, false));
        QTest::qWait(100);
        QVERIFY(proxy.requestLines().isEmpty());
        QCOMPARE(app.window.Inet1().Proxy(), QStringLiteral("127.0.0.1:%1").arg(proxy.port()));
    }

    // Each value label is read out as what it shows, with what it is as its description and
    // the caption beside it as its label. (The grid's cells: tst_mainlayout.)
    void screenReaderReadsTheValues() {
        Program app;
        app::frmMain& window = app.window;
        SampleServer server({samplePage()});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        QCOMPARE(accessibleName(window.lblDate2), QStringLiteral("-"));
        QCOMPARE(accessibleName(window.lblUSD), QStringLiteral("ЛВ"));
        window.btnRefresh_Click();
        QCOMPARE(accessibleName(window.lblDate2), QStringLiteral("05.12.2026"));
        QCOMPARE(accessibleName(window.lblUSD), QStringLiteral(" 1.671 ЛВ"));
        QAccessibleInterface* usd = QAccessible::queryAccessibleInterface(window.lblUSD);
        QCOMPARE(usd->text(QAccessible::Description),
                 QStringLiteral("Курс на щатския долар в лева"));
        const auto labelledBy = usd->relations(QAccessible::Label);
        QCOMPARE(labelledBy.size(), 1);
        QCOMPARE(labelledBy.first().first->text(QAccessible::Name), QStringLiteral("1 USD ="));
    }

    // Enter and Space on the focused button and F5 refresh, F5 only while the button is
    // enabled, and the button has the focus again after its refresh; Tab walks out of the grid;
    // Ctrl+C copies a range of the grid as tab-separated lines, and nothing when none is chosen.
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
        QTest::keyClick(window.btnRefresh, Qt::Key_Space);
        QCOMPARE(server.requestLines().size(), 2);
        QTest::keyClick(&window, Qt::Key_F5);
        QCOMPARE(server.requestLines().size(), 3);
        window.btnRefresh->setEnabled(false);
        QTest::keyClick(&window, Qt::Key_F5);
        QCOMPARE(server.requestLines().size(), 3);
        window.btnRefresh->setEnabled(true);

        // Tab leaves the grid for the button, Shift+Tab comes back.
        window.FG->setFocus();
        window.FG->setCurrentCell(29, 5);
        QTest::keyClick(window.FG, Qt::Key_Tab);
        QVERIFY(window.btnRefresh->hasFocus());
        QTest::keyClick(window.btnRefresh, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(window.FG->hasFocus());

        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        window.FG->clearSelection();
        QTest::keyClick(window.FG, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        window.FG->setRangeSelected(QTableWidgetSelectionRange(0, 1, 1, 3), true);
        QTest::keyClick(window.FG, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("AUD\t1\t1.10342\nCAD\t1\t1.20117\n"));
        // All of it: the 28 rows, without the rows the page leaves empty.
        QTest::keyClick(window.FG, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(window.FG, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
        QCOMPARE(lines.size(), 28 + 1);
        QVERIFY(lines.at(0).startsWith(QStringLiteral("Австралийски долар\tAUD\t1\t")));
        QVERIFY(lines.at(27).count(u'\t') == 5 && !lines.at(27).endsWith(u'\t'));
        QCOMPARE(lines.at(28), QString());

        // F10 opens the menu, as Alt does.
        QTest::keyClick(&window, Qt::Key_F10);
        QWidget* menu = QApplication::activePopupWidget();
        QVERIFY(menu != nullptr && menu->actions().contains(window.mnuOptions));
        menu->close();
    }

    // --help and --version answer on standard output, with no display; anything unknown is
    // refused with one line and status 2; none of them starts the window (which would write
    // options.opt). The toolkit's own options, with a value or without, start it.
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
        noDisplay.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
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
        QCOMPARE(run({QStringLiteral("--help")}), 0);
        const QString help = text(program.readAllStandardOutput());
        QVERIFY(help.contains(QStringLiteral("--version")));
        QVERIFY(help.contains(QStringLiteral(": kursove [")));
        QVERIFY2(help.section(u'\n', 0, 0).contains(QStringLiteral("Използване: kursove [опции]")),
                 qPrintable(help));
        QVERIFY(!help.contains(QStringLiteral("-reverse")));
        QCOMPARE(run({QStringLiteral("--help-all")}), 0);
        const QString helpAll = text(program.readAllStandardOutput());
        QVERIFY(helpAll.startsWith(help.section(u'\n', 0, 2)));
        for (const QString& line : helpAll.split(u'\n')) // a console's 80 columns
            QVERIFY2(QString(line).remove(u'\r').size() < 80, qPrintable(line));
        QVERIFY(helpAll.contains(QStringLiteral("-reverse")));
        QVERIFY(helpAll.contains(QStringLiteral("-style <стил>")));
        QCOMPARE(run({QStringLiteral("-v")}), 0);
        QCOMPARE(program.readAllStandardOutput().trimmed(), // CR LF on Windows
                 QByteArray("kursove ") + kursove::Version);

        const auto refused = [&](const QStringList& arguments, const QString& what) {
            if (run(arguments) != 2)
                return false;
            const QStringList lines =
                text(program.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
            return program.readAllStandardOutput().isEmpty() && lines.size() == 1 &&
                   lines.first().startsWith(QStringLiteral("kursove: ")) &&
                   lines.first().contains(what);
        };
        QVERIFY(refused({QStringLiteral("--bogus")}, QStringLiteral("bogus")));
        QVERIFY(refused({QStringLiteral("-reverse"), QStringLiteral("extra")},
                        QStringLiteral("неочакван аргумент „extra“")));
        QVERIFY(refused({QStringLiteral("-style")}, QStringLiteral("style“")));
        QVERIFY(!QFile::exists(QStringLiteral("options.opt")));

        program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        program.start(QStringLiteral(KURSOVE_BINARY),
                      {QStringLiteral("-testability"), QStringLiteral("-style"),
                       QStringLiteral("fusion"), QStringLiteral("-platform"),
                       QStringLiteral("offscreen")});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("options.opt")) ||
                                     program.state() == QProcess::NotRunning,
                                 60000);
        QCOMPARE(program.state(), QProcess::Running); // started, not refused
        program.kill();
        program.waitForFinished();
    }

    void closingTheWindowSavesAndEnds() {
        Program app;
        app.window.show();
        options::Options changed = app.window.Opt().record();
        changed.proxyHost = QStringLiteral("proxy.local");
        app.window.Opt().setRecord(changed);
        QVERIFY(app.window.close());
        QCOMPARE(app.toolkit.ends, 1);
        QCOMPARE(ScratchDir::read(), QByteArray("0\r\n0\r\n8080\r\n\"proxy.local\"\r\n"));
        app.window.mnuExit->trigger();
        QCOMPARE(app.toolkit.ends, 2);
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
